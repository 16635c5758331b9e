// Hold or toggle: a player who cannot hold a key (or a pad's button) down for long may have dash and
// power mode toggled instead ([access] dash=toggle, power=toggle). A press turns the action on and
// the game sees its key held until the next press turns it off. The game reads its keys as always,
// and a recording keeps what it saw: the held key. A headless run plays its script as it is.
#include "platform/desktop/desktop.h"
#include "platform/common/owner.h"
#include "platform/game_keys.h"
#include "platform/replay/virtual_time.h"
#include "platform/runtime.h"
#include "platform/settings/settings.h"

#include <cstring>

namespace platform::desktop {
namespace {

struct Toggles {
    Toggle dashKey, powerKey, dashPad, powerPad;
};

Toggles& TheToggles() {
    return owner::Part<Toggles>(owner::Life::Run);
}

const GameKey* Named(const char* name) {
    for (const GameKey& k : platform::GameKeys())
        if (std::strcmp(k.name, name) == 0) return &k;
    return nullptr;
}

}  // namespace

bool TurnToggle(Toggle& t, bool down, std::uint64_t frame) {
    // One look a frame: a press is a frame with the key down after one with it up.
    if (frame != 0 && frame != t.frame) {
        if (down && !t.wasDown) t.on = !t.on;
        t.wasDown = down;
        t.frame = frame;
    }
    return t.on;
}

void ToggleKeys(BYTE keys[256]) {
    if (Headless()) return;
    const settings::Settings& s = settings::CurrentSettings();
    Toggles& t = TheToggles();
    const std::uint64_t frame = replay::FrameSerial();
    auto apply = [&](bool on, const char* name, Toggle& toggle) {
        const GameKey* k = on ? Named(name) : nullptr;
        if (!k) return;
        BYTE& key = keys[k->virtualKey & 0xFF];
        key = TurnToggle(toggle, (key & 0x80) != 0, frame) ? 0x80 : 0;
    };
    apply(s.toggleDash, "dash", t.dashKey);
    apply(s.togglePower, "power", t.powerKey);
}

void TogglePadButtons(unsigned* buttons) {
    if (Headless()) return;
    const settings::Settings& s = settings::CurrentSettings();
    Toggles& t = TheToggles();
    const std::uint64_t frame = replay::FrameSerial();
    auto apply = [&](bool on, const char* name, Toggle& toggle) {
        const GameKey* k = on ? Named(name) : nullptr;
        if (!k || k->padButton < 1 || k->padButton > 32) return;
        const unsigned bit = 1u << (k->padButton - 1);
        if (TurnToggle(toggle, (*buttons & bit) != 0, frame))
            *buttons |= bit;
        else
            *buttons &= ~bit;
    };
    apply(s.toggleDash, "dash", t.dashPad);
    apply(s.togglePower, "power", t.powerPad);
}

}  // namespace platform::desktop
