// Decoded pictures, kept across scenes: a texture loaded from a file a scene loaded before gets the
// pixels decoded then, as long as the file is unchanged (same path, size and modification time).
// Only the decoding is kept: every load still makes a texture of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform::pictures {

// A picture as a texture loaded from its file holds it: ARGB8888, the power-of-two size that holds
// the file's picture, texels outside the picture transparent zero (opaque black for a file without
// alpha, whose texture ignores alpha).
struct Picture {
    int width = 0, height = 0;  // power-of-two texture size
    std::unique_ptr<std::uint32_t[]> pixels;
    bool fileHasAlpha = false;  // the texture is A8R8G8B8 (else X8R8G8B8)
    bool opaque = false;        // no texel has alpha below 255
    std::size_t Bytes() const { return std::size_t(width) * std::size_t(height) * 4; }
};

// The decoded picture of an image file, from the cache when the file is unchanged since it was
// decoded; null when the file does not exist, is not a picture (PNG, BMP or JPEG), or its
// texture would be wider or taller than the given largest texture. A picture too large is refused
// by the size in its header, before anything is decoded, with a warning naming the file.
std::shared_ptr<const Picture> LoadPicture(const char* file, int maxWidth, int maxHeight);

// Decodes a file without the cache.
std::shared_ptr<const Picture> DecodePicture(const char* file, int maxWidth, int maxHeight);

// How much the cache holds at most, in bytes of pixels; the pictures used longest ago go first.
// The default holds every picture of the game's data folder (about 56 MiB decoded).
constexpr std::size_t kDefaultPictureCacheBytes = 64u << 20;
void SetPictureCacheLimit(std::size_t bytes);

struct PictureCacheStats {
    std::size_t entries = 0;
    std::size_t bytes = 0;
    std::uint64_t decodes = 0;  // files decoded since the start (hits do not count)
};
PictureCacheStats PictureCacheState();
void ClearPictureCache();

}  // namespace platform::pictures
