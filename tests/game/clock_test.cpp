// The game clock, the start of each leg, arrival and ranking, the station board, the late stamp and
// the white-out.
#include "game/game_scene.h"
#include "app/game_app.h"
#include "support/game_run.h"

using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

GameScene* Game() {
    return dynamic_cast<GameScene*>(GameApp::Get().scene);
}

GameScene* Start(std::vector<std::pair<std::string, int>> fields, long frames = 1) {
    RunSetup setup;
    setup.scene = "Game";
    setup.frames = frames;
    setup.fields = std::move(fields);
    setup.seed = 3;
    setup.dataDir = RUSHMORA_SOURCE_DATA_DIR;
    RunGame(setup);
    EXPECT_NE(Game(), nullptr);
    return Game();
}

// A checksum of the texels of a texture slot, to tell which picture it holds.
unsigned long SlotChecksum(int slot) {
    IDirect3DTexture9* t = GameApp::Get().textures[slot];
    if (!t) return 0;
    D3DSURFACE_DESC desc{};
    D3DLOCKED_RECT locked{};
    if (t->GetLevelDesc(0, &desc) != S_OK || t->LockRect(0, &locked, nullptr, 0) != S_OK) return 0;
    unsigned long sum = 0;
    for (UINT y = 0; y < desc.Height; ++y) {
        const auto* row = static_cast<const unsigned char*>(locked.pBits) + y * locked.Pitch;
        for (UINT x = 0; x < desc.Width * 4; ++x) sum = sum * 31 + row[x];
    }
    t->UnlockRect(0);
    return sum;
}

}  // namespace

class GameClock : public GameRunTest {};

TEST_F(GameClock, EachLegStartsAtItsTime) {
    GameScene* g = Start({{"gameMode", 0}, {"arrivalRank", 4}});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->clock, 420000);
    EXPECT_EQ(GameApp::Get().arrivalRank, 0);
    const int starts[][2] = {{2, 515000}, {3, 500000}, {4, 493000}, {5, 485000}};
    for (const auto& s : starts) {
        g = Start({{"gameMode", 1}, {"arrivalRank", s[0]}, {"resultCount", 9}, {"elapsedClock", 7}});
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->clock, s[1]) << "rank " << s[0];
        EXPECT_EQ(g->legOneRank, s[0]);
        EXPECT_EQ(GameApp::Get().arrivalRank, 0);
        EXPECT_EQ(GameApp::Get().resultCount, 0);
        EXPECT_EQ(GameApp::Get().elapsedClock, 0);
    }
}

TEST_F(GameClock, ASecondLegWithoutAFirstStartsAsTheFirst) {
    // From the title after leaving a second leg, the mode is still 1 but no train was caught.
    for (int rank : {0, 1, 6}) {
        GameScene* g = Start({{"gameMode", 1}, {"arrivalRank", rank}});
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->clock, 420000) << rank;
        EXPECT_EQ(GameApp::Get().gameMode, 0) << rank;
    }
    // The goal building is the station, not the school.
    auto goal = [](int gameMode, int arrivalRank) {
        unsigned long sum = 0;
        RunSetup setup;
        setup.frames = 1;
        setup.fields = {{"gameMode", gameMode}, {"arrivalRank", arrivalRank}};
        setup.dataDir = RUSHMORA_SOURCE_DATA_DIR;
        setup.make = [&sum] {
            auto* g = new GameScene;
            sum = SlotChecksum(26);
            return static_cast<SceneBase*>(g);
        };
        RunGame(setup);
        return sum;
    };
    const unsigned long station = goal(0, 0);
    ASSERT_NE(station, 0ul);
    ASSERT_NE(station, goal(1, 2)) << "the school";
    EXPECT_EQ(goal(1, 0), station);
}

TEST_F(GameClock, RunsFourUnitsAFrameAfterTheCountIn) {
    EXPECT_EQ(Start({}, 201)->clock, 420000);
    EXPECT_EQ(Start({}, 202)->clock, 420004);
    EXPECT_EQ(Start({}, 450)->clock, 420000 + 4 * 249);
}

TEST_F(GameClock, ArrivalRanksByTheTrainCaught) {
    GameScene* g = Start({});
    ASSERT_NE(g, nullptr);
    GameApp& app = GameApp::Get();
    struct Case {
        int clock, rank;
    } cases[] = {{434999, 5}, {435000, 4}, {442999, 4}, {443000, 3},
                 {459999, 3}, {460000, 2}, {474999, 2}, {475000, 1}};
    for (const Case& c : cases) {
        app.arrivalRank = 0;
        app.gameMode = 0;
        g->distance = kGoalDistance;
        g->clock = c.clock;
        g->powerMode = 1;
        g->CheckArrival();
        EXPECT_EQ(app.arrivalRank, c.rank) << c.clock;
        EXPECT_EQ(app.elapsedClock, c.clock - 420000);
        EXPECT_EQ(g->powerMode, 0);
    }
    // Short of the goal nothing happens before the deadline; at 8:00 the leg is lost.
    app.arrivalRank = 0;
    g->distance = kGoalDistance - 1;
    g->clock = 479999;
    g->CheckArrival();
    EXPECT_EQ(app.arrivalRank, 0);
    g->clock = 480000;
    g->CheckArrival();
    EXPECT_EQ(app.arrivalRank, 1);
}

TEST_F(GameClock, SecondLegMeasuresFromItsOwnStart) {
    GameScene* g = Start({{"gameMode", 1}, {"arrivalRank", 4}});
    ASSERT_NE(g, nullptr);
    GameApp& app = GameApp::Get();
    g->distance = kGoalDistance;
    g->clock = 539000;  // 8:59
    g->CheckArrival();
    EXPECT_EQ(app.arrivalRank, 6);
    EXPECT_EQ(app.elapsedClock, 539000 - 493000);
    app.arrivalRank = 0;
    g->clock = 540000;
    g->CheckArrival();
    EXPECT_EQ(app.arrivalRank, 1);
}

TEST_F(GameClock, LateDigitsOnlyPastTheDeadline) {
    GameScene* g = Start({});
    ASSERT_NE(g, nullptr);
    g->runFrames = 0;
    g->clock = 480000;
    g->StepClock();
    EXPECT_EQ(g->lateDigits, 0);
    g->clock = 480001;
    g->StepClock();
    EXPECT_EQ(g->lateDigits, 1);
}

TEST_F(GameClock, StationBoardChangesAtSevenElevenAndSendsATrain) {
    GameScene* g = Start({});
    ASSERT_NE(g, nullptr);
    g->clock = 430999;
    g->StepBoard();
    EXPECT_EQ(g->boardPhase, 1);
    EXPECT_EQ(g->boardMessage, 0);
    g->clock = 431000;
    g->StepBoard();
    EXPECT_EQ(g->boardMessage, 1);
    EXPECT_EQ(g->trainX, -800);
    EXPECT_EQ(g->boardPhase, 2);
    EXPECT_EQ(g->boardReveal, 1);
    EXPECT_EQ(g->boardX, 581);
    // The message slides in over 142 frames, then the board waits for the next window.
    for (int i = 0; i < 141; ++i) g->StepBoard();
    EXPECT_EQ(g->boardX, 440);
    EXPECT_EQ(g->boardPhase, 3);
    g->StepBoard();
    EXPECT_EQ(g->boardPhase, 3);
    g->clock = 475000;  // windows 3 to 7 missed: only the next phase's window counts
    g->StepBoard();
    EXPECT_EQ(g->boardPhase, 3);
}

TEST_F(GameClock, LateStampZoomsInThenTheScreenWhitens) {
    GameScene* g = Start({});
    ASSERT_NE(g, nullptr);
    GameApp::Get().arrivalRank = 1;
    int frames = 0;
    while (g->fadeAlpha == 0 && frames < 100) {
        g->StepStamp();
        ++frames;
    }
    EXPECT_EQ(frames, 43);
    EXPECT_EQ(g->stampX, 88);
    EXPECT_EQ(g->stampY, 0);
    EXPECT_FLOAT_EQ(g->stampScaleX, 1.0f);
    // The stamp holds while the phase counts to 350, then the white-out runs at 2 a frame.
    g->boardPhase = 1;
    int steps = 0;
    while (g->nextScene != kSceneGameClear && steps < 1000) {
        g->StepFade();
        ++steps;
    }
    EXPECT_EQ(steps, 349 - 1 + 127);
    EXPECT_EQ(g->fadeAlpha, 255);
    EXPECT_EQ(g->passerCount, 0);
}

TEST_F(GameClock, ArrivalInTimeWhitensOverTwoHundredFiftyFiveFrames) {
    GameScene* g = Start({});
    ASSERT_NE(g, nullptr);
    GameApp::Get().arrivalRank = 3;
    for (int i = 0; i < 254; ++i) g->StepFade();
    EXPECT_EQ(g->fadeAlpha, 254);
    EXPECT_EQ(g->nextScene, kSceneNone);
    g->StepFade();
    EXPECT_EQ(g->nextScene, kSceneGameClear);
}
