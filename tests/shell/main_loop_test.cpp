// The main loop: frame protocol, scene switching, pacing, the close question and device loss.
#include "platform/desktop/desktop.h"
#include "platform/runtime.h"
#include "app/game_app.h"
#include "shell/win_main.h"
#include "support/game_run.h"
#include "support/png.h"

#include <string>
#include <vector>

namespace desktop = platform::desktop;

using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

std::vector<std::string> g_log;

// A scene that logs what happens to it and can ask to be replaced.
class ProbeScene : public SceneBase {
  public:
    explicit ProbeScene(std::string name, int requestAt = -1, unsigned workMs = 0)
        : name_(std::move(name)), requestAt_(requestAt), workMs_(workMs) {
        g_log.push_back(name_ + ".load");
        // A scene loads its pictures from slot 1 up: the slot must be free by now.
        LoadTextureSlot(1, "Texture/hari.png");
        loadedIntoEmptySlot = GameApp::Get().textures[1] != nullptr;
    }
    ~ProbeScene() override {
        g_log.push_back(name_ + ".destroy");
        ReleaseTextureSlots(1, 1);
    }
    void Input() override {
        ++frame;
        g_log.push_back(name_ + ".input" + std::to_string(frame));
        if (frame == requestAt_) nextScene = kSceneGame;
    }
    void Update() override {
        g_log.push_back(name_ + ".update" + std::string(nextScene == kSceneGame ? "*" : ""));
        if (workMs_) platform::AdvanceVirtualTime(workMs_);
    }
    void Draw() override {
        IDirect3DDevice9* d = GameApp::Get().graphics.device;
        if (SUCCEEDED(d->BeginScene())) {
            d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030, 1.0f, 0);
            d->EndScene();
        }
        ChangeScene();
    }
    void ChangeScene() override {
        if (nextScene != kSceneGame) return;
        GameApp& app = GameApp::Get();
        delete app.scene;
        app.scene = nullptr;
        app.scene = new ProbeScene("B");
    }
    int nextScene = kSceneNone;
    int frame = 0;
    bool loadedIntoEmptySlot = false;

  private:
    std::string name_;
    int requestAt_;
    unsigned workMs_;
};

int Count(const std::string& entry) {
    int n = 0;
    for (const auto& e : g_log) n += e == entry;
    return n;
}

}  // namespace

class SceneSwitching : public GameRunTest {
  protected:
    void SetUp() override { g_log.clear(); }
};

TEST_F(SceneSwitching, RequestActsAtTheEndOfTheSameFramesDraw) {
    RunSetup setup;
    setup.frames = 5;
    setup.make = [] { return new ProbeScene("A", 3); };
    RunGame(setup);
    const std::vector<std::string> expected = {"A.load",   "A.input1",  "A.update",  "A.input2", "A.update",
                                               "A.input3", "A.update*", "A.destroy", "B.load",   "B.input1",
                                               "B.update", "B.input2",  "B.update"};
    EXPECT_EQ(g_log, expected);
    auto* b = dynamic_cast<ProbeScene*>(GameApp::Get().scene);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->loadedIntoEmptySlot);
}

TEST_F(SceneSwitching, SceneStaysWithoutARequest) {
    RunSetup setup;
    setup.frames = 30;
    setup.make = [] { return new ProbeScene("A"); };
    RunGame(setup);
    EXPECT_EQ(Count("A.destroy"), 0);
    EXPECT_EQ(Count("A.update"), 30);
}

class FramePacing : public GameRunTest {};

TEST_F(FramePacing, SleepsTheRestOfSixteenMilliseconds) {
    struct Case {
        unsigned work;
        std::uint64_t sleptPerFrame;
    } cases[] = {{0, 16}, {10, 6}, {15, 1}, {16, 0}, {40, 0}};
    for (const Case& c : cases) {
        RunSetup setup;
        setup.frames = 20;
        setup.make = [&] { return new ProbeScene("A", -1, c.work); };
        RunGame(setup);
        EXPECT_EQ(platform::TotalSleptMs(), 20 * c.sleptPerFrame) << "work " << c.work << " ms";
        // Headless runs keep virtual time: 16 ms a frame when the work fits in it.
        if (c.work <= 16) {
            EXPECT_EQ(timeGetTime() - 0x10000, 20u * 16u);
        }
        testing_support::EndRun();
    }
}

class CloseQuestion : public GameRunTest {};

TEST_F(CloseQuestion, NoKeepsRunningYesEnds) {
    RunSetup setup;
    setup.frames = 40;
    setup.script = "10 CLOSE NO\n";
    RunGame(setup);
    EXPECT_EQ(platform::CurrentFrame(), 40);
    ASSERT_EQ(platform::MessageBoxes().size(), 1u);
    EXPECT_EQ(platform::MessageBoxes()[0].text, "終了しますか？");
    EXPECT_EQ(platform::MessageBoxes()[0].caption, "確認");
    EXPECT_EQ(platform::MessageBoxes()[0].type, unsigned(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(platform::MessageBoxes()[0].result, IDNO);
    EXPECT_TRUE(IsWindow(GameApp::Get().gameWindow));

    setup.script = "10 CLOSE YES\n";
    EXPECT_EQ(RunGame(setup), 0);
    EXPECT_EQ(platform::CurrentFrame(), 10);
    // The close went to the game window, and its destruction ended the program.
    EXPECT_FALSE(IsWindow(GameApp::Get().gameWindow));
}

TEST_F(CloseQuestion, UnansweredBoxTakesNo) {
    RunSetup setup;
    setup.frames = 20;
    setup.script = "5 CLOSE\n";
    RunGame(setup);
    EXPECT_EQ(platform::CurrentFrame(), 20);
    ASSERT_EQ(platform::MessageBoxes().size(), 1u);
    EXPECT_EQ(platform::MessageBoxes()[0].result, IDNO);
}

TEST_F(CloseQuestion, DestroyingAnyWindowEndsTheLoop) {
    struct Destroyer : ProbeScene {
        Destroyer() : ProbeScene("D") {}
        void Update() override {
            if (frame == 4) DestroyWindow(GameApp::Get().frameWindow);
        }
    };
    RunSetup setup;
    setup.frames = 50;
    setup.make = [] { return new Destroyer; };
    RunGame(setup);
    EXPECT_EQ(platform::CurrentFrame(), 4);
}

class DeviceLoss : public GameRunTest {};

TEST_F(DeviceLoss, ResetBringsBackSpriteFontAndStates) {
    struct Resetter : ProbeScene {
        Resetter() : ProbeScene("R") {}
        void Update() override {
            GameApp& app = GameApp::Get();
            if (frame == 3) {
                oldSprite = app.graphics.sprite;
                desktop::SimulateDeviceReset();
            }
            if (frame > 3 && app.graphics.sprite != oldSprite && !spriteRenewedAt) {
                spriteRenewedAt = frame;
                app.graphics.device->GetRenderState(D3DRS_SRCBLEND, &srcBlend);
                app.graphics.device->GetRenderState(D3DRS_CULLMODE, &cull);
                hasFont = app.graphics.font != nullptr;
            }
        }
        ID3DXSprite* oldSprite = nullptr;
        int spriteRenewedAt = 0;
        DWORD srcBlend = 0, cull = 0;
        bool hasFont = false;
    };
    RunSetup setup;
    setup.frames = 8;
    setup.make = [] { return new Resetter; };
    RunGame(setup);
    auto* r = dynamic_cast<Resetter*>(GameApp::Get().scene);
    ASSERT_NE(r, nullptr);
    // The reset is seen at the next Present; the frame after it runs on a renewed device.
    EXPECT_EQ(r->spriteRenewedAt, 5);
    EXPECT_EQ(r->frame, 8);
    EXPECT_EQ(r->srcBlend, DWORD(D3DBLEND_SRCALPHA));
    EXPECT_EQ(r->cull, DWORD(D3DCULL_CCW));
    EXPECT_TRUE(r->hasFont);
}

TEST_F(DeviceLoss, AMinimizedWindowKeepsTheGameRunning) {
    // Minimized from frame 2 to frame 6: every frame still runs, and the device is never lost.
    struct Minimizer : ProbeScene {
        Minimizer() : ProbeScene("M") {}
        void Update() override {
            if (frame == 2 || frame == 6) desktop::SimulateMinimized(frame == 2);
            if (frame > 2 && frame <= 6 && desktop::Minimized()) ++framesWhileMinimized;
            if (GameApp::Get().graphics.deviceLost) lost = true;
            if (frame == 4) cooperative = GameApp::Get().graphics.device->TestCooperativeLevel();
        }
        HRESULT cooperative = E_FAIL;
        int framesWhileMinimized = 0;
        bool lost = false;
    };
    RunSetup setup;
    setup.frames = 10;
    setup.make = [] { return new Minimizer; };
    RunGame(setup);
    auto* m = dynamic_cast<Minimizer*>(GameApp::Get().scene);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->frame, 10);
    EXPECT_EQ(m->framesWhileMinimized, 4);
    EXPECT_FALSE(m->lost);
    EXPECT_EQ(m->cooperative, D3D_OK);
}

TEST_F(DeviceLoss, RecoverWaitsWhileTheDisplayIsAway) {
    RunSetup setup;
    setup.frames = 1;
    RunGame(setup);
    // The run has shut down; bring a device up again on a fresh window.
    GraphicsDevice& g = GameApp::Get().graphics;
    HWND w =
        CreateWindowExA(0, "Window", "probe", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(g.Init(w, 640, 480, D3DFMT_X8R8G8B8, 0));
    desktop::SimulateDisplayAway(true);
    EXPECT_EQ(g.device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(g.Recover(), 1);
    EXPECT_EQ(g.Recover(), 1);
    desktop::SimulateDisplayAway(false);
    EXPECT_EQ(g.Recover(), 0);
    EXPECT_EQ(g.device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

namespace {
int g_framesNotReady = 0;
}

TEST_F(DeviceLoss, LostRenderTargetsAloneAreNoDeviceLoss) {
    // SDL's render targets going (as Direct3D under Wine reports around a message box) takes nothing
    // of the game's: the device stays usable, and the game need not rebuild anything.
    struct Watcher : ProbeScene {
        Watcher() : ProbeScene("W") {}
        void Update() override {
            if (frame == 2) {
                SDL_Event e{};
                e.type = SDL_RENDER_TARGETS_RESET;
                SDL_PushEvent(&e);
            }
            if (frame > 2 && GameApp::Get().graphics.device->TestCooperativeLevel() != D3D_OK)
                ++g_framesNotReady;
        }
    };
    g_framesNotReady = 0;
    RunSetup setup;
    setup.frames = 6;
    setup.make = [] { return new Watcher; };
    RunGame(setup);
    EXPECT_EQ(platform::CurrentFrame(), 6);
    EXPECT_EQ(g_framesNotReady, 0);
}

TEST_F(DeviceLoss, PicturesStillDrawAfterAReset) {
    // Draws its slot-1 picture (the 3 x 80 red hand) at the window's corner every frame.
    struct Painter : ProbeScene {
        Painter() : ProbeScene("P") {}
        void Update() override {
            if (frame == 2) desktop::SimulateDeviceReset();
        }
        void Draw() override {
            GameApp& app = GameApp::Get();
            IDirect3DDevice9* d = app.graphics.device;
            if (SUCCEEDED(d->BeginScene())) {
                d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
                if (SUCCEEDED(app.graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND))) {
                    D3DXMATRIX m;
                    app.graphics.sprite->SetTransform(D3DXMatrixIdentity(&m));
                    RECT r{0, 0, 3, 80};
                    app.graphics.sprite->Draw(app.textures[1], &r, nullptr, nullptr, 0xFFFFFFFF);
                    app.graphics.sprite->End();
                }
                d->EndScene();
            }
        }
    };
    RunSetup setup;
    setup.frames = 6;
    setup.make = [] { return new Painter; };
    const std::string shot = testing_support::TempPath("after-reset.png");
    setup.screenshots = {{6, shot}};
    RunGame(setup);
    EXPECT_EQ(testing_support::PixelAt(shot, 300 + 1, 150 + 10), 0xFFFF0000u);
    EXPECT_EQ(testing_support::PixelAt(shot, 300 + 5, 150 + 10), 0xFF000000u);
}
