// Where the music has no FluidSynth, there is no sound font to share.
#include "platform/audio_mixer.h"

namespace platform::audio {

void ShareSoundFonts() {}

std::uint64_t SoundFontReads() {
    return 0;
}

}  // namespace platform::audio
