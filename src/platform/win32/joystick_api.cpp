// The joystick functions of the multimedia API, over SDL's game controller or joystick (or the
// scripted joystick of a headless run).
#include "platform/mmsystem.h"
#include "platform/common/owner.h"

#include "platform/desktop/desktop.h"
#include "platform/replay/recording.h"
#include "platform/replay/virtual_time.h"

#include <cstring>

namespace desktop = platform::desktop;

UINT joyGetNumDevs() {
    // Like the Windows driver: the number of joysticks it supports, attached or not.
    return 16;
}

namespace {

// The joystick of the frame being played, as the game first read it in it: a frame sees one.
struct FrameJoystick {
    std::uint64_t frame = 0;  // platform::FrameSerial
    unsigned x = 0, y = 0, buttons = 0;
};

}  // namespace

MMRESULT joyGetPos(UINT joyId, LPJOYINFO info) {
    if (!info) return MMSYSERR_INVALPARAM;
    if (joyId > 15) return JOYERR_PARMS;
    if (joyId != JOYSTICKID1 || !desktop::JoystickPresent()) return JOYERR_UNPLUGGED;
    FrameJoystick& seen = platform::owner::Part<FrameJoystick>(platform::owner::Life::Run);
    const std::uint64_t frame = platform::replay::FrameSerial();
    if (frame == 0 || seen.frame != frame) {
        unsigned x, y, buttons;
        if (!desktop::JoystickState(&x, &y, &buttons)) return JOYERR_UNPLUGGED;
        seen = {frame, x, y, buttons};
        if (frame != 0) platform::replay::recording::JoystickSeen(x, y, buttons);
    }
    const unsigned x = seen.x, y = seen.y, buttons = seen.buttons;
    info->wXpos = x;
    info->wYpos = y;
    info->wZpos = 0;
    info->wButtons = buttons;
    return JOYERR_NOERROR;
}

MMRESULT joyGetDevCapsA(UINT_PTR joyId, LPJOYCAPSA caps, UINT size) {
    if (!caps || size != sizeof(JOYCAPSA)) return MMSYSERR_INVALPARAM;
    if (joyId > 15) return MMSYSERR_NODRIVER;
    if (joyId != JOYSTICKID1 || !desktop::JoystickPresent()) return JOYERR_UNPLUGGED;
    std::memset(caps, 0, sizeof *caps);
    std::strncpy(caps->szPname, desktop::JoystickName() ? desktop::JoystickName() : "Joystick",
                 MAXPNAMELEN - 1);
    caps->wXmax = caps->wYmax = caps->wZmax = 65535;
    caps->wNumButtons = caps->wMaxButtons = UINT(desktop::JoystickButtonCount());
    caps->wPeriodMin = 10;
    caps->wPeriodMax = 1000;
    caps->wNumAxes = caps->wMaxAxes = 2;
    return JOYERR_NOERROR;
}
