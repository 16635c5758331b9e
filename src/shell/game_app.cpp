#include "shell/game_app.h"

#include <cstring>

GameApp::GameApp() {
    // Everything starts zero; the matrices are set by the main loop before any use.
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
    scene = nullptr;
}

GameApp& GameApp::Get() {
    static GameApp app;
    return app;
}
