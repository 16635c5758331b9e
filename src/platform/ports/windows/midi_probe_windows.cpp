// Whether the system's own MIDI synthesizer can play the music. Wine (and Proton) on a desktop
// without a MIDI synthesizer has a sound device but no working MIDI output: its MIDI mapper fails
// to open a stream, or opens one whose playing crashes or never returns. There, and wherever no
// MIDI output opens, the music goes to the Timidity player the game ships instead.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <mmsystem.h>

#include <string>

namespace platform::desktop {
bool UnderWine();  // graphics_hardware_windows.cpp
}

namespace platform::audio {

bool SystemMidiPlays(std::string* why) {
    if (desktop::UnderWine()) {
        *why = "Wine's MIDI output";
        return false;
    }
    if (midiOutGetNumDevs() == 0) {
        *why = "no MIDI output device";
        return false;
    }
    HMIDISTRM stream = nullptr;
    UINT device = MIDI_MAPPER;
    if (midiStreamOpen(&stream, &device, 1, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        *why = "the MIDI output does not open";
        return false;
    }
    midiStreamClose(stream);
    return true;
}

}  // namespace platform::audio
