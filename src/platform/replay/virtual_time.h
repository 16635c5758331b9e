// The game's clock inside the platform, for the timer (win32/timer.cpp): the virtual clock of
// headless runs, which stands still but for the sleeps (or moves as the script's TIME lines say),
// and the frame being played, which the game sees one timer reading, one keyboard and one joystick
// of (desktop/keyboard.cpp, win32/joystick_api.cpp), as it does in a headless run.
#pragma once

#include <cstdint>

namespace platform::replay {

// The run's frames, counted as run/ begins and ends them (FrameBegin, FrameEnd): the frame's
// number, its serial and its timer reading; with RuntimeOptions::stats its CPU time too.
long BeginFrameClock();
void EndFrameClock();

// The virtual clock's reading, in ms (headless runs).
std::uint32_t VirtualNow();
// Adds a sleep to TotalSleptMs.
void CountSleep(std::uint32_t ms);

// A number for the frame being played, never the same twice in the program's life (so that what
// was read in a frame is not taken for another's, a run later); 0 between frames.
std::uint64_t FrameSerial();
// The timer's reading as the frame began.
std::uint32_t FrameTimer();

// The timer of a window run: SDL's milliseconds less the time the game did not play (paused, or
// the whole program stopped). Between frames and for a window run's frames.
std::uint32_t WindowTicks();
// The player's game speed in percent (50 to 100; 100 in a headless run): a window's timer runs at
// it, and the game's sleeps last longer by as much, so the game is the same frame by frame, slower.
int GameSpeed();
// The real milliseconds a sleep of the game's takes at that speed.
std::uint32_t RealMsOf(std::uint32_t gameMs);
// Time the game did not play is taken out of its timer: a pause's, or a stop's.
void TakeOutOfTime(std::uint32_t ms);
// Time a message box held the frame (the game's questions keep its clock running): not a stop.
void CountBoxTime(std::uint32_t ms);
// How long a stop of the whole program (a closed lid, SIGSTOP, a hidden browser tab) lasted that the
// frames just played saw, in ms, 0 when none; noticed as a window run's frames begin: a gap between
// two frames, or a frame that took far longer than any frame does outside a message box. Taking it
// clears it. The time is already out of the timer.
std::uint32_t TakeStop();
// A gap longer than this between the end of a frame and the start of the next, or a frame taking
// longer than kStopInFrameMs outside its message boxes, is a stop.
constexpr std::uint32_t kStopBetweenFramesMs = 2000;
constexpr std::uint32_t kStopInFrameMs = 5000;

// The sound device is part of what a run met: a window without one plays silently, its game told
// that the sound did not open. Counts the run's openings of the device and says whether this one may
// go ahead (a replayed recording fails the ones that failed when it was recorded); `opening` gets
// its number.
bool SoundOpeningAllowed(long* opening);
// The opening failed: a recording keeps it.
void SoundOpeningFailed(long opening);

}  // namespace platform::replay
