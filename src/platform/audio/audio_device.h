// The audio-device takeover of the mixer: SDL_mixer's SDL_OpenAudioDevice comes to OpenDevice first.
// How it gets there depends on how SDL is linked, so each way is a file of the ports:
// ports/linux/audio_device_shared.cpp defines SDL_OpenAudioDevice over the shared library's, and
// ports/shared/audio_device_wrapped.cpp takes the linker's --wrap of a static SDL (Windows, the web).
#pragma once

#include <SDL.h>

namespace platform::audio {

using OpenFn = SDL_AudioDeviceID (*)(const char*, int, const SDL_AudioSpec*, SDL_AudioSpec*, int);

// Opens the device SDL_mixer asks for through real (SDL's own open), or, while the mixer is opened
// to be pulled on the game's clock, a silent device whose callback it keeps for itself.
SDL_AudioDeviceID OpenDevice(OpenFn real, const char* device, int iscapture, const SDL_AudioSpec* desired,
                             SDL_AudioSpec* obtained, int allowedChanges);

// Defined beside the port's way in and called as the mixer opens, so that the linker takes that
// file from the platform's library into every program.
void TakeOverDeviceOpens();

}  // namespace platform::audio
