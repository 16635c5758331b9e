// A quick reader for 8-bit RGBA PNG files that are not interlaced. Every chunk's CRC and the image
// data's Adler-32 are checked; anything unusual hands the file back to SDL_image.
#include "platform/pictures/png_rgba.h"

#include "platform/pictures/picture_cache.h"

#include "platform/files/file_handle.h"

#include <libdeflate.h>

#include <bit>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace platform::pictures {
namespace {

static_assert(std::endian::native == std::endian::little, "texels are read as little-endian words");

std::uint32_t Be32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

bool ChunkIs(const std::uint8_t* type, const char* name) {
    return std::memcmp(type, name, 4) == 0;
}

// Ancillary chunks that do not change the pixels SDL_image gives: text, time and pixel size.
bool Harmless(const std::uint8_t* type) {
    return ChunkIs(type, "tEXt") || ChunkIs(type, "zTXt") || ChunkIs(type, "iTXt") || ChunkIs(type, "tIME") ||
           ChunkIs(type, "pHYs");
}

bool ReadWholeFile(const char* file, std::vector<std::uint8_t>* out) {
    return platform::files::ReadRegularFile(file, out);
}

// The filters work on whole texels: each byte is predicted from the bytes of the texel to its left
// (a), above (b) and above-left (c). Four bytes at a time in 16-bit lanes.
#if defined(__SSE2__)
inline __m128i LoadTexel(const std::uint8_t* p) {
    std::int32_t v;
    std::memcpy(&v, p, 4);
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(v), _mm_setzero_si128());
}
// Adds the prediction to the texel's filtered bytes, stores them and gives them back in 16-bit lanes.
inline __m128i AddTexel(std::uint8_t* p, __m128i prediction) {
    std::int32_t v;
    std::memcpy(&v, p, 4);
    const __m128i sum = _mm_add_epi8(_mm_cvtsi32_si128(v), _mm_packus_epi16(prediction, prediction));
    v = _mm_cvtsi128_si32(sum);
    std::memcpy(p, &v, 4);
    return _mm_unpacklo_epi8(sum, _mm_setzero_si128());
}
inline __m128i Abs16(__m128i x) {
    return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x));
}
inline __m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}
#endif

#if !defined(__SSE2__)
int PaethByte(int a, int b, int c) {
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}
#endif

// Undoes one row's filter in place; prev is the row above, already undone (zeros for the first).
bool Unfilter(int filter, std::uint8_t* row, const std::uint8_t* prev, std::size_t bytes) {
    constexpr std::size_t bpp = 4;
    switch (filter) {
        case 0:
            return true;
        case 1: {
#if defined(__SSE2__)
            __m128i a = _mm_setzero_si128();
            for (std::size_t i = 0; i < bytes; i += bpp) a = AddTexel(row + i, a);
#else
            for (std::size_t i = bpp; i < bytes; ++i) row[i] = std::uint8_t(row[i] + row[i - bpp]);
#endif
            return true;
        }
        case 2: {
            std::size_t i = 0;
#if defined(__SSE2__)
            for (; i + 16 <= bytes; i += 16) {
                const __m128i sum = _mm_add_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)),
                                                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i)));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), sum);
            }
#endif
            for (; i < bytes; ++i) row[i] = std::uint8_t(row[i] + prev[i]);
            return true;
        }
        case 3: {
#if defined(__SSE2__)
            __m128i a = _mm_setzero_si128();
            for (std::size_t i = 0; i < bytes; i += bpp)
                a = AddTexel(row + i, _mm_srli_epi16(_mm_add_epi16(a, LoadTexel(prev + i)), 1));
#else
            for (std::size_t i = 0; i < bpp; ++i) row[i] = std::uint8_t(row[i] + (prev[i] >> 1));
            for (std::size_t i = bpp; i < bytes; ++i)
                row[i] = std::uint8_t(row[i] + ((unsigned(row[i - bpp]) + prev[i]) >> 1));
#endif
            return true;
        }
        case 4: {
#if defined(__SSE2__)
            __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
            for (std::size_t i = 0; i < bytes; i += bpp) {
                const __m128i b = LoadTexel(prev + i);
                const __m128i p = _mm_sub_epi16(b, c), q = _mm_sub_epi16(a, c);
                const __m128i pa = Abs16(p), pb = Abs16(q), pc = Abs16(_mm_add_epi16(p, q));
                const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
                // Ties go to a, then to b.
                const __m128i nearest =
                    Select(_mm_cmpeq_epi16(smallest, pa), a, Select(_mm_cmpeq_epi16(smallest, pb), b, c));
                a = AddTexel(row + i, nearest);
                c = b;
            }
#else
            for (std::size_t i = 0; i < bpp; ++i) row[i] = std::uint8_t(row[i] + prev[i]);
            for (std::size_t i = bpp; i < bytes; ++i)
                row[i] = std::uint8_t(row[i] + PaethByte(row[i - bpp], prev[i], prev[i - bpp]));
#endif
            return true;
        }
        default:
            return false;
    }
}

struct Scratch {
    std::vector<std::uint8_t> file, idat;
    std::unique_ptr<std::uint8_t[]> raw;  // the inflated rows; every byte is written before it is read
    std::size_t rawCapacity = 0;
    libdeflate_decompressor* inflater = nullptr;
    ~Scratch() {
        if (inflater) libdeflate_free_decompressor(inflater);
    }
};

}  // namespace

bool ReadRgbaPng(const char* file, Picture* picture) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    // The buffers stay for the next file: most pictures are read one after another.
    thread_local Scratch s;
    if (!ReadWholeFile(file, &s.file)) return false;
    const std::uint8_t* d = s.file.data();
    const std::size_t size = s.file.size();
    if (size < 8 + 25 || std::memcmp(d, kSignature, 8) != 0) return false;

    std::uint32_t width = 0, height = 0;
    bool header = false, end = false, dataDone = false;
    s.idat.clear();
    for (std::size_t pos = 8; !end;) {
        if (size - pos < 12) return false;
        const std::uint32_t length = Be32(d + pos);
        const std::uint8_t* type = d + pos + 4;
        if (length > size - pos - 12) return false;
        const std::uint8_t* data = type + 4;
        if (libdeflate_crc32(0, type, length + 4) != Be32(data + length)) return false;
        if (!header) {
            // IHDR: 8-bit RGBA, deflate, the standard filters, not interlaced.
            if (!ChunkIs(type, "IHDR") || length != 13) return false;
            width = Be32(data);
            height = Be32(data + 4);
            if (width == 0 || height == 0 || width > 16384 || height > 16384) return false;
            if (data[8] != 8 || data[9] != 6 || data[10] != 0 || data[11] != 0 || data[12] != 0) return false;
            header = true;
        } else if (ChunkIs(type, "IDAT")) {
            if (dataDone) return false;  // the image data comes in one run of chunks
            s.idat.insert(s.idat.end(), data, data + length);
        } else if (ChunkIs(type, "IEND")) {
            end = true;
        } else if (!Harmless(type)) {
            return false;
        } else if (!s.idat.empty()) {
            dataDone = true;
        }
        pos += 12 + std::size_t(length);
    }

    const std::size_t rowBytes = std::size_t(width) * 4;
    const std::size_t rawBytes = std::size_t(height) * (rowBytes + 1);
    if (rawBytes > s.rawCapacity) {
        s.raw.reset(new (std::nothrow) std::uint8_t[rawBytes]);
        s.rawCapacity = s.raw ? rawBytes : 0;
        if (!s.raw) return false;
    }
    if (!s.inflater && !(s.inflater = libdeflate_alloc_decompressor())) return false;
    std::size_t got = 0;
    if (libdeflate_zlib_decompress(s.inflater, s.idat.data(), s.idat.size(), s.raw.get(), rawBytes, &got) !=
            LIBDEFLATE_SUCCESS ||
        got != rawBytes)
        return false;

    int w = 1, h = 1;
    while (w < int(width)) w <<= 1;
    while (h < int(height)) h <<= 1;
    picture->width = w;
    picture->height = h;
    picture->pixels.reset(new (std::nothrow) std::uint32_t[std::size_t(w) * std::size_t(h)]);
    if (!picture->pixels) return false;
    picture->fileHasAlpha = true;

    static const std::uint8_t kZeroRow[4 * 16384] = {};
    const std::uint8_t* prev = kZeroRow;
    std::uint32_t alphaAnd = 0xFF000000u;
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* row = s.raw.get() + std::size_t(y) * (rowBytes + 1);
        if (!Unfilter(row[0], row + 1, prev, rowBytes)) return false;
        // R, G, B, A bytes read as one little-endian word are A B G R: red and blue change places.
        const std::uint8_t* in = row + 1;
        std::uint32_t* out = picture->pixels.get() + std::size_t(y) * std::size_t(w);
        std::uint32_t x = 0;
#if defined(__SSE2__)
        const __m128i greenAlpha = _mm_set1_epi32(int(0xFF00FF00u)), low = _mm_set1_epi32(0xFF);
        __m128i alphas = _mm_set1_epi32(-1);
        for (; x + 4 <= width; x += 4) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + std::size_t(x) * 4));
            alphas = _mm_and_si128(alphas, p);
            const __m128i argb = _mm_or_si128(_mm_and_si128(p, greenAlpha),
                                              _mm_or_si128(_mm_slli_epi32(_mm_and_si128(p, low), 16),
                                                           _mm_and_si128(_mm_srli_epi32(p, 16), low)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), argb);
        }
        alignas(16) std::uint32_t lanes[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), alphas);
        alphaAnd &= lanes[0] & lanes[1] & lanes[2] & lanes[3];
#endif
        for (; x < width; ++x) {
            std::uint32_t p;
            std::memcpy(&p, in + std::size_t(x) * 4, 4);
            alphaAnd &= p;
            out[x] = (p & 0xFF00FF00u) | ((p & 0xFFu) << 16) | ((p >> 16) & 0xFFu);
        }
        std::memset(out + width, 0, std::size_t(w - int(width)) * 4);
        prev = row + 1;
    }
    for (int y = int(height); y < h; ++y)
        std::memset(picture->pixels.get() + std::size_t(y) * std::size_t(w), 0, std::size_t(w) * 4);
    picture->opaque = (alphaAnd & 0xFF000000u) == 0xFF000000u && int(width) == w && int(height) == h;
    return true;
}

}  // namespace platform::pictures
