// The game's screen on a display of another size: the scale rule, the system settings it reads, and
// a run at a scale, which must play as the same game on the smaller screen, drawn larger.
#include "harness/state_dump.h"
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/screen_scale.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

namespace sdl = platform::sdl;

namespace desktop = platform::desktop;

TEST(ScreenScale, TheGameSeesTheDisplayOverTheScaleAndItsFrameWindowAlwaysFits) {
    // 4K at 2 is a 1080p screen; a fraction leaves whole pixels.
    platform::ScreenFit fit = platform::FitScreen(3840, 2160, 2.0, 940, 630);
    EXPECT_EQ(fit.scale, 2.0);
    EXPECT_EQ(fit.width, 1920);
    EXPECT_EQ(fit.height, 1080);
    fit = platform::FitScreen(2880, 1620, 1.5, 940, 630);
    EXPECT_EQ(fit.width, 1920);
    EXPECT_EQ(fit.height, 1080);
    // Nothing asked for is 1.
    fit = platform::FitScreen(1920, 1080, 0, 940, 630);
    EXPECT_EQ(fit.scale, 1.0);
    EXPECT_EQ(fit.width, 1920);
    // A scale that would cut the frame window off shrinks to the hundredth that fits: 800x600 plays
    // whole, and so does a phone held upright at its own scale of 3.
    for (const auto& display : {std::pair{800, 600}, std::pair{1170, 2532}, std::pair{1366, 768}}) {
        for (const double wanted : {1.0, 2.0, 3.0}) {
            fit = platform::FitScreen(display.first, display.second, wanted, 940, 630);
            EXPECT_GE(fit.width, 940) << display.first << "x" << display.second << " at " << wanted;
            EXPECT_GE(fit.height, 630) << display.first << "x" << display.second << " at " << wanted;
            EXPECT_LE(fit.scale, wanted);
            // Not smaller than it must: a hundredth more would not fit.
            const double more = fit.scale + 0.01;
            if (fit.scale < wanted) {
                EXPECT_TRUE(display.first / more < 940 || display.second / more < 630) << fit.scale;
            }
        }
    }
    fit = platform::FitScreen(800, 600, 1.0, 940, 630);
    EXPECT_DOUBLE_EQ(fit.scale, 0.85);
    // A run that names no least screen gets what it asked for, however small.
    fit = platform::FitScreen(1280, 720, 2.0);
    EXPECT_EQ(fit.width, 640);
    EXPECT_EQ(fit.height, 360);
}

TEST(ScreenScale, ReadsXftDpiAndGdkScale) {
    EXPECT_DOUBLE_EQ(desktop::ScaleFromXResources("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"),
                     2.0);
    EXPECT_DOUBLE_EQ(desktop::ScaleFromXResources("Xft.dpi: 144"), 1.5);
    // Not there, not a number, out of reason, or another resource that ends the same.
    EXPECT_EQ(desktop::ScaleFromXResources(nullptr), 0.0);
    EXPECT_EQ(desktop::ScaleFromXResources(""), 0.0);
    EXPECT_EQ(desktop::ScaleFromXResources("Xft.dpi:\tlarge\n"), 0.0);
    EXPECT_EQ(desktop::ScaleFromXResources("Xft.dpi:\t0\n"), 0.0);
    EXPECT_EQ(desktop::ScaleFromXResources("*Xft.dpi:\t192\nMyXft.dpi:\t192\n"), 0.0);
    SDL_setenv("GDK_SCALE", "2", 1);
    EXPECT_EQ(desktop::ScaleFromEnvironment(), 2.0);
    SDL_setenv("GDK_SCALE", "two", 1);
    EXPECT_EQ(desktop::ScaleFromEnvironment(), 0.0);
    SDL_setenv("GDK_SCALE", "", 1);
}

namespace {

struct ScaledRun {
    std::string dump;
    sdl::SurfacePtr shot;  // the display at the end
};

// The first leg of the whole-run replay, to where the passers-by have flown off (frame 3300), on a
// display of w x h at the scale.
ScaledRun PlayFirstLeg(int w, int h, double scale) {
    ScaledRun run;
    testing_support::RunSetup setup = testing_support::WholeRun(3300);
    setup.screenWidth = w;
    setup.screenHeight = h;
    setup.scale = scale;
    testing_support::RunGame(setup);
    run.dump = DumpState();
    if (SDL_Surface* screen = desktop::ComposeToSurface())
        run.shot.reset(SDL_ConvertSurfaceFormat(screen, SDL_PIXELFORMAT_ARGB8888, 0));
    testing_support::EndRun();
    return run;
}

Uint32 PixelAt(const SDL_Surface* s, int x, int y) {
    return static_cast<const Uint32*>(s->pixels)[std::ptrdiff_t(y) * s->pitch / 4 + x];
}

}  // namespace

TEST(ScreenScale, ADisplayTwiceAsLargePlaysTheSameGameWithItsWindowsTwiceAsLarge) {
    const ScaledRun plain = PlayFirstLeg(1280, 720, 0);
    const ScaledRun doubled = PlayFirstLeg(2560, 1440, 2.0);
    EXPECT_NE(plain.dump.find("\"frame\": 3300"), std::string::npos) << plain.dump.substr(0, 80);
    EXPECT_EQ(plain.dump, doubled.dump);
    ASSERT_TRUE(plain.shot && doubled.shot);
    ASSERT_EQ(doubled.shot->w, 2560);
    // The game window (its client area at 300,150, 640x480) shows each of its pixels as a 2x2 block.
    long differing = 0;
    for (int y = 150; y < 630; y += 3)
        for (int x = 300; x < 940; x += 3)
            for (int d = 0; d < 4; ++d)
                differing += PixelAt(plain.shot.get(), x, y) !=
                             PixelAt(doubled.shot.get(), 2 * x + d % 2, 2 * y + d / 2);
    EXPECT_EQ(differing, 0);
}

// A window resized, maximized or switched to full screen keeps the game's screen whole: as large as
// a whole number of times fits, else the start's scale where it still fits, else smaller; centred.
TEST(ScreenScale, AResizedWindowShowsTheWholeScreenCentredAtAWholeScaleWhereOneFits) {
    // 1280x720 in 1600x1000: once, centred; in 2560x1600 twice; in 3840x2160 three times.
    desktop::ViewFit fit = desktop::FitView(1600, 1000, 1280, 720, 1.0);
    EXPECT_EQ(fit.scale, 1.0);
    EXPECT_EQ(fit.view.x, 160);
    EXPECT_EQ(fit.view.y, 140);
    EXPECT_EQ(fit.view.w, 1280);
    EXPECT_EQ(fit.view.h, 720);
    EXPECT_EQ(desktop::FitView(2560, 1600, 1280, 720, 1.0).scale, 2.0);
    EXPECT_EQ(desktop::FitView(3840, 2160, 1280, 720, 1.0).scale, 3.0);
    // Started at 1.5 (a system's scale), the window back at that size shows it as it was.
    fit = desktop::FitView(2880, 1620, 1920, 1080, 1.5);
    EXPECT_EQ(fit.scale, 1.5);
    EXPECT_EQ(fit.view.x, 0);
    EXPECT_EQ(fit.view.w, 2880);
    // Smaller than the screen: the hundredth that fits, never cut, and never nothing.
    fit = desktop::FitView(1000, 600, 1280, 720, 1.0);
    EXPECT_EQ(fit.scale, 0.78);
    EXPECT_LE(fit.view.w, 1000);
    EXPECT_LE(fit.view.h, 600);
    EXPECT_GE(fit.view.x, 0);
    EXPECT_GT(desktop::FitView(1, 1, 1280, 720, 1.0).view.w, 0);
}

// With the screen in the middle of a larger window, the game's pixels map to the window's and back.
TEST(ScreenScale, TheMouseOnAWindowOfAnotherSizeFindsTheSamePointOfTheGame) {
    desktop::State& s = desktop::TheScreen();
    const int w = s.displayW, h = s.displayH, sw = s.screenW, sh = s.screenH;
    const SDL_Rect view = s.view;
    const double scale = s.scale;
    s.screenW = 1280, s.screenH = 720, s.scale = 1;
    s.displayW = 2560, s.displayH = 1600;
    s.view = desktop::FitView(2560, 1600, 1280, 720, 1.0).view;  // twice, 80 down
    EXPECT_EQ(desktop::ToDisplayX(300), 600);
    EXPECT_EQ(desktop::ToDisplayY(129), 80 + 258);
    EXPECT_EQ(desktop::ToDisplaySize(13), 26);
    int x = 601, y = 80 + 259;
    desktop::WindowToScreen(&x, &y);
    EXPECT_EQ(x, 300);
    EXPECT_EQ(y, 129);
    s.displayW = w, s.displayH = h, s.screenW = sw, s.screenH = sh, s.view = view, s.scale = scale;
}
