// PNG files in the tests: the screenshots runs write and the pictures tests make, read and written
// through SDL_image as ARGB8888 pixels (0xAARRGGBB).
#pragma once

#include "platform/common/sdl_handles.h"

#include <SDL.h>

#include <string>

namespace sdl = platform::sdl;

namespace testing_support {

// The picture of a PNG file as an ARGB8888 surface; null when it cannot be read.
sdl::SurfacePtr ReadPng(const std::string& file);
// One pixel of an ARGB8888 surface.
Uint32 PixelOf(const SDL_Surface* s, int x, int y);
// One pixel of a PNG file; 0xDEADBEEF when it cannot be read.
Uint32 PixelAt(const std::string& png, int x, int y);
// Writes a solid picture of w x h in one colour to the file.
void WritePicture(const std::string& file, int w, int h, Uint32 argb);

}  // namespace testing_support
