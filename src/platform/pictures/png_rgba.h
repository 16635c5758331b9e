// A quick reader for the game's own kind of PNG file: 8-bit RGBA, not interlaced. It inflates the
// image data in one go (libdeflate) and undoes the row filters straight into ARGB8888 texels.
#pragma once

#include <cstdint>

namespace platform::pictures {

struct Picture;

// Reads such a file into a picture of the power-of-two size that holds it, transparent outside the
// picture. False for any other kind of file, or for one that is damaged in any way (a checksum
// that does not match, missing or surplus image data, an unknown critical chunk, a colour-space
// chunk): those are left to SDL_image, whose result stays the one the game always had.
bool ReadRgbaPng(const char* file, Picture* picture);

}  // namespace platform::pictures
