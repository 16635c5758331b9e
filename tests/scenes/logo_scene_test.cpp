// The opening, frame by frame, through scripted headless runs.
#include "scenes/logo_scene.h"
#include "scenes/title_scene.h"
#include "app/game_app.h"
#include "support/game_run.h"
#include "support/png.h"

using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

LogoScene* Logo() {
    return dynamic_cast<LogoScene*>(GameApp::Get().scene);
}

LogoScene After(long frames) {
    RunSetup setup;
    setup.frames = frames;
    RunGame(setup);
    LogoScene* logo = Logo();
    EXPECT_NE(logo, nullptr);
    return logo ? *logo : LogoScene();
}

}  // namespace

class LogoTimeline : public GameRunTest {};

TEST_F(LogoTimeline, LogoFadesInHoldsAndFadesOut) {
    EXPECT_EQ(After(1).logoAlpha, 2);
    EXPECT_EQ(After(126).logoAlpha, 252);
    EXPECT_EQ(After(150).logoAlpha, 252);
    EXPECT_EQ(After(151).logoAlpha, 250);
    LogoScene end = After(276);
    EXPECT_EQ(end.logoAlpha, 0);
    EXPECT_EQ(end.frame, 277);
    // It never goes below zero afterwards.
    EXPECT_EQ(After(400).logoAlpha, 0);
}

TEST_F(LogoTimeline, TitleSlidesDownThenTheSheetFades) {
    EXPECT_EQ(After(260).titleY, -250);
    EXPECT_EQ(After(261).titleY, -249);
    LogoScene down = After(510);
    EXPECT_EQ(down.titleY, 0);
    EXPECT_EQ(down.maskAlpha, 255 - 11);  // the sheet started when the title reached -10, in frame 500
    EXPECT_EQ(After(499).maskAlpha, 255);
    EXPECT_EQ(After(600).titleY, 0);
}

TEST_F(LogoTimeline, SignStartsBlinkingWhenTheSheetIsGone) {
    LogoScene before = After(753);
    EXPECT_EQ(before.maskAlpha, 1);
    EXPECT_EQ(before.blinkPhase, 0);
    EXPECT_EQ(before.pushKeyAlpha, 0);
    LogoScene first = After(754);
    EXPECT_EQ(first.maskAlpha, 0);
    EXPECT_EQ(first.blinkPhase, 1);
    EXPECT_EQ(first.pushKeyAlpha, 5);
    // Up to 250, then down to 0 and up again: a period of 100 frames.
    EXPECT_EQ(After(753 + 50).pushKeyAlpha, 250);
    LogoScene top = After(753 + 51);
    EXPECT_EQ(top.pushKeyAlpha, 250);
    EXPECT_EQ(top.blinkPhase, 2);
    EXPECT_EQ(After(753 + 101).pushKeyAlpha, 0);
    EXPECT_EQ(After(753 + 102).pushKeyAlpha, 5);
    EXPECT_EQ(After(753 + 203).pushKeyAlpha, 5);
}

class LogoInput : public GameRunTest {};

TEST_F(LogoInput, EnterInTheFirstFrameLeavesAtOnce) {
    RunSetup setup;
    setup.frames = 50;
    setup.script = "1 RETURN\n";
    setup.screenshots = {{1, testing_support::TempPath("logo-enter-1.png")}};
    RunGame(setup);
    // The title scene took over at the end of the first frame...
    EXPECT_NE(dynamic_cast<TitleScene*>(GameApp::Get().scene), nullptr);
    // ...whose picture was still the opening's: the opaque white sheet, the logo at alpha 2 on it.
    EXPECT_EQ(testing_support::PixelAt(setup.screenshots[0].file, 300 + 20, 150 + 20), 0xFFFFFFFFu);
}

TEST_F(LogoInput, EnterLaterActsInTheFrameItIsDown) {
    RunSetup setup;
    setup.frames = 500;
    setup.script = "300-310 RETURN\n";
    RunGame(setup);
    auto* title = dynamic_cast<TitleScene*>(GameApp::Get().scene);
    ASSERT_NE(title, nullptr);
    // The title has seen 200 frames since frame 301: its hand turned 7 degrees in each.
    EXPECT_EQ(title->handAngle, 180 + 7 * 200);
}

TEST_F(LogoInput, OnlyButtonThreeAloneLeaves) {
    RunSetup setup;
    setup.frames = 40;
    setup.script = "1-20 JB=5   # buttons 1 and 3 together\n21-30 JB=2\n";
    RunGame(setup);
    EXPECT_NE(Logo(), nullptr);

    setup.script = "1-20 JB=5\n25 JB=4\n";
    RunGame(setup);
    auto* title = dynamic_cast<TitleScene*>(GameApp::Get().scene);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->handAngle, 180 + 7 * 15);  // title frames 26 to 40
}

TEST_F(LogoInput, HalfWayStickAndOtherKeysDoNothing) {
    RunSetup setup;
    setup.frames = 30;
    setup.script = "1-30 JX=1000 SPACE ESCAPE A\n";
    RunGame(setup);
    EXPECT_NE(Logo(), nullptr);
    EXPECT_EQ(platform::CurrentFrame(), 30);
}

class LogoPicture : public GameRunTest {};

TEST_F(LogoPicture, ClockShowsSevenOClock) {
    RunSetup setup;
    setup.frames = 760;
    const std::string shot = testing_support::TempPath("logo-760.png");
    setup.screenshots = {{760, shot}};
    RunGame(setup);
    using testing_support::PixelAt;
    // The game window's client area starts at (300, 150); the hands turn about (311, 110) of it.
    const int ox = 300, oy = 150;
    // Long hand straight up to twelve.
    EXPECT_EQ(PixelAt(shot, ox + 311, oy + 80), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(shot, ox + 311, oy + 40), 0xFFFF0000u);
    EXPECT_NE(PixelAt(shot, ox + 311, oy + 140), 0xFFFF0000u);
    // Short hand down and to the left: seven, not five.
    EXPECT_EQ(PixelAt(shot, ox + 291, oy + 144), 0xFFFF0000u);
    EXPECT_NE(PixelAt(shot, ox + 331, oy + 144), 0xFFFF0000u);
    // The sheet is gone: the blue background shows, and the desktop stays outside the window.
    EXPECT_EQ(PixelAt(shot, ox + 600, oy + 450), 0xFF0000FFu);
    EXPECT_NE(PixelAt(shot, 100, 400), 0xFF0000FFu);
    // The push-key sign at (205, 310) blinks yellow over the background.
    // In frame 760 it is at alpha 35: a little yellow over the blue.
    Uint32 sign = PixelAt(shot, ox + 300, oy + 340);
    EXPECT_NEAR(int((sign >> 16) & 0xFF), 35, 2);
    EXPECT_NEAR(int(sign & 0xFF), 220, 2);
}

TEST_F(LogoPicture, MissingPicturesLeaveEmptySlots) {
    RunSetup setup;
    setup.frames = 5;
    setup.dataDir = testing_support::TempPath("empty-data");
    testing::internal::CaptureStderr();
    RunGame(setup);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(Logo(), nullptr);
    EXPECT_EQ(platform::CurrentFrame(), 5);
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(GameApp::Get().textures[i], nullptr) << i;
    EXPECT_NE(err.find("data folder not found"), std::string::npos) << err;
}
