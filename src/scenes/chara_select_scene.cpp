#include "scenes/chara_select_scene.h"

#include "graphics/sprite_pass.h"
#include "app/game_app.h"
#include "app/input.h"
#include "graphics/texture_slots.h"

CharaSelectScene::CharaSelectScene() {
    nextScene = kSceneNone;
    Load();
}

CharaSelectScene::~CharaSelectScene() {
    ReleaseTextureSlots(1, 1);
}

void CharaSelectScene::Load() {
    LoadTextureSlot(1, "Texture/charaselect.png");
}

void CharaSelectScene::Update() {}

void CharaSelectScene::Input() {
    // The title check comes second, so joystick button 3 (which answers both) and Space held with
    // Escape end at the title.
    if (KeyDown(VK_SPACE) || JoyButtons() == 4) nextScene = kSceneHelp;
    if (KeyDown(VK_ESCAPE) || JoyButtons() == 4) nextScene = kSceneTitle;
}

void CharaSelectScene::Draw() {
    {
        SpritePass pass;
        if (pass.Open()) DrawSprite(1, 0, 0, 640, 480, 0.0f, 0.0f);
    }
    ChangeScene();
}

void CharaSelectScene::ChangeScene() {
    const int request = nextScene;
    if (request == kSceneTitle || request == kSceneHelp) SwitchScene(request);
}
