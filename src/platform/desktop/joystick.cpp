// The joystick: a pad (a game controller SDL knows, or any other joystick), or the script's, read
// as the multimedia joystick functions report it. In a real window the game always has its joystick:
// a pad connected at any time becomes it when none is open, and while none is connected it reads
// centred with no buttons, so that one plugged in later (or again) is used at once.
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/overlay.h"
#include "platform/files/file_handle.h"
#include "platform/replay/virtual_time.h"
#include "platform/settings/settings.h"
#include "platform/settings/settings_folder.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <vector>

namespace platform::desktop {
namespace {

constexpr std::size_t kMaxPadMappingBytes = std::size_t(1) << 20;

bool ScriptedJoystick() {
    return platform::Options().hasScript && platform::Options().script.UsesJoystick();
}

// The left stick of the pad (or a joystick's first two axes), as the direction pad the game
// understands.
void ReadStick(int rawX, int rawY, unsigned* x, unsigned* y) {
    StickDirection(rawX, rawY, platform::settings::CurrentSettings().deadZone, x, y);
}

bool PadAttached() {
    State& s = TheScreen();
    if (s.controller) return SDL_GameControllerGetAttached(s.controller.get());
    if (s.joystick) return SDL_JoystickGetAttached(s.joystick.get());
    return false;
}

void ClosePad() {
    State& s = TheScreen();
    s.controller.reset();
    s.joystick.reset();
}

bool OpenPad(int index) {
    State& s = TheScreen();
    ClosePad();
    if (SDL_IsGameController(index)) {
        s.controller.reset(SDL_GameControllerOpen(index));
    } else {
        s.joystick.reset(SDL_JoystickOpen(index));
        // A pad SDL has no mapping for plays by its own button numbers: the player can do better,
        // and is told how (on screen: at start-up with the rest, later in a notice of its own).
        if (s.joystick) {
            const char* name = SDL_JoystickName(s.joystick.get());
            const std::string said =
                std::string("the pad \"") + (name ? name : "?") +
                "\" is not one SDL knows: its buttons go by their own numbers; a line for it "
                "in gamecontrollerdb.txt (beside the game or in the settings folder) makes "
                "it a pad like any other";
            platform::WarnPlayer(said);
            if (platform::CurrentFrame() > 0) ShowNotice({said});
        }
    }
    return s.controller || s.joystick;
}

SDL_JoystickID OpenPadId() {
    State& s = TheScreen();
    if (s.controller) return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(s.controller.get()));
    if (s.joystick) return SDL_JoystickInstanceID(s.joystick.get());
    return -1;
}

}  // namespace

void StickDirection(int rawX, int rawY, int deadZonePercent, unsigned* x, unsigned* y) {
    *x = *y = 32767;
    // Round: how far the stick is from its centre, whichever way (sticks reach about 23170 on
    // each axis pushed fully diagonally, and less than a full axis beyond it).
    const double dx = std::clamp(rawX, -32767, 32767) / 32767.0;
    const double dy = std::clamp(rawY, -32767, 32767) / 32767.0;
    if (std::hypot(dx, dy) * 100 < std::clamp(deadZonePercent, 5, 90)) return;
    // One of eight directions, each 45 degrees wide around its own.
    constexpr double kPi = 3.14159265358979323846;
    const int sector = int(std::lround(std::atan2(dy, dx) / (kPi / 4))) & 7;  // 0 right, 2 down
    constexpr int kX[8] = {1, 1, 0, -1, -1, -1, 0, 1}, kY[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    if (kX[sector]) *x = kX[sector] < 0 ? 0 : 0xFFFF;
    if (kY[sector]) *y = kY[sector] < 0 ? 0 : 0xFFFF;
}

void LoadPadMappings(const std::string& gameFolder) {
    std::vector<std::string> files;
    if (!gameFolder.empty()) files.push_back(gameFolder + "/gamecontrollerdb.txt");
    if (const std::string folder = platform::settings::SettingsFolder(); !folder.empty())
        files.push_back(folder + "/gamecontrollerdb.txt");
    for (const std::string& file : files) {
        // SDL takes each line in a time that grows with the lines before it: a list far larger than
        // the community's (some 0.4 MB) would hold the start-up for minutes.
        std::vector<unsigned char> bytes;
        if (!platform::files::ReadRegularFileAsNamed(file, &bytes, kMaxPadMappingBytes)) {
            if (errno != ENOENT)
                platform::Warn("cannot read the pad mappings " + file + " (" +
                               platform::files::ReadFailure(errno, kMaxPadMappingBytes) +
                               "); they are not used");
            continue;
        }
        if (bytes.empty()) continue;
        if (SDL_GameControllerAddMappingsFromRW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1) < 0)
            platform::WarnPlayer(file + ": not a list of pad mappings (" + SDL_GetError() +
                                 "); it is not used");
    }
}

unsigned PadButtons(SDL_GameController* c) {
    // The player's settings may put the game's buttons on other buttons of the pad. A button pressed
    // since the last sample reads as down; one held from the pause reads as up until released.
    State& s = TheScreen();
    const auto& order = platform::settings::CurrentSettings().padButtons;
    unsigned buttons = 0;
    for (int i = 0; i < 10; ++i) {
        const int b = order[std::size_t(i)];
        const bool down = SDL_GameControllerGetButton(c, SDL_GameControllerButton(b)) != 0;
        if (b >= 0 && b < 32) {
            const Uint32 bit = 1u << b;
            if (!down) s.padHeld &= ~bit;
            if ((down && !(s.padHeld & bit)) || (s.padTapped & bit)) buttons |= 1u << i;
        } else if (down) {
            buttons |= 1u << i;
        }
    }
    if (platform::replay::FrameSerial() != 0) s.padTapped = 0;
    return buttons;
}

void HoldPadButtonsDownNow() {
    State& s = TheScreen();
    s.padTapped = s.joyTapped = 0;
    s.padHeld = s.joyHeld = 0;
    s.startDown = s.startAlone = s.backDown = s.backAlone = false;
    if (s.headless) return;
    SDL_GameControllerUpdate();
    if (SDL_GameController* c = s.controller.get())
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX && b < 32; ++b)
            if (SDL_GameControllerGetButton(c, SDL_GameControllerButton(b))) s.padHeld |= 1u << b;
    if (SDL_Joystick* j = s.joystick.get())
        for (int b = 0; b < std::min(32, SDL_JoystickNumButtons(j)); ++b)
            if (SDL_JoystickGetButton(j, b)) s.joyHeld |= 1u << b;
}

const char* PadButtonName(int number, SDL_GameControllerType type) {
    if (number < 1 || number > 10) return "";
    static const char* const xbox[10] = {"A", "B", "X", "Y", "LB", "RB", "Back", "Start", "LS", "RS"};
    static const char* const playStation[10] = {"Cross", "Circle", "Square",  "Triangle", "L1",
                                                "R1",    "Share",  "Options", "L3",       "R3"};
    static const char* const nintendo[10] = {"B", "A", "Y", "X", "L", "R", "-", "+", "LS", "RS"};
    switch (type) {
        case SDL_CONTROLLER_TYPE_PS3:
        case SDL_CONTROLLER_TYPE_PS4:
        case SDL_CONTROLLER_TYPE_PS5:
            return playStation[number - 1];
        case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
        case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
            return nintendo[number - 1];
        default:
            return xbox[number - 1];
    }
}

void OpenFirstJoystick() {
    if (char* base = SDL_GetBasePath()) {
        LoadPadMappings(base);
        SDL_free(base);
    }
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (OpenPad(i)) break;
}

void PadAdded(int index) {
    if (PadAttached()) return;
    OpenPad(index);
}

void PadRemoved(SDL_JoystickID id) {
    if (id != OpenPadId() && PadAttached()) return;
    ClosePad();
    // Another pad still connected takes its place.
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (OpenPad(i) && PadAttached()) return;
    ClosePad();
}

bool JoystickPresent() {
    State& s = TheScreen();
    if (s.headless || ScriptedJoystick()) return ScriptedJoystick();
    return true;
}

bool JoystickState(unsigned* x, unsigned* y, unsigned* buttons) {
    State& s = TheScreen();
    if (s.headless || ScriptedJoystick()) {
        if (!ScriptedJoystick()) return false;
        platform::Options().script.JoystickAt(platform::CurrentFrame(), x, y, buttons);
        return true;
    }
    // No pad (or one pulled out): centred, nothing pressed.
    *x = *y = 32767;
    *buttons = 0;
    if (!PadAttached()) return true;
    if (SDL_GameController* c = s.controller.get()) {
        ReadStick(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX),
                  SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY), x, y);
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) *x = 0;
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) *x = 0xFFFF;
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP)) *y = 0;
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) *y = 0xFFFF;
        *buttons = PadButtons(c);
        TogglePadButtons(buttons);
        return true;
    }
    if (SDL_Joystick* j = s.joystick.get()) {
        ReadStick(SDL_JoystickNumAxes(j) > 0 ? SDL_JoystickGetAxis(j, 0) : 0,
                  SDL_JoystickNumAxes(j) > 1 ? SDL_JoystickGetAxis(j, 1) : 0, x, y);
        if (SDL_JoystickNumHats(j) > 0) {
            Uint8 hat = SDL_JoystickGetHat(j, 0);
            if (hat & SDL_HAT_LEFT) *x = 0;
            if (hat & SDL_HAT_RIGHT) *x = 0xFFFF;
            if (hat & SDL_HAT_UP) *y = 0;
            if (hat & SDL_HAT_DOWN) *y = 0xFFFF;
        }
        *buttons = 0;
        int n = std::min(32, SDL_JoystickNumButtons(j));
        for (int i = 0; i < n; ++i) {
            const Uint32 bit = 1u << i;
            const bool down = SDL_JoystickGetButton(j, i) != 0;
            if (!down) s.joyHeld &= ~bit;
            if ((down && !(s.joyHeld & bit)) || (s.joyTapped & bit)) *buttons |= bit;
        }
        if (platform::replay::FrameSerial() != 0) s.joyTapped = 0;
        TogglePadButtons(buttons);
        return true;
    }
    return false;
}

bool Rumble(int strength, int milliseconds) {
    State& s = TheScreen();
    if (s.headless || !platform::settings::CurrentSettings().rumble) return false;
    SDL_Joystick* j = s.controller ? SDL_GameControllerGetJoystick(s.controller.get()) : s.joystick.get();
    if (!j || !SDL_JoystickHasRumble(j)) return false;
    const Uint16 power = Uint16(std::clamp(strength, 0, 100) * 0xFFFF / 100);
    // The heavy motor carries it; the light one gives the knock its edge.
    return SDL_JoystickRumble(j, power, Uint16(power / 2), Uint32(std::max(0, milliseconds))) == 0;
}

const char* JoystickName() {
    State& s = TheScreen();
    if (s.controller) return SDL_GameControllerName(s.controller.get());
    if (s.joystick) return SDL_JoystickName(s.joystick.get());
    return s.headless ? "Scripted joystick" : "Joystick";
}

int JoystickButtonCount() {
    State& s = TheScreen();
    if (s.joystick) return SDL_JoystickNumButtons(s.joystick.get());
    return s.controller ? 10 : 32;
}

}  // namespace platform::desktop
