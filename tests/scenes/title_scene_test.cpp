// The title menu through scripted headless runs.
#include "game/game_scene.h"
#include "scenes/option_scene.h"
#include "scenes/title_scene.h"
#include "app/game_app.h"
#include "support/game_run.h"

using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

TitleScene* Title() {
    return dynamic_cast<TitleScene*>(GameApp::Get().scene);
}

// Runs the title for a number of frames with a script and returns a copy of its state.
struct TitleState {
    int cursor, captionX, fading, fadeAlpha, nextScene, inputLock;
};
TitleState Play(const std::string& script, long frames) {
    RunSetup setup;
    setup.scene = "Title";
    setup.frames = frames;
    setup.script = script;
    RunGame(setup);
    TitleScene* t = Title();
    EXPECT_NE(t, nullptr) << "the title is gone after " << frames << " frames of " << script;
    if (!t) return {};
    return {t->cursor, t->captionX, t->fading, t->fadeAlpha, t->nextScene, t->inputLock};
}

}  // namespace

class TitleMenu : public GameRunTest {};

TEST_F(TitleMenu, IgnoresEveryKeyInItsFirstElevenFrames) {
    TitleState s = Play("1-11 RETURN DOWN UP JB=2\n", 11);
    EXPECT_EQ(s.cursor, 0);
    EXPECT_EQ(s.fading, 0);
    EXPECT_EQ(s.nextScene, -1);
    EXPECT_EQ(s.inputLock, 0);
    // The twelfth frame is the first that listens.
    EXPECT_EQ(Play("1-12 DOWN\n", 12).cursor, 1);
}

TEST_F(TitleMenu, HeldDownStepsEveryElevenFramesAndWraps) {
    const std::string down = "1-100 DOWN\n";
    EXPECT_EQ(Play(down, 22).cursor, 1);
    EXPECT_EQ(Play(down, 23).cursor, 2);
    EXPECT_EQ(Play(down, 33).cursor, 2);
    EXPECT_EQ(Play(down, 34).cursor, 0);
    EXPECT_EQ(Play(down, 45).cursor, 1);
    EXPECT_EQ(Play("12-30 UP\n", 12).cursor, 2);
    EXPECT_EQ(Play("12-30 UP\n", 23).cursor, 1);
    // The stick at its extremes moves it too; half-way does not.
    EXPECT_EQ(Play("12 JY=65535\n", 12).cursor, 1);
    EXPECT_EQ(Play("12 JY=65000\n", 12).cursor, 0);
}

TEST_F(TitleMenu, CaptionStartsAgainAfterAMove) {
    EXPECT_EQ(Play("", 11).captionX, 640 - 22);
    TitleState moved = Play("12 DOWN\n", 12);
    EXPECT_EQ(moved.cursor, 1);
    EXPECT_EQ(moved.captionX, 638);
    // Entry 1's caption restarts once it is past -323.
    TitleScene* t = nullptr;
    RunSetup setup;
    setup.scene = "Title";
    setup.script = "12 DOWN\n";
    setup.frames = 12 + 482;  // 638 - 2 * 482 = -326: restarted at 640 in that frame's update, then -2
    RunGame(setup);
    t = Title();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->captionX, 638);
    EXPECT_EQ(t->captionTop, 32);
    EXPECT_EQ(t->captionBottom, 64);
}

TEST_F(TitleMenu, StartFadesEightyFiveFramesThenAsksForTheGame) {
    TitleState s = Play("12-20 RETURN\n", 95);
    EXPECT_EQ(s.fading, 1);
    EXPECT_EQ(s.fadeAlpha, 252);
    EXPECT_EQ(s.nextScene, -1);
    // In the 85th frame of the fade the request stands, and the run begins.
    RunSetup setup;
    setup.scene = "Title";
    setup.frames = 12 + 84;
    setup.script = "12 RETURN\n";
    RunGame(setup);
    EXPECT_NE(dynamic_cast<GameScene*>(GameApp::Get().scene), nullptr);
    setup.frames = 12 + 83;
    RunGame(setup);
    EXPECT_NE(Title(), nullptr);
}

TEST_F(TitleMenu, FadeDoesNotLockTheMenu) {
    TitleState s = Play("12 RETURN\n13-40 DOWN\n", 30);
    EXPECT_EQ(s.fading, 1);
    EXPECT_EQ(s.cursor, 2);
}

TEST_F(TitleMenu, OptionEntrySwitchesInTheSameFrame) {
    RunSetup setup;
    setup.scene = "Title";
    setup.frames = 23;
    setup.script = "12 DOWN\n23 RETURN\n";
    RunGame(setup);
    auto* option = dynamic_cast<OptionScene*>(GameApp::Get().scene);
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->gaugeRight, 1024);
}

TEST_F(TitleMenu, QuitEntryEndsTheProgram) {
    RunSetup setup;
    setup.scene = "Title";
    setup.frames = 100;
    setup.script = "12 UP\n23 RETURN\n";
    EXPECT_EQ(RunGame(setup), 0);
    EXPECT_EQ(platform::CurrentFrame(), 23);
    EXPECT_EQ(GameApp::Get().scene, nullptr);
    EXPECT_FALSE(IsWindow(GameApp::Get().mainWindow));
    EXPECT_TRUE(platform::MessageBoxes().empty());
}

TEST_F(TitleMenu, JoystickButtonTwoCountsOnlyAlone) {
    RunSetup setup;
    setup.scene = "Title";
    setup.frames = 40;
    setup.script = "12 JY=0\n23-30 JB=6\n";
    RunGame(setup);
    ASSERT_NE(Title(), nullptr);
    EXPECT_EQ(Title()->cursor, 2);
    setup.script = "12 JY=0\n23-30 JB=6\n31 JB=2\n";
    RunGame(setup);
    EXPECT_EQ(platform::CurrentFrame(), 31);
    EXPECT_EQ(GameApp::Get().scene, nullptr);
}

TEST_F(TitleMenu, ClockHandsKeepTurning) {
    RunSetup setup;
    setup.scene = "Title";
    setup.frames = 50;
    RunGame(setup);
    ASSERT_NE(Title(), nullptr);
    EXPECT_EQ(Title()->handAngle, 180 + 350);
}
