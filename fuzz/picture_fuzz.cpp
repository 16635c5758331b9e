// libFuzzer target: any bytes as a picture file, loaded the way a texture slot loads one (the
// picture cache over the quick PNG reader and SDL_image), with a largest texture of 256x128. A
// picture comes back of a power-of-two size within that limit with every texel there, or nothing.
#include "platform/pictures/picture_cache.h"
#include "platform/pictures/picture_header.h"
#include "scratch_folder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace pictures = platform::pictures;

namespace platform {
// The warnings of refused pictures would only fill the fuzzer's output.
void Warn(const std::string&) {}
}  // namespace platform

namespace {

constexpr int kMaxWidth = 256, kMaxHeight = 128;

const std::string& PictureFile() {
    static const std::string path = ScratchFolder() + "/input.picture";
    return path;
}

void Check(const std::shared_ptr<const pictures::Picture>& p, const pictures::PictureHeader* header) {
    if (!p) return;
    if (!header) std::abort();  // a file without a readable size is never decoded
    const int w = p->width, h = p->height;
    if (w < 1 || h < 1 || w > kMaxWidth || h > kMaxHeight || (w & (w - 1)) || (h & (h - 1)) || !p->pixels)
        std::abort();
    // Never more than the header claimed, padded to a power of two.
    if (std::uint64_t(w) >= 2 * std::uint64_t(header->width) ||
        std::uint64_t(h) >= 2 * std::uint64_t(header->height))
        std::abort();
    std::uint32_t all = 0;
    for (std::size_t i = 0; i < p->Bytes() / 4; ++i) all |= p->pixels[i];
    (void)all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(PictureFile().c_str(), "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);

    // A file rewritten within one tick of the file system's clock, at the same length, looks
    // unchanged to the cache: each input starts with an empty one.
    pictures::ClearPictureCache();
    pictures::PictureHeader header;
    const bool sized = pictures::ReadPictureHeader(PictureFile().c_str(), &header);
    // Decoded, then again from the cache, then from the cache for a smaller texture.
    Check(pictures::LoadPicture(PictureFile().c_str(), kMaxWidth, kMaxHeight), sized ? &header : nullptr);
    Check(pictures::LoadPicture(PictureFile().c_str(), kMaxWidth, kMaxHeight), sized ? &header : nullptr);
    const auto small = pictures::LoadPicture(PictureFile().c_str(), 16, 16);
    if (small && (small->width > 16 || small->height > 16)) std::abort();
    return 0;
}
