// Picture sizes from file headers: PNG's IHDR chunk, the BMP info header, JPEG's start-of-frame
// segment. Nothing here allocates by what the file claims. GIF files are not read: SDL_image may
// decode any frame of one, each of its own size (and Direct3D's own loader never took GIF).
#include "platform/pictures/picture_header.h"

#include "platform/files/file_handle.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace platform::pictures {
namespace {

std::uint32_t Be16(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 8) | p[1];
}
std::uint32_t Be32(const std::uint8_t* p) {
    return (Be16(p) << 16) | Be16(p + 2);
}
std::uint32_t Le16(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8);
}
std::uint32_t Le32(const std::uint8_t* p) {
    return Le16(p) | (Le16(p + 2) << 16);
}

bool Read(std::FILE* f, std::uint8_t* out, std::size_t n) {
    return std::fread(out, 1, n, f) == n;
}

bool Skip(std::FILE* f, long n) {
    return n == 0 || std::fseek(f, n, SEEK_CUR) == 0;
}

// The size in the first start-of-frame segment of a JPEG file (baseline, progressive, lossless,
// arithmetic: markers C0 to CF but C4, C8 and CC); the scan data or the file's end before one means
// there is none.
bool JpegFrame(std::FILE* f, std::uint32_t* width, std::uint32_t* height) {
    for (;;) {
        std::uint8_t b[7];
        if (!Read(f, b, 1) || b[0] != 0xFF) return false;
        do {
            if (!Read(f, b, 1)) return false;
        } while (b[0] == 0xFF);  // fill bytes
        const std::uint8_t marker = b[0];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return false;
        if (!Read(f, b, 2)) return false;
        const std::uint32_t length = Be16(b);
        if (length < 2) return false;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            if (length < 8 || !Read(f, b, 5)) return false;  // precision, height, width
            *height = Be16(b + 1);
            *width = Be16(b + 3);
            return true;
        }
        if (!Skip(f, long(length) - 2)) return false;
    }
}

// Whether a PNG file is whole: every chunk lies inside the file with its checksum right, up to its
// IEND. The PNG decoder would otherwise read (and checksum) a chunk's claimed length, up to 2 GB,
// past the end of a file of a few bytes; and on a file cut short (after any chunk, or a few bytes
// into the next one's header) SDL_image's reader lets libpng read the same bytes again for ever.
bool PngChunksWhole(std::FILE* f) {
    if (std::fseek(f, 0, SEEK_END) != 0) return false;
    const long size = std::ftell(f);
    std::vector<std::uint8_t> data;
    for (long pos = 8; size - pos >= 12;) {
        std::uint8_t b[8];
        if (std::fseek(f, pos, SEEK_SET) != 0 || !Read(f, b, 8)) return false;
        const std::uint32_t length = Be32(b);
        if (std::int64_t(length) > std::int64_t(size) - pos - 12) return false;  // with its CRC
        data.resize(std::size_t(length) + 8);
        std::memcpy(data.data(), b + 4, 4);
        if (!Read(f, data.data() + 4, std::size_t(length) + 4)) return false;
        if (libdeflate_crc32(0, data.data(), std::size_t(length) + 4) != Be32(data.data() + 4 + length))
            return false;
        if (std::memcmp(b + 4, "IEND", 4) == 0) return true;
        pos += 12 + long(length);
    }
    return false;
}

}  // namespace

bool ReadPictureHeader(const char* file, PictureHeader* header, bool* damaged) {
    if (damaged) *damaged = false;
    if (!file || !header) return false;
    const files::FilePtr f = platform::files::OpenRegularFile(file);
    if (!f) return false;
    std::uint8_t b[26] = {};
    const std::size_t got = std::fread(b, 1, sizeof b, f.get());
    std::uint32_t w = 0, h = 0;
    if (got >= 24 && std::memcmp(b, "\x89PNG\r\n\x1a\n", 8) == 0) {
        if (Be32(b + 8) != 13 || std::memcmp(b + 12, "IHDR", 4) != 0 || !PngChunksWhole(f.get())) {
            if (damaged) *damaged = true;
            return false;
        }
        header->kind = PictureKind::kPng;
        w = Be32(b + 16);
        h = Be32(b + 20);
    } else if (got >= 26 && b[0] == 'B' && b[1] == 'M') {
        header->kind = PictureKind::kBmp;
        if (Le32(b + 14) == 12) {  // the old core header: 16-bit sides
            w = Le16(b + 18);
            h = Le16(b + 20);
        } else {
            // Signed sides; a negative height stores the rows top down.
            const auto sw = std::int32_t(Le32(b + 18)), sh = std::int32_t(Le32(b + 22));
            if (sw <= 0 || sh == 0 || sh == INT32_MIN) return false;
            w = std::uint32_t(sw);
            h = std::uint32_t(sh < 0 ? -sh : sh);
        }
    } else if (got >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) {
        header->kind = PictureKind::kJpeg;
        if (std::fseek(f.get(), 2, SEEK_SET) != 0 || !JpegFrame(f.get(), &w, &h)) return false;
    } else {
        return false;
    }
    if (w == 0 || h == 0) return false;
    header->width = w;
    header->height = h;
    return true;
}

}  // namespace platform::pictures
