// The kind and size of a picture file, read from its first bytes without decoding it: the loader
// refuses a picture too large for a texture before it spends memory or time on its pixels.
#pragma once

#include <cstdint>

namespace platform::pictures {

enum class PictureKind { kPng, kBmp, kJpeg };

struct PictureHeader {
    PictureKind kind = PictureKind::kPng;
    std::uint32_t width = 0, height = 0;  // what decoding the file gives, in pixels
};

// False when the file cannot be read (or is no regular file), is of no kind the game reads (PNG, BMP,
// JPEG), or its header gives no size (cut short, a zero side); for PNG also when the file is not whole
// (a chunk that claims more bytes than the file has left, a checksum that does not match, no IEND):
// damaged then says so.
bool ReadPictureHeader(const char* file, PictureHeader* header, bool* damaged = nullptr);

}  // namespace platform::pictures
