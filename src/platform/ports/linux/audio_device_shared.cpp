// With SDL as a shared library, SDL_mixer's call lands on this definition, which passes it on to SDL's.
#include "platform/audio/audio_device.h"

#include <dlfcn.h>

extern "C" SDL_AudioDeviceID SDL_OpenAudioDevice(const char* device, int iscapture,
                                                 const SDL_AudioSpec* desired, SDL_AudioSpec* obtained,
                                                 int allowedChanges) {
    static const auto real =
        reinterpret_cast<platform::audio::OpenFn>(dlsym(RTLD_NEXT, "SDL_OpenAudioDevice"));
    return platform::audio::OpenDevice(real, device, iscapture, desired, obtained, allowedChanges);
}

void platform::audio::TakeOverDeviceOpens() {}
