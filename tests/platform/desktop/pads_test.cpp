// Pads in a real window: any pad SDL knows is numbered the game's way, by position, whatever its
// make; a pad plugged in after the start becomes the game's joystick; one pulled out reads centred
// with nothing pressed, and comes back when plugged in again. SDL's virtual joysticks stand in.
#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_state.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <fstream>

namespace desktop = platform::desktop;

namespace {

class Pads : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        // As in a real window (the joystick of a headless run is the script's).
        wasHeadless = desktop::TheScreen().headless;
        desktop::TheScreen().headless = false;
    }
    void TearDown() override {
        desktop::TheScreen().controller.reset();
        desktop::TheScreen().joystick.reset();
        if (handle) SDL_JoystickClose(handle);
        for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
            if (SDL_JoystickIsVirtual(i)) SDL_JoystickDetachVirtual(i);
        desktop::TheScreen().headless = wasHeadless;
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }

    // A virtual pad with a game controller's buttons and axes (SDL maps them as it numbers them), or
    // a joystick of unknown kind that only a mapping makes a pad; its device index.
    int Attach(SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER) {
        SDL_VirtualJoystickDesc d{};
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        d.type = type;
        d.naxes = SDL_CONTROLLER_AXIS_MAX;
        d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        d.name = "Virtual pad";
        const int index = SDL_JoystickAttachVirtualEx(&d);
        EXPECT_GE(index, 0) << SDL_GetError();
        if (handle) SDL_JoystickClose(handle);
        handle = SDL_JoystickOpen(index);  // the test's own hand on its buttons
        return index;
    }
    // A line of gamecontrollerdb.txt for the joystick at the index, its own buttons 0 to 3 as the
    // pad's X, A, B, Y (a PlayStation pad's order) and `more` after them. A mapping's GUID leaves out
    // the checksum of the pad's name (its third and fourth bytes).
    static std::string MappingFor(int index, const std::string& name, const std::string& more) {
        char guid[64];
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
        std::string id = guid;
        id.replace(4, 4, "0000");
        return id + "," + name + ",a:b1,b:b2,x:b0,y:b3," + more + "leftx:a0,lefty:a1,";
    }
    void Press(int rawButton, bool down) {
        SDL_JoystickSetVirtualButton(handle, rawButton, down ? 1 : 0);
        SDL_JoystickUpdate();
    }
    static unsigned Buttons(unsigned* x = nullptr, unsigned* y = nullptr) {
        unsigned ax = 0, ay = 0, buttons = 0xDEAD;
        EXPECT_TRUE(desktop::JoystickPresent());
        EXPECT_TRUE(desktop::JoystickState(&ax, &ay, &buttons));
        if (x) *x = ax;
        if (y) *y = ay;
        return buttons;
    }

    bool wasHeadless = true;
    SDL_Joystick* handle = nullptr;
};

}  // namespace

TEST_F(Pads, APadPluggedInLaterIsUsedAndOnePulledOutReadsCentredUntilItComesBack) {
    // No pad yet: the game's joystick is there, centred, nothing pressed.
    unsigned x = 0, y = 0;
    EXPECT_EQ(Buttons(&x, &y), 0u);
    EXPECT_EQ(x, 32767u);
    EXPECT_EQ(y, 32767u);

    const int index = Attach();
    desktop::PadAdded(index);
    // SDL's button X (the left face button) is the game's button 3; the left shoulder its button 5.
    Press(SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_EQ(Buttons(), 1u << 2);
    Press(SDL_CONTROLLER_BUTTON_X, false);
    Press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    EXPECT_EQ(Buttons(), 1u << 4);
    SDL_JoystickSetVirtualAxis(handle, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    SDL_JoystickUpdate();
    Buttons(&x, &y);
    EXPECT_EQ(x, 0u);

    // Pulled out, with the shoulder still held: centred, nothing pressed.
    const SDL_JoystickID id = SDL_JoystickInstanceID(handle);
    SDL_JoystickClose(handle);
    handle = nullptr;
    SDL_JoystickDetachVirtual(index);
    desktop::PadRemoved(id);
    EXPECT_EQ(Buttons(&x, &y), 0u);
    EXPECT_EQ(x, 32767u);

    // Plugged in again: used again.
    const int again = Attach();
    desktop::PadAdded(again);
    Press(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(Buttons(), 1u << 0);
}

TEST_F(Pads, APlayStationLayoutIsNumberedByPositionAsEveryOtherPad) {
    // A pad whose own buttons come in a PlayStation pad's order (square, cross, circle, triangle,
    // L1, R1, L2, R2, share, options, L3, R3), with a mapping for it as gamecontrollerdb.txt has.
    const int index = Attach(SDL_JOYSTICK_TYPE_UNKNOWN);
    const std::string mapping = MappingFor(index, "PlayStation-style pad",
                                           "leftshoulder:b4,rightshoulder:b5,back:b8,start:b9,leftstick:b10,"
                                           "rightstick:b11,");
    ASSERT_GE(SDL_GameControllerAddMapping(mapping.c_str()), 0) << SDL_GetError();
    desktop::PadAdded(index);
    ASSERT_NE(desktop::TheScreen().controller, nullptr) << "the mapping made it no pad";
    struct {
        int raw;                      // the pad's own button
        unsigned bit;                 // the game's button, 1 to 10, as a bit
    } const cases[] = {{0, 1u << 2},  // square: the game's 3 (jump)
                       {3, 1u << 3},  // triangle: 4
                       {1, 1u << 0},  // cross: 1
                       {8, 1u << 6},  // share: 7 (the special move)
                       {6, 0u}};      // L2: none of the ten
    for (const auto& c : cases) {
        Press(c.raw, true);
        EXPECT_EQ(Buttons(), c.bit) << "raw button " << c.raw;
        EXPECT_EQ(desktop::PadButtons(desktop::TheScreen().controller.get()), c.bit)
            << "raw button " << c.raw;
        Press(c.raw, false);
    }
}

// gamecontrollerdb.txt beside the game makes an unknown joystick a pad; one far larger than any list
// of mappings is left unread (SDL's reading would take minutes), and says so.
TEST_F(Pads, AMappingsFileMakesAPadAndAnOversizedOneIsRefused) {
    const int index = Attach(SDL_JOYSTICK_TYPE_UNKNOWN);
    const std::string mapping =
        MappingFor(index, "A mapped pad", "platform:" + std::string(SDL_GetPlatform()) + ",") + "\n";
    const std::string big = testing_support::TempPath("pads-big");
    testing_support::MakeDir(big);
    {
        std::ofstream db(big + "/gamecontrollerdb.txt", std::ios::binary);
        for (int i = 0; i < 20000; ++i) db << "# " << std::string(60, 'x') << "\n";
        db << mapping;
    }
    testing::internal::CaptureStderr();
    desktop::LoadPadMappings(big);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("gamecontrollerdb.txt (it is over 1 MB); they are not used"), std::string::npos)
        << said;
    EXPECT_FALSE(SDL_IsGameController(index));
    const std::string small = testing_support::TempPath("pads-small");
    testing_support::MakeDir(small);
    std::ofstream(small + "/gamecontrollerdb.txt", std::ios::binary) << "# pads\n" << mapping;
    desktop::LoadPadMappings(small);
    EXPECT_TRUE(SDL_IsGameController(index));
}

// A pad SDL has no mapping for still plays, by its own numbers, and the player is told how to make it
// a pad like any other.
TEST_F(Pads, APadWithNoMappingPlaysByItsOwnNumbersAndThePlayerIsToldWhy) {
    const int index = Attach(SDL_JOYSTICK_TYPE_UNKNOWN);
    testing::internal::CaptureStderr();
    desktop::PadAdded(index);
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_NE(desktop::TheScreen().joystick, nullptr);
    EXPECT_NE(said.find("is not one SDL knows"), std::string::npos) << said;
    EXPECT_NE(said.find("gamecontrollerdb.txt"), std::string::npos) << said;
    Press(4, true);
    EXPECT_EQ(Buttons(), 1u << 4);
    Press(4, false);
}
