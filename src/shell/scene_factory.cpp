#include "shell/scene_factory.h"

#include "game/game_scene.h"
#include "scenes/chara_select_scene.h"
#include "scenes/game_clear_scene.h"
#include "scenes/help_scene.h"
#include "scenes/option_scene.h"
#include "scenes/title_scene.h"
#include "app/game_app.h"

namespace {

using Factory = SceneBase* (*)();

// The scenes by request code (Quit has none).
Factory FactoryFor(int code) {
    switch (code) {
        case kSceneTitle:
            return [] { return static_cast<SceneBase*>(new TitleScene); };
        case kSceneGame:
            return [] { return static_cast<SceneBase*>(new GameScene); };
        case kSceneOption:
            return [] { return static_cast<SceneBase*>(new OptionScene); };
        case kSceneCharaSelect:
            return [] { return static_cast<SceneBase*>(new CharaSelectScene); };
        case kSceneHelp:
            return [] { return static_cast<SceneBase*>(new HelpScene); };
        case kSceneGameClear:
            return [] { return static_cast<SceneBase*>(new GameClearScene); };
        default:
            return nullptr;
    }
}

}  // namespace

SceneBase* MakeScene(int code) {
    if (Factory f = FactoryFor(code)) return f();
    DestroyWindow(GameApp::Get().mainWindow);
    return nullptr;
}

void SwitchScene(int code) {
    GameApp& app = GameApp::Get();
    delete app.scene;
    app.scene = nullptr;
    app.scene = MakeScene(code);
}

int SceneCodeOf(const std::string& name) {
    static const char* names[] = {"Title", "Game", "Option", "CharaSelect", "Quit", "Help", "GameClear"};
    for (int i = 0; i < 7; ++i)
        if (name == names[i]) return i;
    return -1;
}
