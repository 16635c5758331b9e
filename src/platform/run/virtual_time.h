// The game's clock inside the platform, for the timer (win32/timer.cpp): the virtual clock of
// headless runs, which stands still but for the sleeps (or moves as the script's TIME lines say),
// and the frame being played, which the game sees one timer reading, one keyboard and one joystick
// of (win32/keyboard.cpp, win32/joystick_api.cpp), as it does in a headless run.
#pragma once

#include <cstdint>

namespace platform {

// The virtual clock's reading, in ms (headless runs).
std::uint32_t VirtualNow();
// Adds a sleep to TotalSleptMs.
void CountSleep(std::uint32_t ms);

// A number for the frame being played, never the same twice in the program's life (so that what
// was read in a frame is not taken for another's, a run later); 0 between frames.
std::uint64_t FrameSerial();
// The timer's reading as the frame began.
std::uint32_t FrameTimer();

}  // namespace platform
