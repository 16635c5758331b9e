// Keyboard and joystick sampling as the scenes see it.
#include "shell/game_app.h"
#include "shell/input.h"
#include "support/game_run.h"

using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

// Records what the scene saw in each frame.
struct Seen {
    bool enter, left, right, up, down;
    unsigned buttons, x, y;
};
std::vector<Seen> g_seen;

class Recorder : public SceneBase {
public:
    void Input() override {
        const JOYINFO& j = GameApp::Get().joyInfo;
        g_seen.push_back({KeyDown(VK_RETURN), JoyLeft(), JoyRight(), JoyUp(), JoyDown(), JoyButtons(), j.wXpos,
                          j.wYpos});
    }
    void Update() override {}
    void Draw() override {}
    void ChangeScene() override {}
};

void Play(const std::string& script, long frames) {
    g_seen.clear();
    RunSetup setup;
    setup.frames = frames;
    setup.script = script;
    setup.make = [] { return new Recorder; };
    RunGame(setup);
}

}  // namespace

class InputSampling : public GameRunTest {};

TEST_F(InputSampling, KeysAreLevelsSampledEveryFrame) {
    Play("2-4 RETURN\n", 6);
    ASSERT_EQ(g_seen.size(), 6u);
    const bool expected[] = {false, true, true, true, false, false};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(g_seen[i].enter, expected[i]) << "frame " << i + 1;
}

TEST_F(InputSampling, WithoutAJoystickTheStickStaysCentred) {
    Play("1-3 RETURN\n", 3);
    GameApp& app = GameApp::Get();
    EXPECT_EQ(app.joyId, -1);
    EXPECT_EQ(app.joyNoticeShown, 1);
    for (const Seen& s : g_seen) {
        EXPECT_EQ(s.x, 32511u);
        EXPECT_EQ(s.y, 32511u);
        EXPECT_EQ(s.buttons, 0u);
        EXPECT_FALSE(s.left || s.right || s.up || s.down);
    }
    EXPECT_TRUE(platform::MessageBoxes().empty());
}

TEST_F(InputSampling, DirectionsCountOnlyAtTheExtremes) {
    Play("1 JX=1000\n2 JX=0\n3 JX=65534\n4 JX=65535\n5 JY=0\n6 JY=65535 JX=0\n7 JB=6\n", 8);
    GameApp& app = GameApp::Get();
    EXPECT_EQ(app.joyId, 0);
    ASSERT_EQ(g_seen.size(), 8u);
    EXPECT_FALSE(g_seen[0].left);
    EXPECT_TRUE(g_seen[1].left);
    EXPECT_FALSE(g_seen[2].right);
    EXPECT_TRUE(g_seen[3].right);
    EXPECT_TRUE(g_seen[4].up);
    EXPECT_TRUE(g_seen[5].down && g_seen[5].left);
    EXPECT_EQ(g_seen[6].buttons, 6u);
    // An attached joystick reads its real centre once sampled.
    EXPECT_EQ(g_seen[7].x, 32767u);
    EXPECT_EQ(g_seen[7].buttons, 0u);
}
