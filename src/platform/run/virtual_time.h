// The clock of headless runs, for the timer (win32/timer.cpp): it stands still but for the sleeps.
#pragma once

#include <cstdint>

namespace platform {

// The virtual clock's reading, in ms (headless runs).
std::uint32_t VirtualNow();
// Adds a sleep to TotalSleptMs.
void CountSleep(std::uint32_t ms);

}  // namespace platform
