#include "app/game_app.h"

#include <cstring>
#include <new>
#include <type_traits>

// The context starts as all zero bytes, which is only sound for a type that is copied byte by byte.
static_assert(std::is_trivially_copyable_v<GameApp>, "GameApp is reset with memset: keep its members plain");

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
