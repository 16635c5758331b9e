// Keyboard and joystick sampling as the scenes see it.
#include "app/game_app.h"
#include "platform/resources.h"
#include "app/input.h"
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
        g_seen.push_back(
            {KeyDown(VK_RETURN), JoyLeft(), JoyRight(), JoyUp(), JoyDown(), JoyButtons(), j.wXpos, j.wYpos});
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

TEST_F(InputSampling, ClientAreasShowTheProhibitionCursor) {
    Play("", 2);
    GameApp& app = GameApp::Get();
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR prohibited = LoadCursorA(app.instance, MAKEINTRESOURCEA(106));
    ASSERT_NE(prohibited, nullptr);
    ASSERT_NE(prohibited, arrow);
    // Over a client area the window procedure sets cursor 106; over a caption the default arrow.
    SendMessageA(app.gameWindow, WM_SETCURSOR, 0, HTCLIENT | (WM_MOUSEMOVE << 16));
    EXPECT_EQ(SetCursor(nullptr), prohibited);
    SendMessageA(app.frameWindow, WM_SETCURSOR, 0, HTCAPTION | (WM_MOUSEMOVE << 16));
    EXPECT_EQ(SetCursor(nullptr), arrow);
    // The picture: a ring with a bar from upper left to lower right, hot spot in its middle.
    const platform::CursorResource* res = platform::FindCursorResource(106);
    ASSERT_NE(res, nullptr);
    EXPECT_EQ(res->hotX, 15);
    EXPECT_EQ(res->hotY, 15);
    EXPECT_EQ(res->rows[15][15], '#');  // the bar crosses the middle
    EXPECT_EQ(res->rows[10][10], '#');  // ... from the upper left
    EXPECT_NE(res->rows[10][20], '#');  // ... not from the upper right
    EXPECT_EQ(res->rows[15][3], '#');   // the ring
    EXPECT_EQ(res->rows[0][0], ' ');    // transparent corners
    EXPECT_EQ(platform::FindCursorResource(107), nullptr);
}
