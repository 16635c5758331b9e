// The real window is drawn anew only where the screen changed: over a replay of the game, what that
// leaves on screen is, frame by frame, what a whole composition draws.
#include "platform/desktop/desktop_state.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace desktop = platform::desktop;

namespace {

// The first differing pixel of two surfaces of one size, or -1.
long FirstDifference(const SDL_Surface* a, const SDL_Surface* b) {
    for (int y = 0; y < a->h; ++y) {
        const auto* ra = static_cast<const Uint32*>(a->pixels) + std::ptrdiff_t(y) * a->pitch / 4;
        const auto* rb = static_cast<const Uint32*>(b->pixels) + std::ptrdiff_t(y) * b->pitch / 4;
        if (std::memcmp(ra, rb, std::size_t(a->w) * 4) != 0)
            for (int x = 0; x < a->w; ++x)
                if (ra[x] != rb[x]) return long(y) * a->w + x;
    }
    return -1;
}

// Composes every frame of a replay only where it changed on a display of w x h at the scale, and every
// `every` frames whole to compare; counts the frames, those that drew less than half of the display,
// and those compared that came out different.
struct ComposeComparison {
    long frames = 0, small = 0, mismatches = 0;
    std::string firstMismatch;
};

ComposeComparison CompareCompositions(long frames, int w, int h, double scale, long every = 1) {
    ComposeComparison result;
    desktop::OwnedRenderer changes, whole;
    desktop::ScreenMemory memory;
    testing_support::RunSetup setup = testing_support::WholeRun(frames);
    setup.screenWidth = w;
    setup.screenHeight = h;
    setup.scale = scale;
    setup.atFrameEnd = [&] {
        EXPECT_EQ(desktop::DisplayWidth(), w);
        if (!changes.renderer) {
            ASSERT_TRUE(changes.OpenSoftware(w, h) && whole.OpenSoftware(w, h));
        }
        const std::vector<SDL_Rect> areas = desktop::ComposeChanges(changes, memory);
        SDL_RenderPresent(changes.renderer.get());
        ++result.frames;
        long covered = 0;
        for (const SDL_Rect& r : areas) covered += long(r.w) * r.h;
        if (covered * 2 < long(w) * h) ++result.small;
        if (result.frames % every != 0) return;
        desktop::Compose(whole);
        SDL_RenderPresent(whole.renderer.get());
        const long at = FirstDifference(changes.surface.get(), whole.surface.get());
        if (at >= 0 && result.mismatches++ == 0) {
            std::ostringstream why;
            why << "frame " << result.frames << ": pixel (" << at % w << ", " << at / w << ") differs";
            result.firstMismatch = why.str();
        }
    };
    testing_support::RunGame(setup);
    return result;
}

}  // namespace

// The runs end as every run of the tests does (the fixture stops the platform), before the program's
// objects go.
class IncrementalCompose : public GameRunTest {};

TEST_F(IncrementalCompose, LeavesWhatAWholeCompositionDrawsOverAReplay) {
    // The opening, the title, and the first leg with passers-by flying off.
    const ComposeComparison c = CompareCompositions(3300, 1280, 720, 0);
    EXPECT_EQ(c.frames, 3300);
    EXPECT_EQ(c.mismatches, 0) << c.firstMismatch;
    // And it is worth it: most frames change less than half of the screen (the game window is a
    // third of this one).
    EXPECT_GT(c.small * 2, c.frames) << c.small << " of " << c.frames << " frames drew less than half";
}

// Drawn larger, the game's windows come from their canvases and the desktop from the display's own
// picture: still the same as a whole composition, at a whole-number scale and at a fraction (on a
// display that leaves the game a smaller screen than the replay's: the windows reach past its edges).
TEST_F(IncrementalCompose, LeavesWhatAWholeCompositionDrawsAtAScale) {
    for (const double scale : {2.0, 1.5}) {
        const ComposeComparison c = CompareCompositions(3300, 1920, 1080, scale, 3);
        EXPECT_EQ(c.frames, 3300) << "at " << scale;
        EXPECT_EQ(c.mismatches, 0) << "at " << scale << ": " << c.firstMismatch;
        EXPECT_GT(c.small * 2, c.frames) << "at " << scale << ": " << c.small << " of " << c.frames;
    }
}

// Only the items that changed, and whatever a cut would draw wrongly, are drawn again.
TEST_F(IncrementalCompose, ChangedAreasCoverWhatChangedAndTakeInWhatACutWouldSpoil) {
    auto item = [](SDL_Rect box, bool wholeOnly, const char* key) {
        return desktop::ScreenItem{box, wholeOnly, key};
    };
    const std::vector<desktop::ScreenItem> before = {item({0, 0, 100, 100}, false, "ground"),
                                                     item({10, 10, 5, 5}, false, "a"),
                                                     item({50, 50, 30, 30}, true, "scaled")};
    std::vector<desktop::ScreenItem> now = before;
    EXPECT_TRUE(desktop::ChangedAreas(before, now, 100, 100).empty());
    // A moved sprite: its old and new places.
    now[1] = item({20, 10, 5, 5}, false, "a");
    auto areas = desktop::ChangedAreas(before, now, 100, 100);
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_TRUE(areas[0].x <= 10 && areas[0].x + areas[0].w >= 25);
    // A change that cuts into a scaled picture takes all of it.
    now[1] = item({45, 45, 10, 10}, false, "a");
    areas = desktop::ChangedAreas(before, now, 100, 100);
    bool scaledWhole = false;
    for (const SDL_Rect& r : areas)
        scaledWhole = scaledWhole || (r.x <= 50 && r.y <= 50 && r.x + r.w >= 80 && r.y + r.h >= 80);
    EXPECT_TRUE(scaledWhole);
    // An item gone or added counts where it was or is; nothing reaches past the screen.
    now.push_back(item({90, 90, 40, 40}, false, "new"));
    areas = desktop::ChangedAreas(before, now, 100, 100);
    for (const SDL_Rect& r : areas) EXPECT_TRUE(r.x + r.w <= 100 && r.y + r.h <= 100);
}
