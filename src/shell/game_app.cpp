#include "shell/game_app.h"

#include <cstring>
#include <new>

GameApp::GameApp() {
    // Everything starts zero; the matrices are set by the main loop before any use.
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
    scene = nullptr;
}

GameApp& GameApp::Get() {
    static GameApp app;
    return app;
}

void GameApp::Reset() {
    GameApp& app = Get();
    app.~GameApp();
    new (&app) GameApp();
}
