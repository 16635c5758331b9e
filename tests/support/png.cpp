#include "support/png.h"

#include <SDL_image.h>

namespace sdl = platform::sdl;

namespace testing_support {

sdl::SurfacePtr ReadPng(const std::string& file) {
    const sdl::SurfacePtr loaded(IMG_Load(file.c_str()));
    if (!loaded) return nullptr;
    return sdl::SurfacePtr(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
}

Uint32 PixelOf(const SDL_Surface* s, int x, int y) {
    return reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch)[x];
}

Uint32 PixelAt(const std::string& png, int x, int y) {
    const sdl::SurfacePtr s = ReadPng(png);
    return s ? PixelOf(s.get(), x, y) : 0xDEADBEEF;
}

void WritePicture(const std::string& file, int w, int h, Uint32 argb) {
    const sdl::SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888));
    SDL_FillRect(s.get(), nullptr, argb);
    IMG_SavePNG(s.get(), file.c_str());
}

}  // namespace testing_support
