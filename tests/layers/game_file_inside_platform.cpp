// Built only by the layer test, with the game's include settings: it must not compile, as the mixer
// is inside the platform and the game reaches the platform through its public headers alone.
#include "platform/audio/audio_mixer.h"

int GameFileInsidePlatform() {
    return platform::audio::IsOpen() ? 1 : 0;
}
