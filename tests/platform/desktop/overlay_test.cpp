// The pause and the help book over the game: what keys, clicks and pads do to them, what only
// counts once it opened, and what the game's input keeps between two samples (a tap, the keys that
// ask for a pause).
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/overlay.h"
#include "platform/replay/virtual_time.h"

#include <gtest/gtest.h>

namespace desktop = platform::desktop;
using desktop::OverlayKind;
using desktop::OverlayView;

namespace {

SDL_Event Key(SDL_Scancode key, Uint32 at = 100, bool down = true) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.scancode = key;
    e.key.timestamp = at;
    return e;
}

SDL_Event Mouse(Uint32 type, const SDL_Rect& on, Uint32 at = 100) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = on.x + on.w / 2;
    e.button.y = on.y + on.h / 2;
    e.button.timestamp = at;
    return e;
}

SDL_Event PadButton(SDL_GameControllerButton b, Uint32 at = 100) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERBUTTONDOWN;
    e.cbutton.button = Uint8(b);
    e.cbutton.timestamp = at;
    return e;
}

SDL_Event Stick(Sint16 value) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.axis = SDL_CONTROLLER_AXIS_LEFTY;
    e.caxis.value = value;
    return e;
}

OverlayView Opened(OverlayKind kind, int pages = 7) {
    OverlayView v;
    v.kind = kind;
    v.openedAt = 50;
    v.pages = pages;
    v.area = SDL_Rect{300, 150, 640, 480};
    if (kind == OverlayKind::kPause) {
        for (int i = 0; i < desktop::kPauseItems; ++i)
            v.items.push_back(SDL_Rect{370, 250 + i * 46, 240, 36});
    } else {
        v.panel = SDL_Rect{440, 152, desktop::kBookPageW, desktop::kBookPageH};
        v.items = {SDL_Rect{310, 370, 120, 40}, SDL_Rect{810, 370, 120, 40}, SDL_Rect{810, 160, 120, 32}};
    }
    return v;
}

}  // namespace

TEST(Pause, TheMenuIsChosenByKeysClicksAndPadsAndOnlyByWhatCameAfterItOpened) {
    {
        OverlayView v = Opened(OverlayKind::kPause);
        desktop::OverlayEvent(v, Key(SDL_SCANCODE_UP));  // from Resume up wraps round to Quit
        EXPECT_EQ(v.focus, desktop::kQuit);
        desktop::OverlayEvent(v, Key(SDL_SCANCODE_DOWN));
        desktop::OverlayEvent(v, Key(SDL_SCANCODE_DOWN));
        desktop::OverlayEvent(v, Key(SDL_SCANCODE_DOWN));
        EXPECT_EQ(v.result, -1);
        desktop::OverlayEvent(v, Key(SDL_SCANCODE_RETURN));
        EXPECT_EQ(v.result, desktop::kSettings);
    }
    {
        // The P that paused (pressed before the pause opened) does not resume it; a new one does.
        OverlayView v = Opened(OverlayKind::kPause);
        desktop::OverlayEvent(v, Key(SDL_SCANCODE_P, 40));
        EXPECT_EQ(v.result, -1);
        desktop::OverlayEvent(v, Key(SDL_SCANCODE_P, 60));
        EXPECT_EQ(v.result, desktop::kResume);
    }
    {
        // A click is a press and a release on an item; a release alone (of a press from before) is none.
        OverlayView v = Opened(OverlayKind::kPause);
        desktop::OverlayEvent(v, Mouse(SDL_MOUSEBUTTONUP, v.items[desktop::kQuit]));
        EXPECT_EQ(v.result, -1);
        desktop::OverlayEvent(v, Mouse(SDL_MOUSEBUTTONDOWN, v.items[desktop::kQuit], 40));
        desktop::OverlayEvent(v, Mouse(SDL_MOUSEBUTTONUP, v.items[desktop::kQuit]));
        EXPECT_EQ(v.result, -1);
        desktop::OverlayEvent(v, Mouse(SDL_MOUSEBUTTONDOWN, v.items[desktop::kQuit]));
        desktop::OverlayEvent(v, Mouse(SDL_MOUSEBUTTONUP, v.items[desktop::kQuit]));
        EXPECT_EQ(v.result, desktop::kQuit);
    }
    {
        // A pad: the stick moves once a push (it must come back first), A chooses, B resumes.
        OverlayView v = Opened(OverlayKind::kPause);
        desktop::OverlayEvent(v, Stick(30000));
        desktop::OverlayEvent(v, Stick(32000));
        EXPECT_EQ(v.focus, desktop::kBackToTitle);
        desktop::OverlayEvent(v, Stick(0));
        desktop::OverlayEvent(v, Stick(-30000));
        EXPECT_EQ(v.focus, desktop::kResume);
        desktop::OverlayEvent(v, PadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN));
        desktop::OverlayEvent(v, PadButton(SDL_CONTROLLER_BUTTON_A));
        EXPECT_EQ(v.result, desktop::kBackToTitle);
        OverlayView w = Opened(OverlayKind::kPause);
        desktop::OverlayEvent(w, PadButton(SDL_CONTROLLER_BUTTON_B));
        EXPECT_EQ(w.result, desktop::kResume);
    }
}

TEST(HelpBook, PagesTurnWithinTheBookAndEscapeClosesIt) {
    OverlayView v = Opened(OverlayKind::kHelp, 3);
    desktop::OverlayEvent(v, Key(SDL_SCANCODE_LEFT));  // before the first page: nothing
    EXPECT_EQ(v.page, 0);
    desktop::OverlayEvent(v, Key(SDL_SCANCODE_RETURN));
    desktop::OverlayEvent(v, Key(SDL_SCANCODE_RIGHT));
    desktop::OverlayEvent(v, Key(SDL_SCANCODE_RIGHT));  // past the last: stays on it, the book open
    EXPECT_EQ(v.page, 2);
    EXPECT_EQ(v.result, -1);
    // The page's left half turns back, the back button too; the pad's shoulder forward.
    desktop::OverlayEvent(v, Mouse(SDL_MOUSEBUTTONDOWN, SDL_Rect{v.panel.x, v.panel.y, 20, 20}));
    desktop::OverlayEvent(v, Mouse(SDL_MOUSEBUTTONUP, SDL_Rect{v.panel.x, v.panel.y, 20, 20}));
    EXPECT_EQ(v.page, 1);
    desktop::OverlayEvent(v, Mouse(SDL_MOUSEBUTTONDOWN, v.items[0]));
    desktop::OverlayEvent(v, Mouse(SDL_MOUSEBUTTONUP, v.items[0]));
    EXPECT_EQ(v.page, 0);
    desktop::OverlayEvent(v, PadButton(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER));
    EXPECT_EQ(v.page, 1);
    desktop::OverlayEvent(v, Key(SDL_SCANCODE_ESCAPE));
    EXPECT_EQ(v.result, desktop::kResume);
    // A picture narrower than seven pages has as many as it holds.
    EXPECT_EQ(desktop::BookPages(2581), 7);
    EXPECT_EQ(desktop::BookPages(4096), 7);
    EXPECT_EQ(desktop::BookPages(361), 1);
    EXPECT_EQ(desktop::BookPages(100), 0);
}

// Between two samples: a key that went down and up reads as down once; P and Pause ask for the
// pause, and nothing is asked while a box is open or in a headless run.
class GameInput : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        wasHeadless = desktop::TheScreen().headless;
        desktop::TheScreen().headless = false;
        desktop::ClearAskedOverlay();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        desktop::TheScreen().tapped.reset();
        desktop::TheScreen().headless = wasHeadless;
        desktop::ClearAskedOverlay();
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
    }
    static void Push(SDL_Event e) {
        e.key.timestamp = SDL_GetTicks();
        SDL_PushEvent(&e);
    }
    bool wasHeadless = true;
};

TEST_F(GameInput, AKeyTappedBetweenTwoSamplesReadsAsDownAndPOrPauseAsksForThePause) {
    Push(Key(SDL_SCANCODE_RETURN));
    Push(Key(SDL_SCANCODE_RETURN, 0, false));
    desktop::PumpEvents();
    BYTE keys[256];
    desktop::KeyboardState(keys);  // between frames: kept for the frame
    EXPECT_TRUE(keys[VK_RETURN] & 0x80);
    desktop::KeyboardState(keys);
    EXPECT_TRUE(keys[VK_RETURN] & 0x80);
    // A box's keys are the box's: closing it forgets what was tapped meanwhile.
    desktop::HoldKeysDownNow();
    desktop::KeyboardState(keys);
    EXPECT_FALSE(keys[VK_RETURN] & 0x80);

    bool automatic = true;
    Push(Key(SDL_SCANCODE_P));
    desktop::PumpEvents();
    EXPECT_EQ(desktop::TakeAskedOverlay(&automatic), OverlayKind::kPause);
    EXPECT_FALSE(automatic);
    EXPECT_EQ(desktop::TakeAskedOverlay(&automatic), OverlayKind::kNone);  // taken once
    Push(Key(SDL_SCANCODE_PAUSE));
    desktop::PumpEvents();
    EXPECT_EQ(desktop::TakeAskedOverlay(nullptr), OverlayKind::kPause);

    // Not over a message box (the game's question runs on), nor in a headless run.
    desktop::MessageBoxView box;
    desktop::SetMessageBox(&box);
    desktop::AskOverlay(OverlayKind::kPause, false);
    desktop::SetMessageBox(nullptr);
    EXPECT_EQ(desktop::TakeAskedOverlay(nullptr), OverlayKind::kNone);
    desktop::TheScreen().headless = true;
    desktop::AskOverlay(OverlayKind::kPause, false);
    EXPECT_EQ(desktop::TakeAskedOverlay(nullptr), OverlayKind::kNone);
}

TEST(PausedTime, TheTimerOfAWindowLeavesOutWhatTheGameDidNotPlay) {
    const std::uint32_t before = platform::replay::WindowTicks();
    platform::replay::TakeOutOfTime(100000);
    const std::uint32_t after = platform::replay::WindowTicks();
    // However long this took, the timer reads 100 s less than it would have.
    EXPECT_GT(std::uint32_t(before - after), 90000u);
    EXPECT_LE(std::uint32_t(before - after), 100000u);
}
