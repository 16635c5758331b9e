// Drawing the run: the desktop around the game window and the game window itself, on pixels of
// headless screenshots and on the sprite's record of what it drew.
#include "game/game_scene.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/screenshot.h"
#include "app/game_app.h"
#include "shell/start_scene.h"
#include "shell/win_main.h"
#include "support/game_run.h"
#include "support/png.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

namespace sdl = platform::sdl;

namespace desktop = platform::desktop;

using testing_support::PixelAt;
using testing_support::RunGame;
using testing_support::RunSetup;
using testing_support::TempPath;
using testing_support::WritePicture;

namespace {

// Plain colours that nothing else on the screen uses, so that a pixel tells who drew it.
constexpr Uint32 kPasserColour = 0xFFFF00FF;   // every part of the first look of passers-by
constexpr Uint32 kRunnerColour = 0xFF00FFFF;   // every part of the runner
constexpr Uint32 kHandColour = 0xFFFFFF00;     // the hands of the special move
constexpr Uint32 kDustboxColour = 0xFFFF8000;  // the dust box
constexpr Uint32 kMinimapColour = 0xFF0000FF;  // the minimap
constexpr Uint32 kPinColour = 0xFFFF0000;      // the runner's pin on the minimap
constexpr Uint32 kDigitColour = 0xFF00C000;    // the clock's digits in time
constexpr Uint32 kLateColour = 0xFFC00000;     // the clock's digits after the deadline
constexpr Uint32 kReadyColour = 0xFF804000;    // the count-in signs

// A picture of w x h in one colour with a block of another colour.
void WriteBlockPicture(const std::string& file, int w, int h, Uint32 back, SDL_Rect block, Uint32 colour) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(s, nullptr, back);
    SDL_FillRect(s, &block, colour);
    IMG_SavePNG(s, file.c_str());
    SDL_FreeSurface(s);
}

// The game's own pictures, with the runner, the passers-by and a few things of the desktop and the
// clock repainted in plain colours.
const std::string& DrawingDataDir() {
    static std::string dir;
    if (!dir.empty()) return dir;
    dir = TempPath("drawing-data");
    testing_support::MakeDir(dir);
    const std::string t = dir + "/Texture/";
    testing_support::MakeDir(t);
    const std::string source = std::string(RUSHMORA_SOURCE_DATA_DIR) + "/Texture/";
    // The game's own pictures, linked where the system allows it and copied where it does not.
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(source, error)) {
        const std::filesystem::path from = entry.path();
        if (from.extension() != ".png") continue;
        const std::filesystem::path to = t + from.filename().string();
        std::filesystem::create_symlink(from, to, error);
        if (error) std::filesystem::copy_file(from, to, error);
    }
    auto write = [&](const std::string& name, int w, int h, Uint32 argb) {
        std::remove((t + name).c_str());
        WritePicture(t + name, w, h, argb);
    };
    const char* parts[7] = {"atama", "karada", "ude1", "ude2", "asi1", "asi2", "kosi"};
    const int sizes[7][2] = {{64, 64}, {50, 81}, {24, 40}, {24, 40}, {30, 45}, {30, 45}, {70, 35}};
    for (int k = 0; k < 7; ++k) {
        write(std::string(parts[k]) + ".png", sizes[k][0], sizes[k][1], kRunnerColour);
        write(std::string("t1_") + parts[k] + ".png", sizes[k][0], sizes[k][1], kPasserColour);
    }
    write("atama2.png", 64, 64, kRunnerColour);
    write("atama3.png", 64, 64, kRunnerColour);
    // The hand keeps left of x 430 of its picture, so that pulled back it is out of sight.
    std::remove((t + "te.png").c_str());
    WriteBlockPicture(t + "te.png", 512, 512, 0x00000000, SDL_Rect{0, 0, 430, 512}, kHandColour);
    write("dustbox.png", 128, 137, kDustboxColour);
    write("minimap.png", 640, 64, kMinimapColour);
    std::remove((t + "minicha.png").c_str());
    WriteBlockPicture(t + "minicha.png", 640, 64, 0x00000000, SDL_Rect{0, 0, 4, 64}, kPinColour);
    write("suuji2.png", 170, 32, kDigitColour);
    write("suuji.png", 170, 32, kLateColour);
    write("ready.png", 200, 100, kReadyColour);
    return dir;
}

GameScene* Game() {
    return dynamic_cast<GameScene*>(GameApp::Get().scene);
}

// Draws the scene as it stands, shows the game window's part as the main loop does and returns a
// picture of the whole screen.
std::string Shot(GameScene* g, const std::string& name) {
    g->Draw();
    RECT src;
    SetRect(&src, 0, 0, 640, 480);
    GameApp::Get().graphics.device->Present(&src, nullptr, GameApp::Get().gameWindow, nullptr);
    const std::string file = TempPath(name);
    EXPECT_TRUE(platform::SaveScreenPng(file));
    return file;
}

// What the scene draws as it stands, sprite by sprite, both passes.
std::vector<SpriteDrawRecord> Drawn(GameScene* g) {
    std::vector<SpriteDrawRecord> log;
    GameApp::Get().graphics.sprite->SetLog(&log);
    g->Draw();
    GameApp::Get().graphics.sprite->SetLog(nullptr);
    return log;
}

int SlotOf(const IDirect3DTexture9* texture) {
    for (int i = 0; i < 100; ++i)
        if (GameApp::Get().textures[i] == texture) return i;
    return -1;
}

// The two passes of one drawing: the game-window pass starts with the sky, which the desktop pass
// never draws.
std::vector<SpriteDrawRecord> GameWindowPass(const std::vector<SpriteDrawRecord>& log) {
    auto sky = std::find_if(log.begin(), log.end(),
                            [](const SpriteDrawRecord& r) { return SlotOf(r.texture) == 2; });
    return std::vector<SpriteDrawRecord>(sky, log.end());
}
std::vector<SpriteDrawRecord> DesktopPass(const std::vector<SpriteDrawRecord>& log) {
    auto sky = std::find_if(log.begin(), log.end(),
                            [](const SpriteDrawRecord& r) { return SlotOf(r.texture) == 2; });
    return std::vector<SpriteDrawRecord>(log.begin(), sky);
}

// Pixels of one colour inside a rectangle of a screenshot.
int CountColour(const std::string& png, int left, int top, int right, int bottom, Uint32 argb) {
    const sdl::SurfacePtr s = testing_support::ReadPng(png);
    if (!s) return -1;
    int n = 0;
    for (int y = std::max(0, top); y < std::min(bottom, s->h); ++y)
        for (int x = std::max(0, left); x < std::min(right, s->w); ++x)
            if (testing_support::PixelOf(s.get(), x, y) == argb) ++n;
    return n;
}

// The first x of a row of a screenshot in one colour, -1 if there is none.
int FirstInRow(const std::string& png, int y, Uint32 argb) {
    const sdl::SurfacePtr s = testing_support::ReadPng(png);
    if (!s) return -2;
    for (int x = 0; x < s->w; ++x)
        if (testing_support::PixelOf(s.get(), x, y) == argb) return x;
    return -1;
}

// The game window's client area on the headless screen.
constexpr int kWindowX = 300, kWindowY = 150;

// A passer-by in the air at game-window (x, y), far above its ground line.
void Airborne(GameScene* g, int i, int x, int y) {
    DrawCharacter& p = g->passers[i];
    p.x = x;
    p.y = y;
    p.groundY = 300;
    p.pose = kPoseKnockedAway;
    p.frame = 4;
    p.flying = 1;
    p.scale = 1.0f;
    for (int k = 0; k < 7; ++k) p.partSlots[k] = 30 + k;
}

}  // namespace

// The program started headless on the pictures above and kept running between frames, so that a test
// can set the scene up by hand and draw it as it stands.
class DrawingTest : public ::testing::Test {
  protected:
    void TearDown() override {
        Stop();
        testing_support::EndRun();
    }

    // A game scene after its first frames.
    GameScene* FirstFrame(long frames = 1) {
        testing_support::EndRun();
        Stop();
        platform::RuntimeOptions o;
        o.headless = true;
        o.hasSeed = true;
        o.seed = 3;
        o.dataDir = DrawingDataDir();
        std::string error;
        int code = 0;
        if (!platform::Start(o, &error, &code)) {
            ADD_FAILURE() << error;
            return nullptr;
        }
        live_ = true;
        StartRequest r;
        r.scene = "Game";
        SetStartRequest(r);
        if (!StartUp(GetModuleHandleA(nullptr), SW_SHOWDEFAULT)) {
            ADD_FAILURE() << "no start";
            return nullptr;
        }
        for (long i = 0; i < frames; ++i) RunFrame();
        return Game();
    }

    // A whole headless run of the program, with a scene of the test's making.
    void Run(RunSetup setup) {
        Stop();
        setup.scene = "Game";
        setup.seed = 3;
        setup.dataDir = DrawingDataDir();
        RunGame(setup);
    }

  private:
    void Stop() {
        if (!live_) return;
        GameApp& app = GameApp::Get();
        delete app.scene;
        app.scene = nullptr;
        ShutDown();
        platform::Stop();
        GameApp::Reset();
        SetStartRequest(StartRequest{});
        live_ = false;
    }
    bool live_ = false;
};

class DrawingDesktop : public DrawingTest {};

TEST_F(DrawingDesktop, AKnockedAwayPasserFliesOnAcrossTheDesktop) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->windowOrigin.x, kWindowX);
    ASSERT_EQ(g->windowOrigin.y, kWindowY);
    // Far right of the window, where only the desktop can show it.
    g->passerCount = 2;
    Airborne(g, 0, 800, 60);
    g->passers[1].x = 2000;
    const std::string flying = Shot(g, "flying.png");
    const int sx = kWindowX + 800, sy = kWindowY + 60;
    const int near = CountColour(flying, sx - 120, sy - 120, sx + 200, sy + 250, kPasserColour);
    EXPECT_GT(near, 500);
    EXPECT_EQ(CountColour(flying, 0, 0, 1280, 720, kPasserColour), near)
        << "drawn at its screen position only";

    // Once it has landed it belongs to the street again: outside the window nobody sees it.
    g->passers[0].flying = 0;
    g->passers[0].pose = kPoseWalk;
    EXPECT_EQ(CountColour(Shot(g, "landed.png"), 0, 0, 1280, 720, kPasserColour), 0);

    // A window shaken to the right takes the flight with it.
    g->passers[0].flying = 2;
    g->passers[0].pose = kPoseKnockedAway;
    g->shakeX = 20;
    g->shakeY = -10;
    const std::string shaken = Shot(g, "flying-shaken.png");
    EXPECT_EQ(CountColour(shaken, sx - 120 + 20, sy - 120 - 10, sx + 200 + 20, sy + 250 - 10, kPasserColour),
              near);
    EXPECT_EQ(g->passers[0].x, 800) << "the figure keeps its own position";
    EXPECT_EQ(g->passers[0].y, 60);
}

TEST_F(DrawingDesktop, APasserInsideTheWindowIsAlsoDrawnThereWhileFlying) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    g->passerCount = 1;
    g->drawOrder[0] = 0;
    Airborne(g, 0, 300, 150);
    std::vector<SpriteDrawRecord> log = Drawn(g);
    auto passerDraws = [](const std::vector<SpriteDrawRecord>& pass) {
        return std::count_if(pass.begin(), pass.end(), [](const SpriteDrawRecord& r) {
            const int s = SlotOf(r.texture);
            return s >= 30 && s <= 36;
        });
    };
    // Eleven sprites of the figure in each pass: once at its screen position, once in the window.
    EXPECT_EQ(passerDraws(DesktopPass(log)), 11);
    EXPECT_EQ(passerDraws(GameWindowPass(log)), 11);
}

TEST_F(DrawingDesktop, AKickedDustboxFliesOverTheDesktop) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    g->sceneryX[4] = 820;
    g->dustboxY = 90;
    const std::string atRest = Shot(g, "dustbox-rest.png");
    EXPECT_EQ(CountColour(atRest, 0, 0, 1280, 720, kDustboxColour), 0);
    g->dustboxKicked = 1;
    const std::string kicked = Shot(g, "dustbox-kicked.png");
    // The whole 128 x 137 cut, at the box's place in the window moved by the window's origin.
    EXPECT_EQ(PixelAt(kicked, kWindowX + 820 + 1, kWindowY + 90 + 1), kDustboxColour);
    EXPECT_EQ(PixelAt(kicked, kWindowX + 820 + 126, kWindowY + 90 + 135), kDustboxColour);
    EXPECT_NE(PixelAt(kicked, kWindowX + 820 + 130, kWindowY + 90 + 60), kDustboxColour);
    EXPECT_NE(PixelAt(kicked, kWindowX + 820 - 2, kWindowY + 90 + 60), kDustboxColour);
}

TEST_F(DrawingDesktop, TheHandsReachInFromBothEdgesAndTheRunnerVanishes) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    const std::string before = Shot(g, "no-special.png");
    EXPECT_EQ(CountColour(before, 0, 0, 1280, 720, kHandColour), 0);
    EXPECT_GT(CountColour(before, kWindowX, kWindowY, kWindowX + 640, kWindowY + 480, kRunnerColour), 500);

    g->specialTimer = 120;
    g->player.pose = kPoseSpecial;
    g->handOffset = 0;
    const std::string in = Shot(g, "hands-in.png");
    // Left of the window the left hand, right of it the mirrored right one; both twice their size.
    EXPECT_EQ(PixelAt(in, 100, 400), kHandColour);
    EXPECT_EQ(PixelAt(in, 1200, 400), kHandColour);
    EXPECT_NE(PixelAt(in, 100, 2), kHandColour) << "the hands hang from y 3";
    EXPECT_EQ(PixelAt(in, 100, 3), kHandColour);
    EXPECT_EQ(CountColour(in, kWindowX, kWindowY, kWindowX + 640, kWindowY + 480, kRunnerColour), 0);

    // Pulled back by 600 they are out of sight on this screen.
    g->handOffset = 600;
    const std::string out = Shot(g, "hands-out.png");
    EXPECT_EQ(CountColour(out, 0, 0, 1280, 720, kHandColour), 0);
}

TEST_F(DrawingDesktop, TheMinimapPinTravels560PixelsFromStartToGoal) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    const int row = kWindowY - 70;  // inside both the minimap and the pin, above the frame's caption
    auto firstPin = [&](const std::string& png) { return FirstInRow(png, row, kPinColour); };
    auto firstMap = [&](const std::string& png) { return FirstInRow(png, row, kMinimapColour); };
    g->distance = 32300;
    const std::string goal = Shot(g, "minimap-goal.png");
    EXPECT_EQ(firstMap(goal), kWindowX);
    EXPECT_EQ(firstPin(goal) - firstMap(goal), 585);
    g->distance = 100;
    EXPECT_EQ(firstPin(Shot(g, "minimap-start.png")) - kWindowX, 26);
    g->distance = 16150;
    EXPECT_EQ(firstPin(Shot(g, "minimap-half.png")) - kWindowX, 305);

    // A request the run does not act on keeps the minimap; once the scene is on its way to the
    // result there is none.
    g->nextScene = 5;
    EXPECT_EQ(firstMap(Shot(g, "minimap-stay.png")), kWindowX);
    g->nextScene = kSceneGameClear;
    g->DrawDesktop();
    ASSERT_TRUE(platform::SaveScreenPng(TempPath("minimap-leaving.png")));
    EXPECT_EQ(firstMap(TempPath("minimap-leaving.png")), -1);
    EXPECT_EQ(firstPin(TempPath("minimap-leaving.png")), -1);
    g->nextScene = kSceneNone;
}

TEST_F(DrawingDesktop, APasserHittingTheScreenEdgeShakesTheDesktopForTwentyFrames) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    g->desktopShake = 1;
    int moved = 0;
    for (int frame = 1; frame <= 25; ++frame) {
        std::vector<SpriteDrawRecord> desk = DesktopPass(Drawn(g));
        ASSERT_FALSE(desk.empty());
        ASSERT_EQ(SlotOf(desk[0].texture), 0) << "the desktop picture comes first";
        const float dx = desk[0].transform._41, dy = desk[0].transform._42;
        if (frame <= 20) {
            EXPECT_GE(dx, -50.0f);
            EXPECT_LE(dx, 49.0f);
            EXPECT_GE(dy, -40.0f);
            EXPECT_LE(dy, 39.0f);
            if (dx != 0.0f || dy != 0.0f) ++moved;
        } else {
            EXPECT_EQ(dx, 0.0f) << frame;
            EXPECT_EQ(dy, 0.0f) << frame;
        }
        EXPECT_EQ(g->desktopShake, frame < 20 ? frame + 1 : 0) << frame;
    }
    EXPECT_GE(moved, 15);
}

class DrawingGameWindow : public DrawingTest {};

TEST_F(DrawingGameWindow, LayersComeInTheirOrder) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    g->passerCount = 2;
    for (int i = 0; i < 2; ++i) {
        g->passers[i].x = 200 + 150 * i;
        g->passers[i].y = g->passers[i].groundY = 250 + 40 * i;
        g->passers[i].scale = 1.0f;
        g->passers[i].pose = kPoseWalk;
        g->passers[i].frame = 5;
        for (int k = 0; k < 7; ++k) g->passers[i].partSlots[k] = 30 + k;
        g->drawOrder[i] = i;
    }
    GameApp::Get().arrivalRank = 1;  // the late stamp shows too
    g->fadeAlpha = 40;
    std::vector<SpriteDrawRecord> pass = GameWindowPass(Drawn(g));
    ASSERT_FALSE(pass.empty());
    // Each layer by the slots it draws from, back to front.
    const std::vector<std::vector<int>> layers = {
        {2},                                                  // sky
        {68},                                                 // clouds
        {4},                                                  // sidewalk
        {18, 19, 20, 21, 22, 13, 14, 16, 17},                 // street objects
        {26},                                                 // the station
        {1},                                                  // count-in
        {27},                                                 // gauge
        {55},                                                 // item window
        {54, 53, 44},                                         // clock
        {63},                                                 // station board
        {23},                                                 // shadows
        {30, 31, 32, 33, 34, 35, 36, 5, 6, 7, 8, 9, 11, 12},  // figures
        {71},                                                 // arrow
        {67},                                                 // late stamp
        {66},                                                 // white-out
    };
    auto layerOf = [&](int slot) {
        for (size_t k = 0; k < layers.size(); ++k)
            if (std::find(layers[k].begin(), layers[k].end(), slot) != layers[k].end()) return int(k);
        return -1;
    };
    int last = 0;
    std::vector<bool> seen(layers.size(), false);
    for (const SpriteDrawRecord& r : pass) {
        if (SlotOf(r.texture) == 56) continue;  // the bag shows in the item window and in the runner's hand
        const int layer = layerOf(SlotOf(r.texture));
        ASSERT_GE(layer, 0) << "slot " << SlotOf(r.texture);
        EXPECT_GE(layer, last) << "slot " << SlotOf(r.texture) << " after layer " << last;
        last = std::max(last, layer);
        seen[size_t(layer)] = true;
    }
    for (size_t k = 0; k < layers.size(); ++k) EXPECT_TRUE(seen[k]) << "layer " << k;
    // The white-out is the last thing drawn, in its own alpha.
    EXPECT_EQ(pass.back().color, 0x28FFFFFFu);
    // Street objects far to near, the dust box last of them.
    std::vector<int> street;
    for (const SpriteDrawRecord& r : pass)
        if (layerOf(SlotOf(r.texture)) == 3) street.push_back(SlotOf(r.texture));
    EXPECT_EQ(street, (std::vector<int>{18, 19, 20, 21, 22, 13, 14, 16, 17}));
}

TEST_F(DrawingGameWindow, ThePasserOnTheRunnersLineIsBehindHimAndANearerOneInFront) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    g->passerCount = 3;
    const int lines[3] = {g->player.groundY + 10, g->player.groundY, g->player.groundY - 10};
    for (int i = 0; i < 3; ++i) {
        g->passers[i].x = 150;
        g->passers[i].y = g->passers[i].groundY = lines[i];
        g->passers[i].scale = 1.0f;
        g->passers[i].pose = kPoseWalk;
        g->passers[i].frame = 5;
        for (int k = 0; k < 7; ++k) g->passers[i].partSlots[k] = 30 + k;
    }
    // Farthest first.
    g->drawOrder[0] = 2;
    g->drawOrder[1] = 1;
    g->drawOrder[2] = 0;
    std::vector<int> bodies;  // which figure each body sprite belongs to, in drawing order
    for (const SpriteDrawRecord& r : GameWindowPass(Drawn(g))) {
        const int s = SlotOf(r.texture);
        if (s != 31 && s != 6) continue;
        bodies.push_back(s == 6 ? -1 : int(r.transform._42 + 0.5f));
    }
    ASSERT_EQ(bodies.size(), 4u);
    EXPECT_EQ(bodies[2], -1) << "the runner after the two passers-by at his line or farther";
    EXPECT_LT(bodies[0], bodies[1]);
    EXPECT_GT(bodies[3], bodies[1]);
}

TEST_F(DrawingGameWindow, TheClockDigitsSwitchStripsOnlyAfterTheDeadline) {
    // The hours digit at (525, 20) and the colon at (540, 20) of the window.
    const int hx = kWindowX + 530, cx = kWindowX + 547, y = kWindowY + 30;
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    g->clock = 480000;  // 8:00 sharp is not late yet
    g->lateDigits = 0;
    std::string shot = Shot(g, "clock-800.png");
    EXPECT_EQ(PixelAt(shot, hx, y), kDigitColour);
    EXPECT_EQ(PixelAt(shot, cx, y), kDigitColour);

    // Through the run: a clock one unit past 8:00 comes out of the first frame in the late strip.
    RunSetup setup;
    setup.frames = 1;
    setup.make = [] {
        auto* s = new GameScene;
        s->clock = 480001;
        return static_cast<SceneBase*>(s);
    };
    setup.screenshots = {{1, TempPath("clock-late.png")}};
    Run(setup);
    ASSERT_NE(Game(), nullptr);
    EXPECT_EQ(Game()->lateDigits, 1);
    EXPECT_EQ(PixelAt(TempPath("clock-late.png"), hx, y), kLateColour);
    EXPECT_EQ(PixelAt(TempPath("clock-late.png"), cx, y), kDigitColour) << "the colon keeps the first strip";
}

TEST_F(DrawingGameWindow, TheClockReadsHoursAndTensAndUnitsOfMinutes) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    g->clock = 457999;  // 7:37.999
    std::vector<int> digits;
    for (const SpriteDrawRecord& r : GameWindowPass(Drawn(g)))
        if (SlotOf(r.texture) == 44 && r.rect.left != 155) digits.push_back((r.rect.left - 2) / 15);
    EXPECT_EQ(digits, (std::vector<int>{7, 3, 7}));
}

TEST_F(DrawingGameWindow, TheCountInBlinksThenSaysGo) {
    RunSetup setup;
    setup.frames = 230;
    for (long f : {10L, 29L, 30L, 45L, 60L, 179L, 180L, 219L, 220L})
        setup.screenshots.push_back({f, TempPath("ready-" + std::to_string(f) + ".png")});
    Run(setup);
    auto sign = [](long f) {
        return PixelAt(TempPath("ready-" + std::to_string(f) + ".png"), kWindowX + 300, kWindowY + 220);
    };
    EXPECT_EQ(sign(10), kReadyColour);
    EXPECT_EQ(sign(29), kReadyColour);
    EXPECT_NE(sign(30), kReadyColour);
    EXPECT_NE(sign(45), kReadyColour);
    EXPECT_EQ(sign(60), kReadyColour);
    EXPECT_NE(sign(179), kReadyColour);
    EXPECT_EQ(sign(180), kReadyColour);  // the second sign
    EXPECT_EQ(sign(219), kReadyColour);
    EXPECT_NE(sign(220), kReadyColour);
}

TEST_F(DrawingGameWindow, AFullGaugeFlashesEveryTwentyFiveFramesAndAUsedOneShowsItsPlate) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    auto bar = [&]() {
        std::vector<SpriteDrawRecord> gauge;
        for (const SpriteDrawRecord& r : GameWindowPass(Drawn(g)))
            if (SlotOf(r.texture) == 27) gauge.push_back(r);
        EXPECT_EQ(gauge.size(), 3u);
        return gauge.empty() ? RECT{} : gauge.back().rect;
    };
    g->gauge = 50;
    g->gaugeBar = 100;
    RECT r = bar();
    EXPECT_EQ(r.right - r.left, 100) << "the bar is as wide as it has grown";
    const int plain = r.top;
    g->gauge = 96;
    g->gaugeBar = 192;
    g->runFrames = 301;
    const int first = bar().top;
    g->runFrames = 325;
    const int second = bar().top;
    g->runFrames = 348;
    EXPECT_EQ(bar().top, second);
    EXPECT_NE(first, second);
    EXPECT_NE(first, plain);
    EXPECT_EQ(second - first, 30);
    g->gauge = -1;
    r = bar();
    EXPECT_EQ(r.right - r.left, 202) << "the used plate instead of any bar";
}

TEST_F(DrawingGameWindow, ALegEndingDuringTheSpecialMoveDrawsNoRunnerInItsLastFrame) {
    RunSetup setup;
    setup.frames = 1;
    setup.make = [] {
        auto* s = new GameScene;
        s->specialTimer = 120;
        s->player.pose = kPoseSpecial;
        s->nextScene = kSceneTitle;  // the leg ends in this frame: the update clears the timer
        return static_cast<SceneBase*>(s);
    };
    setup.screenshots = {{1, TempPath("special-end.png")}};
    Run(setup);
    EXPECT_EQ(Game(), nullptr) << "the title has followed";
    EXPECT_EQ(CountColour(TempPath("special-end.png"), kWindowX, kWindowY, kWindowX + 640, kWindowY + 480,
                          kRunnerColour),
              0);
}

TEST_F(DrawingGameWindow, ALostDeviceAtTheDesktopPresentIsReported) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    GameApp& app = GameApp::Get();
    ASSERT_EQ(app.graphics.deviceLost, 0);
    desktop::SimulateDisplayAway(true);
    g->Draw();
    EXPECT_EQ(app.graphics.deviceLost, 1);
    desktop::SimulateDisplayAway(false);
}
