// The heaviest frame of the game: the run with 26 passers-by on screen, several of them flying across
// the desktop, on a 1920x1080 screen with the software renderer. Measured: the update alone, and the
// update with both drawing passes and the screen put together as a player would see it.
#include "game/game_scene.h"
#include "game/random.h"
#include "platform/runtime.h"
#include "platform/desktop/screenshot.h"
#include "app/game_app.h"
#include "shell/start_scene.h"
#include "shell/win_main.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// Starts the program headless on a full-HD screen in the middle of a busy run.
GameScene* BusyRun() {
    platform::RuntimeOptions o;
    o.headless = true;
    o.screenWidth = 1920;
    o.screenHeight = 1080;
    o.hasSeed = true;
    o.seed = 11;
    std::string error;
    int code = 0;
    if (!platform::Start(o, &error, &code)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return nullptr;
    }
    StartRequest r;
    r.scene = "Game";
    SetStartRequest(r);
    if (!StartUp(GetModuleHandleA(nullptr), SW_SHOWDEFAULT)) return nullptr;
    // Past the count-in, running.
    for (int i = 0; i < 210; ++i) RunFrame();
    auto* g = dynamic_cast<GameScene*>(GameApp::Get().scene);
    if (!g) return nullptr;
    g->passerCount = 26;
    for (int i = 0; i < 26; ++i) {
        g->FreshPasser(i);
        DrawCharacter& p = g->passers[i];
        p.x = 20 + i * 23;
        if (i % 4 == 0) {
            // Knocked away: out of the window, over the desktop.
            p.flying = 1;
            p.pose = kPoseKnockedAway;
            p.x = -250 + i * 40;
            p.y = -120;
            p.vx = 0;
            p.vy = 0;
        }
    }
    return g;
}

void Reset(GameScene* g) {
    // Keep the scene busy: everyone back where the benchmark put them.
    for (int i = 0; i < 26; ++i) {
        DrawCharacter& p = g->passers[i];
        p.x = (i % 4 == 0) ? -250 + i * 40 : 20 + i * 23;
        if (i % 4 == 0) p.y = -120, p.vy = 0, p.vx = 0, p.flying = 1, p.pose = kPoseKnockedAway;
    }
    g->passerCount = 26;
}

void BM_HeaviestFrameUpdate(benchmark::State& state) {
    GameScene* g = BusyRun();
    if (!g) {
        state.SkipWithError("cannot start");
        return;
    }
    int n = 0;
    for (auto _ : state) {
        g->Update();
        if (++n % 50 == 0) Reset(g);
    }
    ShutDown();
    platform::Stop();
    GameApp::Reset();
}
BENCHMARK(BM_HeaviestFrameUpdate)->Unit(benchmark::kMicrosecond);

// Update, both drawing passes and the whole screen put together in memory. The argument chooses who
// draws the turned pictures (the figures' body parts): 0 the platform's own span drawing, 1 SDL's
// software triangles, so both run on the same frames side by side.
void BM_HeaviestFrameUpdateDrawAndShow(benchmark::State& state) {
    GameScene* g = BusyRun();
    if (!g) {
        state.SkipWithError("cannot start");
        return;
    }
    platform::DrawTurnedPicturesWithSdl(state.range(0) == 1);
    GameApp& app = GameApp::Get();
    int n = 0;
    for (auto _ : state) {
        g->Update();
        // Draw replaces the scene only when asked to; the benchmark keeps it running.
        g->nextScene = kSceneNone;
        g->Draw();
        RECT src{0, 0, 640, 480};
        app.graphics.device->Present(&src, nullptr, app.gameWindow, nullptr);
        platform::ComposeScreen();
        if (++n % 50 == 0) Reset(g);
    }
    platform::DrawTurnedPicturesWithSdl(false);
    state.SetLabel(state.range(0) == 1 ? "turned pictures by SDL" : "turned pictures by the platform");
    ShutDown();
    platform::Stop();
    GameApp::Reset();
}
BENCHMARK(BM_HeaviestFrameUpdateDrawAndShow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
