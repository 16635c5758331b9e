// The pause and the help book asked for since the last frame (run/pause.cpp), shown as the next
// frame is about to begin. Internal to the platform layer.
#pragma once

namespace platform {

// Shows the pause or the help book if one was asked for (or the program was stopped), and returns
// when the player goes on. Nothing in a headless run.
void ShowAskedOverlays();

}  // namespace platform
