// The millisecond timer and Sleep. Headless runs keep virtual time: a sleep returns at once and
// moves the clock on, so that a replay takes the same path however fast the machine is. In a window
// the timer reads, all through a frame, what it read as the frame began, as a headless frame's does
// (so a recorded run's frame has one reading to give its replay); between frames it is the real one.
// A window's timer leaves out the time the game did not play: a pause, or the program stopped. At
// a game speed below 100 % it runs slower, and sleeps last longer, by the same factor.
#include "platform/mmsystem.h"
#include "platform/replay/virtual_time.h"
#include "platform/runtime.h"

#include <SDL.h>

DWORD timeGetTime() {
    if (platform::Headless()) return platform::replay::VirtualNow();
    if (platform::replay::FrameSerial() != 0) return platform::replay::FrameTimer();
    return DWORD(platform::replay::WindowTicks());
}

MMRESULT timeBeginPeriod(UINT period) {
    return period >= 1 ? TIMERR_NOERROR : TIMERR_NOCANDO;
}
MMRESULT timeEndPeriod(UINT period) {
    return period >= 1 ? TIMERR_NOERROR : TIMERR_NOCANDO;
}

void Sleep(DWORD milliseconds) {
    platform::replay::CountSleep(milliseconds);
    if (platform::Headless())
        platform::AdvanceVirtualTime(milliseconds);
    else
        SDL_Delay(platform::replay::RealMsOf(milliseconds));
}
