// Linked statically (Windows, the web), SDL_mixer's call is sent here by the linker
// (--wrap=SDL_OpenAudioDevice).
#include "platform/audio/audio_device.h"

extern "C" SDL_AudioDeviceID __real_SDL_OpenAudioDevice(const char*, int, const SDL_AudioSpec*,
                                                        SDL_AudioSpec*, int);
extern "C" SDL_AudioDeviceID __wrap_SDL_OpenAudioDevice(const char* device, int iscapture,
                                                        const SDL_AudioSpec* desired, SDL_AudioSpec* obtained,
                                                        int allowedChanges) {
    return platform::audio::OpenDevice(__real_SDL_OpenAudioDevice, device, iscapture, desired, obtained,
                                       allowedChanges);
}

void platform::audio::TakeOverDeviceOpens() {}
