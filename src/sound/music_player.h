// Background music: a MIDI file on the system's sequencer, looped for as long as its scene lives.
// The open's notification starts the first pass and the end of every pass starts the next, through
// the main window's MM_MCINOTIFY (HandleMusicNotify).
#pragma once

#include "platform/mmaudio.h"

class MusicPlayer {
  public:
    MCIERROR lastResult = 0;  // the result of the last Stop

    void Play(const char* fileName);
    void Stop();
};

// The main window's MM_MCINOTIFY: after a pass that ended well, rewind the device (the long
// parameter) and play it again, notifying the main window at its end.
void HandleMusicNotify(WPARAM wParam, LPARAM lParam);

// Opens or closes the tray of the CD drive; the result of the last command sent.
MCIERROR SetCdDoor(bool open, const char* driveName);
