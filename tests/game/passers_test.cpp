// The passers-by: fresh ones and their looks, the waves, how they walk, fly, land and leave, every
// collision with the runner, the dust box kick, homing in power mode, and the depth order.
#include "game/street_support.h"

#include <algorithm>
#include <random>
#include <set>

using namespace street_support;

namespace {

// The runner standing on ground line 280 at x 200, facing right, in the first attack stage.
void Attacking(GameScene& g, int dx = 3) {
    g.player.x = 200;
    g.player.y = g.player.groundY = 280;
    g.player.facingLeft = 0;
    g.player.pose = kPoseAttack1;
    g.player.dx = dx;
    g.comboStage = 1;
}

// The runner standing still, not attacking.
void Standing(GameScene& g) {
    Attacking(g, 0);
    g.player.pose = kPoseStand;
    g.player.vx = 0;
    g.comboStage = g.comboQueued = 0;
}

}  // namespace

class Passer : public GameRunTest {};
class Wave : public GameRunTest {};
class Collision : public GameRunTest {};

TEST_F(Passer, AFreshOneWalksInFromTheRightInOneOfThreeLooks) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    std::set<int> looks;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        GameSrand(seed);
        g->passers[7].flying = 2;
        g->passers[7].heldItem = 2;
        g->FreshPasser(7);
        const DrawCharacter& p = g->passers[7];
        EXPECT_EQ(g->currentPasser, 7);
        ASSERT_GE(p.x, 700);
        ASSERT_LE(p.x, 3299);
        ASSERT_GE(p.groundY, 240);
        ASSERT_LE(p.groundY, 309);
        EXPECT_EQ(p.y, p.groundY);
        EXPECT_EQ(p.vx, -16);
        EXPECT_EQ(p.facingLeft, 1);
        EXPECT_EQ(p.flying, 0);
        EXPECT_EQ(p.pose, kPoseWalk);
        EXPECT_EQ(p.heldItem, 0);
        EXPECT_FLOAT_EQ(p.scale, float(1.0 - (310 - p.groundY) * 0.004));
        const int base = p.partSlots[0];
        for (int k = 0; k < kPartCount; ++k) EXPECT_EQ(p.partSlots[k], base + k);
        const int bases[3] = {30, 37, 46};
        EXPECT_EQ(base, bases[g->passerLook]);
        looks.insert(g->passerLook);
    }
    EXPECT_EQ(looks.size(), 3u);
}

TEST_F(Passer, TheRandomDrawsComeInAFixedOrder) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    GameSrand(99);
    const int x = GameRand(), ground = GameRand(), frame = GameRand(), back = GameRand(), look = GameRand();
    GameSrand(99);
    g->FreshPasser(3);
    const DrawCharacter& p = g->passers[3];
    EXPECT_EQ(p.x, x % 2600 + 700);
    EXPECT_EQ(p.groundY, ground % 70 + 240);
    EXPECT_EQ(p.frame, frame % 20);
    EXPECT_EQ(p.frameBack, back % 2);
    EXPECT_EQ(g->passerLook, look % 3);
}

TEST_F(Passer, TheSameSeedGivesTheSamePassersBy) {
    testing_support::RunSetup setup;
    setup.scene = "Game";
    setup.frames = 900;
    setup.seed = 8;
    setup.script = "201-900 RIGHT\n300-900 D\n";
    setup.dataDir = RUSHMORA_SOURCE_DATA_DIR;
    testing_support::RunGame(setup);
    GameScene* g = LiveScene();
    ASSERT_NE(g, nullptr);
    std::vector<int> first;
    for (int i = 0; i < g->passerCount; ++i) {
        const DrawCharacter& p = g->passers[i];
        first.insert(first.end(),
                     {p.x, p.y, p.groundY, p.vx, p.vy, p.pose, p.frame, p.flying, p.partSlots[0]});
    }
    testing_support::RunGame(setup);
    g = LiveScene();
    ASSERT_NE(g, nullptr);
    std::vector<int> second;
    for (int i = 0; i < g->passerCount; ++i) {
        const DrawCharacter& p = g->passers[i];
        second.insert(second.end(),
                      {p.x, p.y, p.groundY, p.vx, p.vy, p.pose, p.frame, p.flying, p.partSlots[0]});
    }
    EXPECT_EQ(first, second);
}

TEST_F(Wave, WavesArriveAtTheirDistancesUpToTwentySixPassersBy) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    std::vector<int> arrivals;
    for (g->distance = 100; g->distance <= 32100; ++g->distance) {
        const int before = g->passerCount;
        g->SpawnWave();
        if (g->passerCount == before) continue;
        arrivals.push_back(g->distance);
        EXPECT_EQ(g->passerCount, before + 4);
        for (int i = before; i < g->passerCount; ++i) {
            EXPECT_GE(g->passers[i].x, 700) << i;
            EXPECT_EQ(g->passers[i].vx, -16) << i;
        }
    }
    EXPECT_EQ(arrivals, (std::vector<int>{5001, 10001, 14001, 18001, 23001, 28001}));
    EXPECT_EQ(g->passerCount, 26);
    EXPECT_EQ(g->wave, 6);
}

TEST_F(Passer, WalkersComeTowardTheRunnerAndTheFirstTwoWalkOnTheSpot) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    DrawCharacter& p = Walker(*g, 0, 500, 270);
    p.vx = 0;  // as the scene starts them
    Walker(*g, 1, 400, 250);
    for (int frame = 0; frame < 40; ++frame) g->MovePassers();
    EXPECT_EQ(p.x, 500);
    EXPECT_EQ(g->passers[1].x, 360);
    EXPECT_EQ(g->passers[1].vx, -16);
    EXPECT_EQ(g->passers[1].y, 250);
    // The walk swings between the end frames, each shown twice.
    std::vector<int> frames;
    for (int frame = 0; frame < 32; ++frame) {
        g->MovePassers();
        frames.push_back(p.frame);
        ASSERT_GE(p.frame, 0);
        ASSERT_LE(p.frame, 19);
    }
    EXPECT_NE(std::adjacent_find(frames.begin(), frames.end()), frames.end());
}

TEST_F(Passer, StumblersAndSlidersGetUpInAHurry) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    DrawCharacter& p = Walker(*g, 0, 300, 270);
    p.pose = kPoseStumble;
    p.frame = 0;
    p.vx = 60;
    for (int frame = 0; frame < 19; ++frame) g->MovePassers();
    EXPECT_EQ(p.pose, kPoseStumble);
    EXPECT_EQ(p.vx, 0);  // slowed down by 4 a frame
    g->MovePassers();
    EXPECT_EQ(p.pose, kPoseWalk);
    EXPECT_EQ(p.vx, -32);
    EXPECT_EQ(p.frame, 19);
    EXPECT_EQ(p.frameBack, 1);

    // A slider sinks 8 a frame and holds the runner's follow-through at frame 17 meanwhile.
    Walker(*g, 0, 300, 270).pose = kPoseSlide;
    p.frame = 10;
    g->player.frame = 18;
    g->MovePassers();
    EXPECT_EQ(p.y, 278);
    EXPECT_EQ(g->player.frame, 17);
    for (int frame = 0; frame < 9; ++frame) g->MovePassers();
    EXPECT_EQ(p.pose, kPoseWalk);
    EXPECT_EQ(p.y, 270);
}

TEST_F(Passer, OnlyOneKnockedAwayAndStillFlyingCountsWhenItLeaves) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    GameApp& app = GameApp::Get();
    // Still flying (fallen to the bottom, running off): counted, and a fresh one takes its place.
    DrawCharacter& p = Walker(*g, 0, -390, 270);
    p.flying = 1;
    p.vx = -128;
    g->MovePassers();
    EXPECT_EQ(app.resultCount, 0);
    g->MovePassers();
    EXPECT_EQ(app.resultCount, 1);
    EXPECT_EQ(p.flying, 0);
    EXPECT_GE(p.x, 700);
    // Knocked away to the right and gone: counted as well.
    Walker(*g, 0, 1190, 200).flying = 2;
    p.pose = kPoseKnockedAway;
    p.vx = 300;
    g->MovePassers();
    EXPECT_EQ(app.resultCount, 2);
    // A walker leaving is not, even one back on its feet after a landing.
    Walker(*g, 0, -399, 270).vx = -32;
    g->MovePassers();
    EXPECT_GE(p.x, 700);
    EXPECT_EQ(app.resultCount, 2);
}

TEST_F(Passer, AKnockedAwayOneTumblesFallsAndLandsInASlide) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    Standing(*g);
    DrawCharacter& p = Walker(*g, 0, 400, 270);
    p.flying = 1;
    p.pose = kPoseKnockedAway;
    p.vx = 64;
    p.vy = -200;
    p.y -= 4;
    int frames = 0;
    while (p.flying && frames < 200) {
        g->MovePassers();
        g->Collide();
        ++frames;
        if (p.flying) {
            ASSERT_GE(p.frame, 0);
            ASSERT_LE(p.frame, 19);
        }
    }
    ASSERT_EQ(p.flying, 0);
    EXPECT_EQ(p.pose, kPoseSlide);
    EXPECT_EQ(p.y, 270);
    EXPECT_EQ(p.vy, 0);
    EXPECT_GE(p.vx, 0);
    EXPECT_LE(p.vx, 128);
    EXPECT_GT(frames, 50);  // up, then down under gravity
}

TEST_F(Collision, AHitKnocksAwayWithASpeedFromTheStageAndTheRunnersPace) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    int low = 1 << 20, high = -1;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        GameSrand(seed);
        Attacking(*g);
        g->gauge = 10;
        DrawCharacter& p = Walker(*g, 0, 250, 275);
        g->Collide();
        ASSERT_EQ(p.flying, 1);
        EXPECT_EQ(p.pose, kPoseKnockedAway);
        EXPECT_EQ(g->gauge, 11);
        EXPECT_GE(p.vx, 60);
        EXPECT_LE(p.vx, 441);
        EXPECT_GE(p.vy, -59 - 160);
        EXPECT_LE(p.vy, -40 - 160);
        low = std::min(low, p.vx), high = std::max(high, p.vx);
    }
    EXPECT_LT(low, 100);
    EXPECT_GT(high, 350);

    // Facing left, the one on the left is hit, not the one on the right.
    Attacking(*g);
    g->player.facingLeft = 1;
    g->player.dx = -3;
    Walker(*g, 0, 250, 280);
    Walker(*g, 1, 150, 280);
    g->Collide();
    EXPECT_EQ(g->passers[0].flying, 0);
    EXPECT_EQ(g->passers[1].flying, 1);
    EXPECT_LT(g->passers[1].vx, 0);
}

TEST_F(Collision, NoHitOffTheRunnersLineOrOutOfReach) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    Attacking(*g);
    Walker(*g, 0, 250, 295);  // 15 rows nearer
    Walker(*g, 1, 280, 280);  // just out of reach
    DrawCharacter& flyer = Walker(*g, 2, 250, 280);
    flyer.flying = 2;  // already knocked away: not hit again
    flyer.pose = kPoseKnockedAway;
    flyer.vx = 33;
    g->Collide();
    for (int i = 0; i < 2; ++i) EXPECT_EQ(g->passers[i].pose, kPoseWalk) << i;
    EXPECT_EQ(flyer.vx, 33);
    EXPECT_EQ(g->gauge, 0);
}

TEST_F(Collision, HitsAndBumpsFillTheGaugeButNeverPastNinetySix) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    auto hit = [&](int gauge, int power = 0) {
        Attacking(*g);
        g->gauge = gauge;
        g->powerMode = power;
        Walker(*g, 0, 250, 280);
        g->Collide();
        return g->gauge;
    };
    auto bump = [&](int gauge, int power = 0) {
        Standing(*g);
        g->gauge = gauge;
        g->powerMode = power;
        Walker(*g, 0, 230, 280);
        g->Collide();
        EXPECT_EQ(g->player.pose, kPoseStumble);
        return g->gauge;
    };
    EXPECT_EQ(hit(95), 96);
    EXPECT_EQ(hit(96), 96);
    EXPECT_EQ(hit(50, 1), 50);
    EXPECT_EQ(hit(-1), -1);
    EXPECT_EQ(bump(93), 96);
    EXPECT_EQ(bump(94), 94);
    EXPECT_EQ(bump(50, 1), 50);
    EXPECT_EQ(bump(-1), -1);
}

TEST_F(Collision, ABumpStaggersBothAndCostsTheCombo) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    Standing(*g);
    g->player.vx = -20;
    g->comboQueued = 2;
    DrawCharacter& p = Walker(*g, 0, 230, 290);
    g->Collide();
    EXPECT_EQ(g->player.pose, kPoseStumble);
    EXPECT_EQ(g->player.frame, 0);
    EXPECT_EQ(g->player.vx, 64);
    EXPECT_EQ(g->comboQueued, 0);
    EXPECT_EQ(p.pose, kPoseStumble);
    EXPECT_EQ(p.vx, 150);

    // Dashing, stumbling and the special move pass through people.
    for (int pose : {kPoseDash, kPoseStumble, kPoseSpecial}) {
        Standing(*g);
        g->player.pose = pose;
        Walker(*g, 0, 230, 290);
        g->Collide();
        EXPECT_EQ(g->player.pose, pose);
        EXPECT_EQ(p.pose, kPoseWalk) << pose;
    }
}

TEST_F(Collision, TheSpecialMoveBlastsOnlyThoseOnScreenOnTheirGroundLine) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    Standing(*g);
    g->player.pose = kPoseSpecial;
    g->specialTimer = 99;
    Walker(*g, 0, 500, 250);
    g->Collide();
    EXPECT_EQ(g->passers[0].flying, 0);  // the hands are not in yet

    g->specialTimer = 150;
    Walker(*g, 0, -79, 250);
    Walker(*g, 1, 639, 300);
    Walker(*g, 2, -80, 260);          // off screen
    Walker(*g, 3, 640, 260);          // off screen
    Walker(*g, 4, 500, 260).y = 250;  // in the air
    g->Collide();
    for (int i : {0, 1}) {
        EXPECT_EQ(g->passers[i].flying, 1) << i;
        EXPECT_EQ(g->passers[i].pose, kPoseKnockedAway) << i;
        EXPECT_LE(std::abs(g->passers[i].vx), 399) << i;
        EXPECT_LE(g->passers[i].vy, -40 - 160) << i;
        EXPECT_GE(g->passers[i].vy, -3 * 59 - 160) << i;
    }
    for (int i : {2, 3, 4}) EXPECT_EQ(g->passers[i].flying, 0) << i;
    EXPECT_EQ(g->currentPasser, 1);
}

TEST_F(Collision, FlyersBounceOffTheScreenEdgesAndCannotLandDuringTheBlast) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    Standing(*g);
    const int width = GameApp::Get().screenWidth;
    DrawCharacter& p = Walker(*g, 0, -309, 100);
    p.flying = 1;
    p.pose = kPoseKnockedAway;
    p.vx = -90;
    g->Collide();
    EXPECT_EQ(p.flying, 2);
    EXPECT_EQ(p.vx, 90);
    EXPECT_EQ(g->desktopShake, 1);
    p.x = width - 358 + 1;
    g->Collide();
    EXPECT_EQ(p.vx, -90);

    // Coming down on its line: a slide, but not while the special move is past its first 99 frames.
    p.x = 300;
    p.y = p.groundY - 5;
    p.vy = 30;
    p.vx = -90;
    for (int timer : {100, 299, 350}) {
        g->specialTimer = timer;
        g->Collide();
        EXPECT_EQ(p.flying, 2) << timer;
    }
    g->specialTimer = 0;
    g->Collide();
    EXPECT_EQ(p.flying, 0);
    EXPECT_EQ(p.pose, kPoseSlide);
    EXPECT_EQ(p.y, p.groundY);
    EXPECT_EQ(p.vx, -128);
}

TEST_F(Collision, OneThatFallsToTheBottomRunsOffStillFlying) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    Standing(*g);
    DrawCharacter& p = Walker(*g, 0, 700, 260);
    p.flying = 1;
    p.pose = kPoseKnockedAway;
    p.y = GameApp::Get().screenHeight - 260;
    p.vy = 40;
    g->Collide();
    EXPECT_EQ(p.pose, kPoseWalk);
    EXPECT_EQ(p.vx, -128);
    EXPECT_EQ(p.vy, 0);
    EXPECT_EQ(p.flying, 1);
    // It heads off to the left until it leaves and scores.
    int frames = 0;
    while (GameApp::Get().resultCount == 0 && frames < 300) {
        g->MovePassers();
        g->Collide();
        ++frames;
    }
    EXPECT_EQ(GameApp::Get().resultCount, 1);
}

TEST_F(Collision, AnAttackKicksTheDustboxAway) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    g->passerCount = 0;
    Attacking(*g);
    g->player.groundY = g->player.y = 255;
    g->sceneryX[4] = 250;
    g->Collide();
    EXPECT_EQ(g->dustboxKicked, 1);
    g->dustboxKicked = 0;
    g->player.facingLeft = 1;
    g->sceneryX[4] = 100;
    g->Collide();
    EXPECT_EQ(g->dustboxKicked, 2);
    // Too near the front of the street, or not attacking: it stays.
    g->dustboxKicked = 0;
    g->player.groundY = g->player.y = 262;
    g->Collide();
    EXPECT_EQ(g->dustboxKicked, 0);
    g->player.groundY = g->player.y = 255;
    g->player.pose = kPoseWalk;
    g->Collide();
    EXPECT_EQ(g->dustboxKicked, 0);
}

TEST_F(Collision, PowerModeHomesOnTheNearestWalkerAhead) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    Attacking(*g);
    g->powerMode = 1;
    Walker(*g, 0, 600, 280);
    Walker(*g, 1, 100, 280);  // behind
    Walker(*g, 2, 300, 180);  // nearest ahead, up the street
    Walker(*g, 3, 250, 280).flying = 1;
    g->Home();
    EXPECT_EQ(g->homingAngle, 315);
    EXPECT_EQ(g->player.vx, 140);
    EXPECT_EQ(g->player.groundY, 277);
    EXPECT_EQ(g->player.y, 277);

    // Nobody ahead: a plain lunge.
    Attacking(*g);
    g->passerCount = 2;
    g->passers[0].x = 150;
    g->Home();
    EXPECT_EQ(g->player.vx, 68);
    EXPECT_EQ(g->player.groundY, 280);
    // The only one around is flying: nothing.
    g->player.vx = 5;
    g->passerCount = 1;
    g->passers[0].flying = 1;
    g->Home();
    EXPECT_EQ(g->player.vx, 5);
}

TEST_F(Passer, DepthOrderSortsByGroundLine) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    std::mt19937 lines(4);
    for (int i = 0; i < 26; ++i) Walker(*g, i, 300, 240 + int(lines() % 70));
    g->SortByDepth();
    std::set<int> seen;
    for (int k = 0; k < 26; ++k) {
        seen.insert(g->drawOrder[k]);
        EXPECT_EQ(g->drawOrderKey[k], g->passers[g->drawOrder[k]].groundY);
        if (k > 0) {
            EXPECT_LE(g->drawOrderKey[k - 1], g->drawOrderKey[k]);
        }
    }
    EXPECT_EQ(seen.size(), 26u);
}
