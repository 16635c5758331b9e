// A photograph of the real screen as it is before any window of ours is shown: the game's
// background window shows it. Each kind of system has its own way to take one, in a file of its
// own (ports/linux/desktop_capture_x11.cpp, ports/windows/desktop_capture_gdi.cpp,
// ports/shared/desktop_capture_none.cpp); the build takes one of them.
#pragma once

#include "platform/common/sdl_handles.h"

#include <memory>

namespace platform::desktop {

// What the screen shows before any window of ours: the whole screen in ARGB (null when there is
// no screen to photograph; the painted desktop stands in then), and whether a window manager runs
// on it. Without one nothing else covers the screen, so a plain window over all of it is full screen
// already (asking the window manager for full screen would only wait for an answer that never
// comes). Looked at once, before SDL starts its video.
// The connection it looked through, if any, stays open as long as the ScreenBefore: a display server
// whose only client leaves resets itself (Xvfb does), and SDL, connecting in that moment, would find
// no display. It is let go once SDL has a connection of its own.
struct ScreenBefore {
    sdl::SurfacePtr picture;
    bool windowManager = true;
    double scale = 0;  // the system's setting for the size of things on the screen (0: none)
    std::shared_ptr<void> connection;
};
ScreenBefore LookAtScreen();

}  // namespace platform::desktop
