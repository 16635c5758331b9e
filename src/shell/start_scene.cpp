#include "shell/start_scene.h"

#include "scenes/logo_scene.h"
#include "app/game_app.h"
#include "shell/scene_factory.h"
#include "shell/start_fields.h"

namespace {

StartRequest g_request;

}  // namespace

void SetStartRequest(const StartRequest& request) {
    g_request = request;
}

bool KnownScene(const std::string& name) {
    return name == "Logo" || (SceneCodeOf(name) >= 0 && name != "Quit");
}

bool SetAppField(const std::string& name, int value) {
    const StartField* field = FindStartField(name);
    if (!field) return false;
    field->set(GameApp::Get(), value);
    return true;
}

SceneBase* CreateStartScene() {
    for (const auto& f : g_request.fields) SetAppField(f.first, f.second);
    if (g_request.make) return g_request.make();
    if (g_request.scene != "Logo" && KnownScene(g_request.scene))
        return MakeScene(SceneCodeOf(g_request.scene));
    return new LogoScene;
}
