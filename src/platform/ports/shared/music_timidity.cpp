// The music where there is no FluidSynth (Windows, the web): a player hears it from the system's own
// MIDI synthesizer; runs on the game's clock (headless, pulled, recorded) play it through Timidity
// with the instruments that come with the game, mixed with everything else. No sound font is read.
#include "platform/audio/audio_mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace platform::audio {

void PrepareMusic(bool onGameClock) {
    if (char* base = SDL_GetBasePath()) {
        const std::string config = std::string(base) + "timidity/timidity.cfg";
        SDL_free(base);
        if (FileExists(config.c_str())) Mix_SetTimidityCfg(config.c_str());
    }
    SDL_SetHint("SDL_NATIVE_MUSIC", onGameClock ? "0" : "1");
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
