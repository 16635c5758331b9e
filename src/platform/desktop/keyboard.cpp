// The keyboard by virtual key: SDL's keyboard state (or the script's keys), with the player's moved
// keys and the keys held from a message box, one state a frame (win32/keyboard.cpp answers
// GetKeyboardState and GetAsyncKeyState with it).
#include "platform/desktop/desktop_state.h"
#include "platform/common/owner.h"
#include "platform/replay/recording.h"
#include "platform/settings/settings.h"
#include "platform/replay/virtual_time.h"

#include <algorithm>
#include <cstring>

namespace platform::desktop {
namespace {

int VirtualKeyOf(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0) return '0';
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
    switch (sc) {
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER:
            return VK_RETURN;
        case SDL_SCANCODE_ESCAPE:
            return VK_ESCAPE;
        case SDL_SCANCODE_SPACE:
            return VK_SPACE;
        case SDL_SCANCODE_BACKSPACE:
            return VK_BACK;
        case SDL_SCANCODE_TAB:
            return VK_TAB;
        case SDL_SCANCODE_LEFT:
            return VK_LEFT;
        case SDL_SCANCODE_RIGHT:
            return VK_RIGHT;
        case SDL_SCANCODE_UP:
            return VK_UP;
        case SDL_SCANCODE_DOWN:
            return VK_DOWN;
        case SDL_SCANCODE_LSHIFT:
            return VK_LSHIFT;
        case SDL_SCANCODE_RSHIFT:
            return VK_RSHIFT;
        case SDL_SCANCODE_LCTRL:
            return VK_LCONTROL;
        case SDL_SCANCODE_RCTRL:
            return VK_RCONTROL;
        case SDL_SCANCODE_LALT:
            return VK_LMENU;
        case SDL_SCANCODE_RALT:
            return VK_RMENU;
        default:
            return 0;
    }
}

}  // namespace

void AddPressedKeys(const Uint8* pressed, int count, BYTE keys[256]) {
    for (int sc = 0; sc < count; ++sc) {
        if (!pressed[sc]) continue;
        int vk = VirtualKeyOf(SDL_Scancode(sc));
        if (!vk) continue;
        keys[vk] = 0x80;
        if (vk == VK_LSHIFT || vk == VK_RSHIFT) keys[VK_SHIFT] = 0x80;
        if (vk == VK_LCONTROL || vk == VK_RCONTROL) keys[VK_CONTROL] = 0x80;
        if (vk == VK_LMENU || vk == VK_RMENU) keys[VK_MENU] = 0x80;
    }
}

void LeaveOutHeldKeys(Uint8* pressed, int count, HeldKeys* held) {
    if (held->none()) return;
    for (int sc = 0; sc < count && sc < int(held->size()); ++sc) {
        if (!(*held)[std::size_t(sc)]) continue;
        if (pressed[sc])
            pressed[sc] = 0;
        else
            held->reset(std::size_t(sc));
    }
}

void HoldKeysDownNow() {
    State& s = TheScreen();
    if (s.headless) return;
    SDL_PumpEvents();
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int sc = 0; sc < count && sc < int(s.heldFromBox.size()); ++sc)
        if (state[sc]) s.heldFromBox.set(std::size_t(sc));
    // What was pressed while the box was open was the box's.
    s.tapped.reset();
}

void OweEscape() {
    TheScreen().escapeOwed = true;
}

void AddPressedKeysMoved(const Uint8* pressed, int count, const platform::settings::Settings& settings,
                         BYTE keys[256]) {
    // The player moved some of the game's keys: the keys that play the game's keys (by default or
    // by the settings) count only as what the settings make them; every other key is itself.
    Uint8 others[SDL_NUM_SCANCODES];
    count = std::min(count, int(SDL_NUM_SCANCODES));
    std::memcpy(others, pressed, std::size_t(count));
    const auto& gameKeys = platform::GameKeys();
    const auto& defaults = platform::settings::DefaultKeys();
    const std::size_t n = std::min(settings.keys.size(), gameKeys.size());
    for (std::size_t i = 0; i < n; ++i) {
        const SDL_Scancode moved = settings.keys[i];
        if (defaults[i] < count) others[defaults[i]] = 0;
        if (moved < count) others[moved] = 0;
    }
    AddPressedKeys(others, count, keys);
    for (std::size_t i = 0; i < n; ++i) {
        const SDL_Scancode moved = settings.keys[i];
        if (moved < count && pressed[moved]) keys[gameKeys[i].virtualKey & 0xFF] = 0x80;
    }
}

namespace {

// The keys now: the script's, and in a real window the keyboard's.
void KeysNow(BYTE keys[256]) {
    std::memset(keys, 0, 256);
    // A script plays its keys; in a real window the keyboard adds its own.
    if (platform::Options().hasScript) platform::Options().script.KeysAt(platform::CurrentFrame(), keys);
    State& s = TheScreen();
    if (s.headless) return;
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    count = std::min(count, int(SDL_NUM_SCANCODES));
    Uint8 pressed[SDL_NUM_SCANCODES];
    std::memcpy(pressed, state, std::size_t(count));
    LeaveOutHeldKeys(pressed, count, &s.heldFromBox);
    // A key that went down since the last sample reads as down, even if it is already up again. A
    // frame's sample takes them; a read between frames leaves them for the frame.
    for (int sc = 0; sc < count; ++sc)
        if (s.tapped[std::size_t(sc)]) pressed[sc] = 1;
    if (platform::replay::FrameSerial() != 0) s.tapped.reset();
    // The player's keys, dash and power mode toggled if the settings say so, over the script's.
    BYTE player[256] = {};
    const platform::settings::Settings& settings = platform::settings::CurrentSettings();
    if (settings.KeysAsAlways())
        AddPressedKeys(pressed, count, player);
    else
        AddPressedKeysMoved(pressed, count, settings, player);
    ToggleKeys(player);
    for (int vk = 0; vk < 256; ++vk) keys[vk] |= player[vk];
}

// The keys of the frame being played, as the game first read them in it.
struct FrameKeys {
    std::uint64_t frame = 0;  // platform::FrameSerial
    BYTE keys[256];
};

}  // namespace

void KeyboardState(BYTE keys[256]) {
    // A frame sees one keyboard, as a script gives it: what GetKeyboardState and GetAsyncKeyState
    // say all through it is what the first of them found (and what a recording keeps).
    const std::uint64_t frame = platform::replay::FrameSerial();
    FrameKeys& seen = owner::Part<FrameKeys>(owner::Life::Run);
    if (frame != 0 && seen.frame == frame) {
        std::memcpy(keys, seen.keys, 256);
        return;
    }
    KeysNow(keys);
    if (frame == 0) return;
    // The pause's "Back to the title": the game reads its Escape once, and asks its own question.
    State& s = TheScreen();
    if (s.escapeOwed) {
        keys[VK_ESCAPE] = 0x80;
        s.escapeOwed = false;
    }
    seen.frame = frame;
    std::memcpy(seen.keys, keys, 256);
    platform::replay::recording::KeysSeen(keys);
}

}  // namespace platform::desktop
