#include "shell/start_scene.h"

#include "scenes/logo_scene.h"
#include "shell/game_app.h"
#include "shell/scene_factory.h"

namespace {

StartRequest g_request;

struct FieldRef {
    int* i = nullptr;
    std::int16_t* s = nullptr;
};

bool FieldByName(const std::string& name, FieldRef* ref) {
    GameApp& app = GameApp::Get();
    if (name == "gameMode") return ref->s = &app.gameMode, true;
    if (name == "arrivalRank") return ref->i = &app.arrivalRank, true;
    if (name == "elapsedClock") return ref->i = &app.elapsedClock, true;
    if (name == "resultCount") return ref->i = &app.resultCount, true;
    if (name == "totalScore") return ref->i = &app.totalScore, true;
    return false;
}

}  // namespace

void SetStartRequest(const StartRequest& request) {
    g_request = request;
}

bool KnownScene(const std::string& name) {
    return name == "Logo" || (SceneCodeOf(name) >= 0 && name != "Quit");
}

bool SceneAvailable(const std::string& name) {
    return name == "Logo" || (KnownScene(name) && HasScene(SceneCodeOf(name)));
}

bool KnownAppField(const std::string& name) {
    FieldRef ref;
    return FieldByName(name, &ref);
}

bool SetAppField(const std::string& name, int value) {
    FieldRef ref;
    if (!FieldByName(name, &ref)) return false;
    if (ref.i) *ref.i = value;
    if (ref.s) *ref.s = std::int16_t(value);
    return true;
}

SceneBase* CreateStartScene() {
    for (const auto& f : g_request.fields) SetAppField(f.first, f.second);
    if (g_request.make) return g_request.make();
    if (g_request.scene != "Logo" && SceneAvailable(g_request.scene))
        return MakeScene(SceneCodeOf(g_request.scene));
    return new LogoScene;
}
