// A photograph of the real screen as it is before any window of ours is shown: the game's
// background window shows it. Each kind of system has its own way to take one, in a file of its
// own (desktop_capture_x11.cpp, desktop_capture_none.cpp); the build takes one of them.
#pragma once

#include "platform/sdl_handles.h"

namespace desktop {

// The whole screen in ARGB, or null when there is no screen to photograph (the painted desktop
// stands in then). Called before SDL starts its video.
sdl::SurfacePtr CaptureScreen();

// Whether a window manager runs on the screen. Without one nothing else covers the screen, so a
// plain window over all of it is full screen already (asking the window manager for full screen
// would only wait for an answer that never comes).
bool WindowManagerPresent();

}  // namespace desktop
