#include "game/game_scene.h"

#include "game/random.h"
#include "platform/runtime.h"
#include "app/game_app.h"
#include "graphics/texture_slots.h"

#include <cstring>

namespace {

// The texture slots of the run; slot 26 is the leg's goal building.
struct SlotFile {
    int slot;
    const char* file;
};
const SlotFile kSlots[] = {
    {1, "Texture/ready.png"},
    {2, "Texture/sora.png"},
    {3, "Texture/char1.png"},
    {4, "Texture/hodou02.png"},
    {5, "Texture/atama.png"},
    {6, "Texture/karada.png"},
    {7, "Texture/ude1.png"},
    {8, "Texture/kosi.png"},
    {9, "Texture/asi1.png"},
    {10, "Texture/kaban.png"},
    {11, "Texture/ude2.png"},
    {12, "Texture/asi2.png"},
    {13, "Texture/ji.png"},
    {14, "Texture/denshi.png"},
    {16, "Texture/post.png"},
    {17, "Texture/dustbox.png"},
    {18, "Texture/konbini.png"},
    {19, "Texture/bill02a.png"},
    {20, "Texture/bill03.png"},
    {21, "Texture/ie01.png"},
    {22, "Texture/depato.png"},
    {23, "Texture/jikage.png"},
    {24, "Texture/effe.png"},
    {25, "Texture/suuzi.png"},
    {26, nullptr},
    {27, "Texture/st_meta.png"},
    {30, "Texture/t1_atama.png"},
    {31, "Texture/t1_karada.png"},
    {32, "Texture/t1_ude1.png"},
    {33, "Texture/t1_ude2.png"},
    {34, "Texture/t1_asi1.png"},
    {35, "Texture/t1_asi2.png"},
    {36, "Texture/t1_kosi.png"},
    {37, "Texture/t2_atama.png"},
    {38, "Texture/t2_karada.png"},
    {39, "Texture/t2_ude1.png"},
    {40, "Texture/t2_ude2.png"},
    {41, "Texture/t2_asi1.png"},
    {42, "Texture/t2_asi2.png"},
    {43, "Texture/t2_kosi.png"},
    {44, "Texture/suuji2.png"},
    {45, "Texture/suuji.png"},
    {46, "Texture/t3_atama.png"},
    {47, "Texture/t3_karada.png"},
    {48, "Texture/t3_ude1.png"},
    {49, "Texture/t3_ude2.png"},
    {50, "Texture/t3_asi1.png"},
    {51, "Texture/t3_asi2.png"},
    {52, "Texture/t3_kosi.png"},
    {53, "Texture/waku.png"},
    {54, "Texture/siro.png"},
    {55, "Texture/item_win.png"},
    {56, "Texture/bag.png"},
    {57, "Texture/kasa.png"},
    {59, "Texture/ARROW.png"},
    {60, "Texture/suuji_s.png"},
    {61, "Texture/atama2.png"},
    {62, "Texture/atama3.png"},
    {63, "Texture/denko.png"},
    {64, "Texture/minimap.png"},
    {65, "Texture/minicha.png"},
    {66, "Texture/title_msk.png"},
    {67, "Texture/tikoku.png"},
    {68, "Texture/kumo.png"},
    {69, "Texture/bo-bobo.png"},
    {70, "Texture/densya.png"},
    {71, "Texture/yazirusi.png"},
    {72, "Texture/te.png"},
    {73, "Texture/eki2.png"},
};

}  // namespace

int LegTwoStartClock(int legOneRank) {
    switch (legOneRank) {
        case 2:
            return 515000;
        case 3:
            return 500000;
        case 4:
            return 493000;
        case 5:
            return 485000;
        default:
            return 0;
    }
}

GameScene::GameScene() {
    // The figures start from zero everywhere; the loader sets the start values.
    player = DrawCharacter{};
    for (DrawCharacter& p : passers) p = DrawCharacter{};
    Load();
}

GameScene::~GameScene() {
    music.Stop();
    ReleaseTextureSlots(1, 73);
}

void GameScene::Load() {
    GameApp& app = GameApp::Get();
    GameSrand(unsigned(platform::CalendarTime()));

    for (int i = 0; i < 2; ++i) {
        DrawCharacter& p = passers[i];
        p.x = GameRand() % 2600 + 700;
        p.y = GameRand() % 70 + 240;
        p.facingLeft = 1;
        p.pose = 0;
        p.frame = GameRand() % 20;
        p.flying = 0;
        p.frameBack = GameRand() % 2;
        p.groundY = p.y;
        p.dx = -1;
        p.dy = 0;
        p.vx = 0;
        p.vy = 0;
        for (int k = 0; k < 7; ++k) p.partSlots[k] = 30 + k;
        p.heldItem = 0;
        p.isPlayer = 0;
    }

    // A run entered as a second leg without a first leg behind it (from the title after leaving a
    // second leg) starts as a first leg: the second leg has no start time of its own.
    if (app.gameMode == 1 && LegTwoStartClock(app.arrivalRank) == 0) app.gameMode = 0;

    for (const SlotFile& s : kSlots)
        LoadTextureSlot(s.slot,
                        s.file ? s.file : (app.gameMode == 0 ? "Texture/eki.png" : "Texture/gakkou.png"));

    app.resultCount = 0;
    app.elapsedClock = 0;

    player.dx = 0;
    player.dy = 0;
    player.frame = 11;
    player.pose = 0;
    player.flying = 0;
    player.vy = 0;
    player.vx = 0;
    player.frameBack = 0;
    passerCount = 2;
    currentPasser = 0;
    pavementScroll = 0;
    skyScroll = 0;
    goalX = 2100;
    startStationX = -220;
    distance = 100;
    runFrames = 0;
    comboStage = 0;
    comboQueued = 0;
    dashTimer = 0;
    gauge = 0;
    powerMode = 0;
    homingAngle = 0;
    std::memset(drawOrder, 0, sizeof drawOrder);
    std::memset(drawOrderKey, 0, sizeof drawOrderKey);
    scratch = 0;
    dustboxY = 290;
    dustboxTop = 247;
    dustboxKicked = 0;
    std::memset(input, 0, sizeof input);
    nextScene = kSceneNone;
    wave = 0;
    desktopShake = 0;
    lateDigits = 0;
    passerLook = 0;
    gaugeBar = 0;
    boardX = 440;
    boardReveal = 130;
    boardMessage = 0;
    boardPhase = 1;
    fadeAlpha = 0;
    stampX = 600;
    stampY = 512;
    stampScaleX = stampScaleY = 0.00001f;
    trainX = app.screenWidth;
    arrowSpin = 1.0f;
    tickNow = 0;
    tickPrev = 0;
    shakeX = shakeY = 0;
    handOffset = 600;
    specialTimer = 0;
    legOneRank = 0;

    if (app.gameMode == 0) {
        clock = kClockLegOneStart;
    } else {
        clock = LegTwoStartClock(app.arrivalRank);
        legOneRank = app.arrivalRank;
    }
    app.arrivalRank = 0;

    POINT origin{0, 0};
    ClientToScreen(app.gameWindow, &origin);
    windowOrigin = origin;

    for (int i = 0; i < 5; ++i) {
        cloudX[i] = GameRand() % 1000;
        cloudY[i] = GameRand() % 150 - 20;
    }

    for (int i = 10; i >= 0; --i) sceneryX[i] = i * 1600 + 500;
    const int widths[11] = {124, 125, 0, 72, 128, 0, 920, 606, 1586, 360, 680};
    std::memcpy(sceneryWidth, widths, sizeof widths);
    for (int i = 10; i >= 0; --i) sceneryX[i] = PlaceScenery(i, sceneryX, sceneryWidth, 11);

    dustboxTop = dustboxY - 43;

    player.init(100, 280);
    player.groundY = player.y;
    const int playerSlots[7] = {5, 6, 7, 11, 9, 12, 8};
    std::memcpy(player.partSlots, playerSlots, sizeof playerSlots);
    player.heldItem = 1;
    player.isPlayer = 1;

    music.Play("BGM/mubel-scene03.mid");
}
