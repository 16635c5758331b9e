// Owning pointers for SDL objects: each frees its object with the matching SDL call when it goes.
// Whatever holds one must let go of it before SDL_Quit (TTF_Quit for fonts). Textures that a
// renderer may already have taken with it are not held here (see platform::raster::TextureData).
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <memory>
#include <utility>

namespace platform::sdl {

template <auto Free>
struct Deleter {
    template <typename T>
    void operator()(T* object) const {
        Free(object);
    }
};

using SurfacePtr = std::unique_ptr<SDL_Surface, Deleter<SDL_FreeSurface>>;
using TexturePtr = std::unique_ptr<SDL_Texture, Deleter<SDL_DestroyTexture>>;
using RendererPtr = std::unique_ptr<SDL_Renderer, Deleter<SDL_DestroyRenderer>>;
using WindowPtr = std::unique_ptr<SDL_Window, Deleter<SDL_DestroyWindow>>;
using CursorPtr = std::unique_ptr<SDL_Cursor, Deleter<SDL_FreeCursor>>;
using GameControllerPtr = std::unique_ptr<SDL_GameController, Deleter<SDL_GameControllerClose>>;
using JoystickPtr = std::unique_ptr<SDL_Joystick, Deleter<SDL_JoystickClose>>;
using FontPtr = std::unique_ptr<TTF_Font, Deleter<TTF_CloseFont>>;
using ChunkPtr = std::unique_ptr<Mix_Chunk, Deleter<Mix_FreeChunk>>;

// An audio device SDL opened (SDL_OpenAudioDevice numbers them, 0 for none): closed when it goes.
class AudioDevice {
  public:
    AudioDevice() = default;
    explicit AudioDevice(SDL_AudioDeviceID id) : id_(id) {}
    AudioDevice(AudioDevice&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
    AudioDevice& operator=(AudioDevice&& other) noexcept {
        if (this != &other) {
            reset();
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;
    ~AudioDevice() { reset(); }

    SDL_AudioDeviceID get() const { return id_; }
    explicit operator bool() const { return id_ != 0; }
    void reset() {
        if (id_) SDL_CloseAudioDevice(id_);
        id_ = 0;
    }

  private:
    SDL_AudioDeviceID id_ = 0;
};

}  // namespace platform::sdl
