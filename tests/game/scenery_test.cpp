// The street: objects placed apart, scenery and clouds coming back on the right, the street emptying
// near the goal, and the flight of a kicked dust box.
#include "game/street_support.h"

#include <algorithm>
#include <random>
#include <string>

using namespace street_support;

namespace {

// Every pair of street objects stands apart.
void ExpectApart(const GameScene& g, const std::string& when) {
    for (int a = 0; a < 11; ++a)
        for (int b = a + 1; b < 11; ++b)
            EXPECT_FALSE(Overlap(g.sceneryX, g.sceneryWidth, a, b))
                << when << ": objects " << a << " at " << g.sceneryX[a] << " and " << b << " at "
                << g.sceneryX[b];
}

}  // namespace

class Street : public GameRunTest {};

TEST_F(Street, PlacementNeverLeavesTwoObjectsOverlapping) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    for (unsigned seed = 1; seed <= 400 && !HasFailure(); ++seed) {
        GameSrand(seed);
        for (int i = 10; i >= 0; --i) g->sceneryX[i] = i * 1600 + 500;
        for (int i = 10; i >= 0; --i) g->sceneryX[i] = g->PlaceScenery(i, g->sceneryX, g->sceneryWidth, 11);
        ExpectApart(*g, "seed " + std::to_string(seed));
        for (int i = 0; i < 11; ++i) EXPECT_GE(g->sceneryX[i], 640) << "seed " << seed << " object " << i;
    }
}

TEST_F(Street, ObjectsComeBackApartWhileTheStreetScrolls) {
    GameScene* g = FirstFrame(5);
    ASSERT_NE(g, nullptr);
    std::mt19937 steps(5);
    int comebacks = 0;
    for (int frame = 0; frame < 20000 && !HasFailure(); ++frame) {
        const int dx = int(steps() % 8);
        for (int& x : g->sceneryX) x -= dx;
        int before[11];
        std::copy(std::begin(g->sceneryX), std::end(g->sceneryX), before);
        g->RecycleScenery();
        for (int i = 0; i < 11; ++i) {
            if (before[i] >= -1599) {
                EXPECT_EQ(g->sceneryX[i], before[i]) << "object " << i << " moved without leaving";
            } else {
                EXPECT_GE(g->sceneryX[i], 640) << "object " << i << " came back inside the window";
                ++comebacks;
            }
        }
        ExpectApart(*g, "frame " + std::to_string(frame));
    }
    EXPECT_GT(comebacks, 50);
}

TEST_F(Street, ObjectsStayParkedNearTheGoal) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    g->distance = 23000;
    g->sceneryX[6] = -1700;
    g->sceneryX[9] = -1599;  // not yet gone
    g->RecycleScenery();
    EXPECT_EQ(g->sceneryX[6], -1600);
    EXPECT_EQ(g->sceneryX[9], -1599);
    for (int frame = 0; frame < 100; ++frame) {
        for (int& x : g->sceneryX) x -= 7;
        g->RecycleScenery();
    }
    for (int i = 0; i < 11; ++i) EXPECT_GE(g->sceneryX[i], -1600) << i;
    EXPECT_EQ(g->sceneryX[6], -1600);
    EXPECT_EQ(g->sceneryX[9], -1600);
    // Just short of that distance the street still fills up again.
    g->distance = 22999;
    g->sceneryX[6] = -1700;
    g->RecycleScenery();
    EXPECT_GE(g->sceneryX[6], 640);
}

TEST_F(Street, PavementAndSkyWrapAround) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    g->pavementScroll = 389;
    g->skyScroll = 638;
    g->RecycleScenery();
    EXPECT_EQ(g->pavementScroll, 389);
    EXPECT_EQ(g->skyScroll, 638);
    g->pavementScroll = 395;
    g->skyScroll = 639;
    g->RecycleScenery();
    EXPECT_EQ(g->pavementScroll, 0);
    EXPECT_EQ(g->skyScroll, 0);
}

TEST_F(Street, CloudsComeBackInTheirBand) {
    GameScene* g = FirstFrame();
    ASSERT_NE(g, nullptr);
    int lowX = 1 << 20, highX = -1, lowY = 1 << 20, highY = -1 << 20;
    for (int round = 0; round < 3000; ++round) {
        g->cloudX[round % 5] = -128;
        g->cloudX[(round + 1) % 5] = -127;  // still in sight: stays
        g->RecycleScenery();
        const int x = g->cloudX[round % 5], y = g->cloudY[round % 5];
        ASSERT_GE(x, 680);
        ASSERT_LE(x, 1179);
        ASSERT_GE(y, -20);
        ASSERT_LE(y, 129);
        EXPECT_EQ(g->cloudX[(round + 1) % 5], -127);
        lowX = std::min(lowX, x), highX = std::max(highX, x), lowY = std::min(lowY, y),
        highY = std::max(highY, y);
    }
    // The whole band is used.
    EXPECT_LT(lowX, 690);
    EXPECT_GT(highX, 1169);
    EXPECT_LT(lowY, -10);
    EXPECT_GT(highY, 119);
}

TEST_F(Street, AKickedDustboxFliesOffAndANewOneStandsUpTheStreet) {
    for (int side : {1, 2}) {
        GameScene* g = FirstFrame(side);
        ASSERT_NE(g, nullptr);
        g->sceneryX[4] = side == 1 ? 500 : 100;
        g->dustboxKicked = side;
        g->FlyDustbox();
        EXPECT_EQ(g->sceneryX[4], side == 1 ? 510 : 90);
        EXPECT_EQ(g->dustboxY, 284);
        // Fifty more frames carry it past 1000 (or -400); the last of them puts a new box down.
        for (int frame = 0; frame < 49; ++frame) g->FlyDustbox();
        EXPECT_EQ(g->dustboxKicked, side);
        EXPECT_EQ(g->dustboxY, 290 - 6 * 50);
        g->FlyDustbox();
        EXPECT_EQ(g->dustboxKicked, 0);
        EXPECT_EQ(g->dustboxY, 290);
        EXPECT_EQ(g->dustboxTop, 247);
        EXPECT_GE(g->sceneryX[4], 640);
        ExpectApart(*g, "new dust box");
        // At rest it stays put.
        const int x = g->sceneryX[4];
        g->FlyDustbox();
        EXPECT_EQ(g->sceneryX[4], x);
    }
}

TEST_F(Street, ARunStaysApartAndTheSameSeedGivesTheSameStreet) {
    testing_support::RunSetup setup;
    setup.scene = "Game";
    setup.frames = 1500;
    setup.seed = 21;
    setup.script = "201-1500 RIGHT\n";
    setup.dataDir = RUSHMORA_SOURCE_DATA_DIR;
    testing_support::RunGame(setup);
    GameScene* g = LiveScene();
    ASSERT_NE(g, nullptr);
    EXPECT_GT(g->distance, 2000);
    if (g->dustboxKicked == 0) ExpectApart(*g, "after the run");
    int street[11], clouds[10];
    std::copy(std::begin(g->sceneryX), std::end(g->sceneryX), street);
    for (int i = 0; i < 5; ++i) clouds[i] = g->cloudX[i], clouds[5 + i] = g->cloudY[i];

    testing_support::RunGame(setup);
    g = LiveScene();
    ASSERT_NE(g, nullptr);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(g->sceneryX[i], street[i]) << i;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(g->cloudX[i], clouds[i]) << i;
        EXPECT_EQ(g->cloudY[i], clouds[5 + i]) << i;
    }
}
