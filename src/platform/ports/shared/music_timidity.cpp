// The music where there is no FluidSynth (Windows, the web): a player hears it from the system's own
// MIDI synthesizer; runs on the game's clock (headless, pulled, recorded) play it through Timidity
// with the instruments that come with the game, mixed with everything else. No sound font is read.
#include "platform/audio/audio_mixer.h"
#include "platform/files/file_handle.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <string>

namespace platform::audio {

#ifdef _WIN32
// ports/windows/midi_probe_windows.cpp: false, with the reason, where the system's MIDI cannot play.
bool SystemMidiPlays(std::string* why);
#endif

namespace {

// Whether the system's MIDI synthesizer plays the music, asked once: a player's music goes to
// Timidity from then on when it cannot.
bool UseSystemMidi() {
#ifdef _WIN32
    static const bool plays = [] {
        std::string why;
        if (SystemMidiPlays(&why)) return true;
        std::fprintf(stderr, "rushmora: %s: the music plays through the game's own Timidity instruments\n",
                     why.c_str());
        return false;
    }();
    return plays;
#else
    return true;
#endif
}

}  // namespace

void PrepareMusic(bool onGameClock) {
    if (char* base = SDL_GetBasePath()) {
        const std::string config = std::string(base) + "timidity/timidity.cfg";
        SDL_free(base);
        // (The web page's instruments may still be coming: Timidity reads them at the first piece
        // it loads once they have come.)
        if (files::IsRegularFile(config) || MusicInstrumentsComing()) Mix_SetTimidityCfg(config.c_str());
    }
    SDL_SetHint("SDL_NATIVE_MUSIC", onGameClock || !UseSystemMidi() ? "0" : "1");
}

// Timidity with the freepats instruments plays about 5 dB louder than FluidSynth: half the volume
// brings the same share back.
int MusicVolume(int fluidSynthVolume) {
    if (!SDL_GetHintBoolean("SDL_NATIVE_MUSIC", SDL_FALSE)) return fluidSynthVolume / 2;
    return fluidSynthVolume;
}

std::uint64_t SoundFontReads() {
    return 0;
}

}  // namespace platform::audio
