// Message boxes in a real window: one at a time, answered only by fresh presses, and the close
// button's request goes to the box, not to the window under it. Also the rest of the desktop's
// input: the keyboard by virtual key, and cursors across runs of the platform.
#include "platform/desktop/desktop.h"
#include "support/game_run.h"

namespace desktop = platform::desktop;

namespace {

class MessageBoxInput : public DeviceTest {
  protected:
    desktop::MessageBoxView Box(std::vector<int> results) {
        desktop::MessageBoxView v;
        int x = 10;
        for (int r : results) {
            v.buttons.push_back({SDL_Rect{x, 100, 96, 28}, r});
            x += 106;
        }
        v.openedAt = 1000;
        return v;
    }
    static SDL_Event Key(SDL_Keycode key, Uint32 at, bool repeat = false) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.timestamp = at;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym.sym = key;
        return e;
    }
    static SDL_Event Mouse(Uint32 type, int x, int y, Uint32 at) {
        SDL_Event e{};
        e.type = type;
        e.button.timestamp = at;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = x;
        e.button.y = y;
        return e;
    }
    // Pushes one event through the desktop's event pump with the box open.
    void Pump(desktop::MessageBoxView& box, SDL_Event e) {
        desktop::SetMessageBox(&box);
        SDL_PushEvent(&e);
        desktop::PumpEvents();
        desktop::SetMessageBox(nullptr);
    }
};

TEST_F(MessageBoxInput, OnlyKeysPressedAfterItOpenedAnswerIt) {
    desktop::MessageBoxView box = Box({IDYES, IDNO});
    // The Escape that opened the question, still held: its repeats and its own press do nothing.
    desktop::MessageBoxEvent(box, Key(SDLK_ESCAPE, 999));
    desktop::MessageBoxEvent(box, Key(SDLK_ESCAPE, 1000));
    desktop::MessageBoxEvent(box, Key(SDLK_ESCAPE, 1500, true));
    desktop::MessageBoxEvent(box, Key(SDLK_y, 1600, true));
    EXPECT_EQ(box.result, 0);
    desktop::MessageBoxEvent(box, Key(SDLK_ESCAPE, 1700));
    EXPECT_EQ(box.result, IDNO);
    box = Box({IDYES, IDNO});
    desktop::MessageBoxEvent(box, Key(SDLK_y, 1001));
    EXPECT_EQ(box.result, IDYES);
}

TEST_F(MessageBoxInput, AClickIsAPressAndAReleaseAfterItOpened) {
    desktop::MessageBoxView box = Box({IDOK, IDCANCEL});
    // Released over a button, pressed before the box was there: nothing.
    desktop::MessageBoxEvent(box, Mouse(SDL_MOUSEBUTTONDOWN, 20, 110, 900));
    desktop::MessageBoxEvent(box, Mouse(SDL_MOUSEBUTTONUP, 20, 110, 1200));
    EXPECT_EQ(box.result, 0);
    desktop::MessageBoxEvent(box, Mouse(SDL_MOUSEBUTTONDOWN, 120, 110, 1300));
    desktop::MessageBoxEvent(box, Mouse(SDL_MOUSEBUTTONUP, 120, 110, 1350));
    EXPECT_EQ(box.result, IDCANCEL);
}

TEST_F(MessageBoxInput, ACloseRequestGoesToTheBoxNotToTheWindow) {
    ShowWindow(window, SW_SHOW);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_Event altF4 = Key(SDLK_F4, 0);
    altF4.key.keysym.scancode = SDL_SCANCODE_F4;
    altF4.key.keysym.mod = KMOD_LALT;

    // A Yes/No box has no Cancel: the request is ignored, and the window gets no WM_CLOSE.
    desktop::MessageBoxView yesNo = Box({IDYES, IDNO});
    Pump(yesNo, quit);
    Pump(yesNo, altF4);
    EXPECT_EQ(yesNo.result, 0);
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));

    // A box with Cancel takes it as Cancel; a box with OK alone as OK.
    desktop::MessageBoxView okCancel = Box({IDOK, IDCANCEL});
    Pump(okCancel, quit);
    EXPECT_EQ(okCancel.result, IDCANCEL);
    desktop::MessageBoxView ok = Box({IDOK});
    Pump(ok, altF4);
    EXPECT_EQ(ok.result, IDOK);

    // With no box open, the window is asked to close.
    SDL_PushEvent(&quit);
    desktop::PumpEvents();
    ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(m.hwnd, window);

    // Alt+F4 as the key and as the system's close request together (as Windows sends it): one
    // question. The next press asks again.
    SDL_PushEvent(&quit);
    SDL_PushEvent(&altF4);
    desktop::PumpEvents();
    ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    SDL_PushEvent(&altF4);
    desktop::PumpEvents();
    EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST(KeysFromABox, AKeyDownAsTheBoxClosedCountsOnlyAfterItsRelease) {
    desktop::HeldKeys held;
    held.set(SDL_SCANCODE_ESCAPE);
    held.set(SDL_SCANCODE_RETURN);
    Uint8 pressed[SDL_NUM_SCANCODES] = {};
    // Escape still down from the answer, an arrow pressed since: only the arrow is the game's.
    pressed[SDL_SCANCODE_ESCAPE] = pressed[SDL_SCANCODE_LEFT] = 1;
    desktop::LeaveOutHeldKeys(pressed, SDL_NUM_SCANCODES, &held);
    EXPECT_EQ(pressed[SDL_SCANCODE_ESCAPE], 0);
    EXPECT_EQ(pressed[SDL_SCANCODE_LEFT], 1);
    EXPECT_TRUE(held.test(SDL_SCANCODE_ESCAPE));
    // Enter was released: forgotten, so that its next press counts.
    EXPECT_FALSE(held.test(SDL_SCANCODE_RETURN));
    // Escape released, then pressed again: the new press is the game's.
    pressed[SDL_SCANCODE_ESCAPE] = 0;
    desktop::LeaveOutHeldKeys(pressed, SDL_NUM_SCANCODES, &held);
    pressed[SDL_SCANCODE_ESCAPE] = 1;
    desktop::LeaveOutHeldKeys(pressed, SDL_NUM_SCANCODES, &held);
    EXPECT_EQ(pressed[SDL_SCANCODE_ESCAPE], 1);
    EXPECT_TRUE(held.none());
}

TEST(VideoDrivers, OnlyDriversThatShowAWindowCount) {
    for (const char* shown : {"x11", "wayland", "windows", "cocoa", "KMSDRM"})
        EXPECT_TRUE(desktop::ShowsWindows(shown));
    const char* unseen[] = {"offscreen", "dummy", "", nullptr};
    for (const char* driver : unseen) EXPECT_FALSE(desktop::ShowsWindows(driver));
}

TEST(Keyboard, EachSideOfShiftCtrlAndAltHasItsWindowsKeyAndSetsTheCommonOne) {
    struct Pair {
        SDL_Scancode scancode;
        int side, common;  // the Windows virtual keys
    };
    const Pair pairs[] = {{SDL_SCANCODE_LSHIFT, 0xA0, 0x10}, {SDL_SCANCODE_RSHIFT, 0xA1, 0x10},
                          {SDL_SCANCODE_LCTRL, 0xA2, 0x11},  {SDL_SCANCODE_RCTRL, 0xA3, 0x11},
                          {SDL_SCANCODE_LALT, 0xA4, 0x12},   {SDL_SCANCODE_RALT, 0xA5, 0x12}};
    for (const Pair& p : pairs) {
        Uint8 pressed[SDL_NUM_SCANCODES] = {};
        pressed[p.scancode] = 1;
        BYTE keys[256] = {};
        desktop::AddPressedKeys(pressed, SDL_NUM_SCANCODES, keys);
        int down = 0;
        for (int vk = 0; vk < 256; ++vk) down += keys[vk] == 0x80;
        EXPECT_EQ(keys[p.side], 0x80) << SDL_GetScancodeName(p.scancode);
        EXPECT_EQ(keys[p.common], 0x80) << SDL_GetScancodeName(p.scancode);
        EXPECT_EQ(down, 2) << SDL_GetScancodeName(p.scancode);
    }
}

TEST(Keyboard, PlainKeysSetOnlyTheirOwn) {
    Uint8 pressed[SDL_NUM_SCANCODES] = {};
    pressed[SDL_SCANCODE_A] = pressed[SDL_SCANCODE_KP_ENTER] = pressed[SDL_SCANCODE_F12] = 1;
    pressed[SDL_SCANCODE_CAPSLOCK] = 1;  // no virtual key here
    BYTE keys[256] = {};
    desktop::AddPressedKeys(pressed, SDL_NUM_SCANCODES, keys);
    int down = 0;
    for (int vk = 0; vk < 256; ++vk) down += keys[vk] == 0x80;
    EXPECT_EQ(keys['A'], 0x80);
    EXPECT_EQ(keys[VK_RETURN], 0x80);
    EXPECT_EQ(keys[VK_F12], 0x80);
    EXPECT_EQ(down, 3);
}

TEST(Cursors, ARunDoesNotHandBackTheCursorOfTheRunBefore) {
    platform::RuntimeOptions o;
    o.headless = true;
    o.dataDir = testing_support::TestDataDir();
    std::string error;
    int code = 0;
    struct StopAtEnd {
        ~StopAtEnd() { platform::Stop(); }
    } stopAtEnd;
    ASSERT_TRUE(platform::Start(o, &error, &code)) << error;
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    SetCursor(arrow);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);  // loaded once per run
    platform::Stop();

    ASSERT_TRUE(platform::Start(o, &error, &code)) << error;
    EXPECT_EQ(SetCursor(nullptr), nullptr);  // the cursor in use went with the run
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace
