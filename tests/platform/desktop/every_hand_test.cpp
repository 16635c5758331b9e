// Play for every hand: a stick pushed any way moves the game's way, a box answered by a pad, a pad
// that rumbles with the game's kicks, dash and power mode toggled, and the screen shown calmer. SDL's
// virtual joysticks stand in for pads.
#include "actions/actions.h"
#include "platform/audio/audio_mixer.h"
#include "platform/common/owner.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/key_prompts.h"
#include "platform/replay/virtual_time.h"
#include "platform/runtime.h"
#include "platform/settings/settings.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace desktop = platform::desktop;

namespace {

// The rumbles a virtual pad was asked for: low and high motors.
std::vector<std::pair<Uint16, Uint16>>& Rumbles() {
    static std::vector<std::pair<Uint16, Uint16>> asked;
    return asked;
}

class EveryHand : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        platform::UseGameKeys(GameActions());
        wasHeadless = desktop::TheScreen().headless;
        desktop::TheScreen().headless = false;  // as in a window
        folder = testing_support::TempPath("every-hand-" + std::to_string(++made));
        testing_support::MakeDir(folder);
        Rumbles().clear();
    }
    void TearDown() override {
        desktop::TheScreen().controller.reset();
        desktop::TheScreen().joystick.reset();
        if (handle) SDL_JoystickClose(handle);
        for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
            if (SDL_JoystickIsVirtual(i)) SDL_JoystickDetachVirtual(i);
        desktop::TheScreen().headless = wasHeadless;
        platform::settings::LoadSettings("", true);
        platform::owner::EndRun();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    void UseSettings(const std::string& text) const {
        const std::string file = folder + "/settings.ini";
        std::ofstream(file, std::ios::binary) << text;
        platform::settings::LoadSettings(file, true);
    }
    // A virtual game controller that can rumble, made the game's pad.
    void AttachPad() {
        SDL_VirtualJoystickDesc d{};
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        d.naxes = SDL_CONTROLLER_AXIS_MAX;
        d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        d.name = "Virtual pad";
        d.Rumble = [](void*, Uint16 low, Uint16 high) {
            Rumbles().emplace_back(low, high);
            return 0;
        };
        const int index = SDL_JoystickAttachVirtualEx(&d);
        ASSERT_GE(index, 0) << SDL_GetError();
        handle = SDL_JoystickOpen(index);
        desktop::PadAdded(index);
        ASSERT_TRUE(desktop::TheScreen().controller);
    }
    void Stick(int x, int y) {
        SDL_JoystickSetVirtualAxis(handle, SDL_CONTROLLER_AXIS_LEFTX, Sint16(x));
        SDL_JoystickSetVirtualAxis(handle, SDL_CONTROLLER_AXIS_LEFTY, Sint16(y));
        SDL_JoystickUpdate();
    }
    static void Read(unsigned* x, unsigned* y, unsigned* buttons = nullptr) {
        unsigned b = 0;
        ASSERT_TRUE(desktop::JoystickState(x, y, &b));
        if (buttons) *buttons = b;
    }

    bool wasHeadless = true;
    SDL_Joystick* handle = nullptr;
    std::string folder;
    static inline int made = 0;
};

constexpr unsigned kLeft = 0, kCentre = 32767, kRight = 0xFFFF;

TEST(StickDirection, TheEightDirectionsBeyondARoundDeadZone) {
    struct Case {
        int x, y;
        unsigned wantX, wantY;
    };
    const Case cases[] = {
        {23170, -23170, kRight, kLeft},   // fully up and right: right and back in depth
        {-23170, 23170, kLeft, kRight},   // down and left
        {32767, 0, kRight, kCentre},      // straight right
        {0, -32768, kCentre, kLeft},      // straight up, the axis's very end
        {30000, -9000, kRight, kCentre},  // mostly right: right alone (17 degrees up)
        {30000, -16000, kRight, kLeft},   // 28 degrees up: the diagonal
        {5000, 5000, kCentre, kCentre},   // inside a 25 % dead zone, whichever way
        {-7000, -7000, kLeft, kLeft},     // 30 % out on the diagonal: counts
        {0, 0, kCentre, kCentre},
    };
    for (const Case& c : cases) {
        unsigned x = 1, y = 1;
        desktop::StickDirection(c.x, c.y, 25, &x, &y);
        EXPECT_EQ(x, c.wantX) << c.x << "," << c.y;
        EXPECT_EQ(y, c.wantY) << c.x << "," << c.y;
    }
    // The dead zone is the player's: at 50 % a push of 40 % does nothing.
    unsigned x = 1, y = 1;
    desktop::StickDirection(13000, 0, 50, &x, &y);
    EXPECT_EQ(x, kCentre);
}

TEST_F(EveryHand, ADiagonalOfThePadsStickMovesBothWaysAndTheDirectionPadStillWins) {
    AttachPad();
    unsigned x = 0, y = 0;
    Stick(23170, -23170);
    Read(&x, &y);
    EXPECT_EQ(x, kRight);
    EXPECT_EQ(y, kLeft);
    // A light push counts once the player's dead zone is small enough.
    Stick(7000, 0);  // 21 %
    Read(&x, &y);
    EXPECT_EQ(x, kCentre);
    UseSettings("[pad]\ndead-zone=10\n");
    Read(&x, &y);
    EXPECT_EQ(x, kRight);
    // The direction pad overrides the stick, as always.
    SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    SDL_JoystickUpdate();
    Read(&x, &y);
    EXPECT_EQ(x, kLeft);
}

// A pad's button as SDL reports it to the box, after the box opened.
SDL_Event PadButton(int button, Uint32 at) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERBUTTONDOWN;
    e.cbutton.button = Uint8(button);
    e.cbutton.timestamp = at;
    return e;
}

SDL_Event PadStick(int axis, int value) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.axis = Uint8(axis);
    e.caxis.value = Sint16(value);
    return e;
}

desktop::MessageBoxView YesNoBox() {
    desktop::MessageBoxView box;
    box.buttons = {{SDL_Rect{0, 0, 80, 24}, IDYES}, {SDL_Rect{90, 0, 80, 24}, IDNO}};
    box.openedAt = 1000;
    return box;
}

TEST_F(EveryHand, ABoxIsAnsweredByThePadsConfirmButtonWhicheverTheSettingsMakeIt) {
    // As always the game's button 2 (B) confirms and button 1 (A) says no.
    desktop::MessageBoxView box = YesNoBox();
    desktop::MessageBoxEvent(box, PadButton(SDL_CONTROLLER_BUTTON_B, 1001));
    EXPECT_EQ(box.result, IDYES);
    box = YesNoBox();
    desktop::MessageBoxEvent(box, PadButton(SDL_CONTROLLER_BUTTON_A, 1001));
    EXPECT_EQ(box.result, IDNO);

    // "Confirm with A": A presses the focused button, B says no.
    UseSettings("[pad]\npreset=confirm-with-a\n");
    box = YesNoBox();
    desktop::MessageBoxEvent(box, PadButton(SDL_CONTROLLER_BUTTON_B, 1001));
    EXPECT_EQ(box.result, IDNO);
    box = YesNoBox();
    // The cross and the stick move the focus first: No is pressed.
    desktop::MessageBoxEvent(box, PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1001));
    EXPECT_EQ(box.focus, 1);
    desktop::MessageBoxEvent(box, PadStick(SDL_CONTROLLER_AXIS_LEFTX, -30000));
    desktop::MessageBoxEvent(box, PadStick(SDL_CONTROLLER_AXIS_LEFTX, -31000));  // held: no second step
    EXPECT_EQ(box.focus, 0);
    desktop::MessageBoxEvent(box, PadStick(SDL_CONTROLLER_AXIS_LEFTX, 0));
    desktop::MessageBoxEvent(box, PadStick(SDL_CONTROLLER_AXIS_LEFTX, 30000));
    EXPECT_EQ(box.focus, 1);
    desktop::MessageBoxEvent(box, PadButton(SDL_CONTROLLER_BUTTON_A, 1001));
    EXPECT_EQ(box.result, IDNO);

    // Once the pad was used, the buttons say which of its buttons answer: A presses, B says no.
    EXPECT_EQ(desktop::PadButtonText(2), "") << "the keyboard was the last input";
    AttachPad();
    SDL_Event e = PadButton(SDL_CONTROLLER_BUTTON_A, 1001);
    e.cbutton.which = SDL_JoystickInstanceID(handle);
    desktop::PromptInputSeen(e);
    EXPECT_EQ(desktop::PadButtonText(2), "A");
    EXPECT_EQ(desktop::PadButtonText(1), "B");
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    desktop::PromptInputSeen(key);

    // A button pressed before the box opened (the one that led to it) does not answer it.
    box = YesNoBox();
    desktop::MessageBoxEvent(box, PadButton(SDL_CONTROLLER_BUTTON_A, 999));
    EXPECT_EQ(box.result, 0);
}

TEST_F(EveryHand, ThePadRumblesWithTheGamesKickUnlessThePlayerTurnedItOff) {
    AttachPad();
    (void)platform::audio::TakeSoundsStarted();
    platform::audio::NoteSoundStarted("SE/crash.wav");
    platform::RumbleWithSounds(GameRumbles());
    EXPECT_TRUE(Rumbles().empty()) << "a sound the game's table leaves out rumbles nothing";

    // The kick, as the game may name it.
    platform::audio::NoteSoundStarted("SE\\蹴る(強).wav");
    platform::RumbleWithSounds(GameRumbles());
    ASSERT_EQ(Rumbles().size(), 1u);
    const auto kick = Rumbles().back();
    EXPECT_GT(kick.first, 0);
    platform::audio::NoteSoundStarted("SE/eva.wav");
    platform::RumbleWithSounds(GameRumbles());
    ASSERT_EQ(Rumbles().size(), 2u);
    EXPECT_GT(Rumbles().back().first, kick.first) << "the special move rumbles harder than a kick";

    UseSettings("[pad]\nrumble=no\n");
    platform::audio::NoteSoundStarted("SE/蹴る(強).wav");
    platform::RumbleWithSounds(GameRumbles());
    EXPECT_EQ(Rumbles().size(), 2u);
}

// The sounds started are kept for the frame's end to take, the last few when nobody takes them.
TEST(SoundsStarted, TheLastFewAreKeptUntilTaken) {
    (void)platform::audio::TakeSoundsStarted();
    // Kept to the last few when nobody takes them (a run without a frame end).
    for (int i = 0; i < 100; ++i) platform::audio::NoteSoundStarted("SE/crash.wav");
    platform::audio::NoteSoundStarted("SE/eva.wav");
    const std::vector<std::string> started = platform::audio::TakeSoundsStarted();
    ASSERT_FALSE(started.empty());
    EXPECT_LE(started.size(), 16u);
    EXPECT_EQ(started.back(), "SE/eva.wav");
    EXPECT_TRUE(platform::audio::TakeSoundsStarted().empty());
}

TEST(HoldOrToggle, APressTurnsItOnAndTheNextOffOneLookAFrame) {
    desktop::Toggle t;
    std::vector<bool> seen;
    // Frames: press (held 3 frames), release, press again, release.
    const bool down[] = {false, true, true, true, false, false, true, false, false};
    std::uint64_t frame = 1;
    for (bool d : down) {
        seen.push_back(desktop::TurnToggle(t, d, frame));
        // Read again in the same frame (GetAsyncKeyState after GetKeyboardState): the same.
        EXPECT_EQ(desktop::TurnToggle(t, !d, frame), seen.back());
        ++frame;
    }
    EXPECT_EQ(seen, (std::vector<bool>{false, true, true, true, true, true, false, false, false}));
    // Between frames nothing turns.
    EXPECT_FALSE(desktop::TurnToggle(t, true, 0));
}

TEST_F(EveryHand, ToggledDashIsHeldForTheGameUntilItsKeyIsPressedAgain) {
    AttachPad();
    UseSettings("[access]\ndash=toggle\npower=hold\n");
    // The pad's dash (the game's button 1, SDL's A) pressed in one frame and let go.
    unsigned x = 0, y = 0, buttons = 0;
    platform::replay::BeginFrameClock();
    SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_Y, 1);  // power, held as always
    SDL_JoystickUpdate();
    Read(&x, &y, &buttons);
    EXPECT_EQ(buttons & 0x9u, 0x9u);
    platform::replay::EndFrameClock();
    platform::replay::BeginFrameClock();
    SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_Y, 0);
    SDL_JoystickUpdate();
    Read(&x, &y, &buttons);
    EXPECT_EQ(buttons & 0x9u, 0x1u) << "dash stays on, power is let go";
    platform::replay::EndFrameClock();
    platform::replay::BeginFrameClock();
    SDL_JoystickSetVirtualButton(handle, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickUpdate();
    Read(&x, &y, &buttons);
    EXPECT_EQ(buttons & 0x1u, 0u) << "pressed again: off";
    platform::replay::EndFrameClock();
}

TEST_F(EveryHand, ReduceMotionShowsShakenWindowsATenthAsFarAndFollowsARealMove) {
    UseSettings("[access]\nreduce-motion=yes\n");
    WindowObject w;
    w.rect = RECT{300, 129, 940, 630};
    desktop::TheScreen().windows.push_back(&w);
    desktop::SettleWindows();
    // Shaken about its place, 25 pixels either way each frame.
    long game = 0, shown = 0;
    for (int i = 0; i < 200; ++i) {
        const int dx = (i * 37) % 50 - 25, dy = (i * 53) % 50 - 25;
        w.rect = RECT{300 + dx, 129 + dy, 940 + dx, 630 + dy};
        desktop::SettleWindows();
        const RECT at = desktop::ShownRect(w);
        EXPECT_EQ(at.right - at.left, 640);
        game += std::abs(dx) + std::abs(dy);
        shown += std::abs(at.left - 300) + std::abs(at.top - 129);
    }
    EXPECT_LT(shown * 10, game);
    // Moved to a new place and left there: shown there two frames later.
    w.rect = RECT{0, 0, 640, 501};
    for (int i = 0; i < 3; ++i) desktop::SettleWindows();
    EXPECT_EQ(desktop::ShownRect(w).left, 0);
    EXPECT_EQ(desktop::ShownRect(w).top, 0);
    // Off: where the game put it.
    UseSettings("");
    w.rect = RECT{310, 140, 950, 641};
    desktop::SettleWindows();
    EXPECT_EQ(desktop::ShownRect(w).left, 310);
    desktop::TheScreen().windows.pop_back();
}

TEST(ReduceFlashing, TheScreensBrightnessSwingsAtMostAStepAFrame) {
    double level = -1;
    EXPECT_EQ(desktop::FlashVeil(&level, 20), 0u);  // the first frame is shown as it is
    // A white flash every other frame: the brightness shown moves a step a frame at the most, so a
    // swing from dark to bright takes a third of a second, and the veil says which way it holds.
    double last = level;
    for (int frame = 0; frame < 62; ++frame) {
        const double picture = frame % 2 ? 20 : 240;
        const Uint32 veil = desktop::FlashVeil(&level, picture);
        EXPECT_LE(std::abs(level - last), 255.0 * 16 / 333 + 1e-9);
        if (picture > level + 1) {
            EXPECT_EQ(veil & 0xFFFFFFu, 0u) << "a black veil over a brighter picture";
            // Veiled, the picture is as bright as the level shown.
            EXPECT_NEAR(picture * (1 - (veil >> 24) / 255.0), level, 1.5);
        }
        if (picture < level - 1) {
            EXPECT_EQ(veil & 0xFFFFFFu, 0xFFFFFFu) << "a white veil over a darker one";
            const double a = (veil >> 24) / 255.0;
            EXPECT_NEAR(picture * (1 - a) + 255 * a, level, 1.5);
        }
        last = level;
    }
    // A steady picture comes through whole once the level has reached it.
    for (int i = 0; i < 30; ++i) desktop::FlashVeil(&level, 128);
    EXPECT_EQ(desktop::FlashVeil(&level, 128), 0u);
}

}  // namespace
