// Decoded pictures, kept across scenes. A file is known by its full path, its size and its
// modification time: an edited file is decoded again. The pictures used longest ago go first when
// the cache is over its limit.
#include "platform/pictures/picture_cache.h"
#include "platform/common/owner.h"

#include "platform/pictures/file_identity.h"
#include "platform/pictures/picture_header.h"
#include "platform/pictures/png_rgba.h"
#include "platform/files/file_handle.h"
#include "platform/runtime.h"
#include "platform/common/sdl_handles.h"

#include <SDL.h>
#include <SDL_image.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <list>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <system_error>

namespace platform::pictures {
namespace {

std::uint64_t NextPowerOfTwo(std::uint64_t v) {
    std::uint64_t p = 1;
    while (p < v) p <<= 1;
    return p;
}

// Whether the texture of a picture of w x h (the power-of-two size that holds it) is small enough.
bool Fits(std::uint64_t w, std::uint64_t h, int maxWidth, int maxHeight) {
    return maxWidth > 0 && maxHeight > 0 && NextPowerOfTwo(w) <= std::uint64_t(maxWidth) &&
           NextPowerOfTwo(h) <= std::uint64_t(maxHeight);
}

void WarnTooLarge(const char* file, std::uint64_t w, std::uint64_t h, int maxWidth, int maxHeight) {
    platform::Warn(std::string(file) + ": a picture of " + std::to_string(w) + "x" + std::to_string(h) +
                   " is larger than the largest texture (" + std::to_string(maxWidth) + "x" +
                   std::to_string(maxHeight) + "); it is not loaded");
}

// SDL_image's decoder of the kind the header says, so that the file is read as what was measured.
SDL_Surface* DecodeWithSdlImage(const char* file, PictureKind kind) {
    std::vector<unsigned char> bytes;
    if (!platform::files::ReadRegularFile(file, &bytes) || bytes.empty() ||
        bytes.size() > std::size_t(INT32_MAX))
        return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (!rw) return nullptr;
    SDL_Surface* s = nullptr;
    switch (kind) {
        case PictureKind::kPng:
            s = IMG_LoadPNG_RW(rw);
            break;
        case PictureKind::kBmp:
            s = IMG_LoadBMP_RW(rw);
            break;
        case PictureKind::kJpeg:
            s = IMG_LoadJPG_RW(rw);
            break;
    }
    SDL_RWclose(rw);
    return s;
}

// A file's identity: where it is (its full path), how long it is and when it was last written.
bool KeyOf(const char* file, std::string* path, std::string* key) {
    const std::string version = platform::pictures::FileVersion(file);
    if (version.empty()) return false;
    std::error_code error;
    const std::filesystem::path full =
        std::filesystem::canonical(platform::files::PathOfUtf8(platform::files::Overlaid(file)), error);
    if (error) return false;
    *path = platform::files::Utf8OfPath(full);
    *key = *path + '\n' + version;
    return true;
}

// RGBA bytes (SDL's ABGR8888) to ARGB8888, straight into the picture's rows; alphaAnd gathers the
// alpha of every texel.
void SwizzleRows(const SDL_Surface* from, Picture& to, std::uint32_t* alphaAnd) {
    std::uint32_t all = 0xFF000000u;
    for (int y = 0; y < from->h; ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(static_cast<const Uint8*>(from->pixels) +
                                                                std::size_t(y) * std::size_t(from->pitch));
        std::uint32_t* out = to.pixels.get() + std::size_t(y) * std::size_t(to.width);
        for (int x = 0; x < from->w; ++x) {
            const std::uint32_t p = in[x];
            all &= p;
            out[x] = (p & 0xFF00FF00u) | ((p & 0xFFu) << 16) | ((p >> 16) & 0xFFu);
        }
        std::memset(out + from->w, 0, std::size_t(to.width - from->w) * 4);
    }
    for (int y = from->h; y < to.height; ++y)
        std::memset(to.pixels.get() + std::size_t(y) * std::size_t(to.width), 0, std::size_t(to.width) * 4);
    *alphaAnd = all & 0xFF000000u;
}

// Any other format: SDL converts it to ARGB8888 and copies it onto the power-of-two picture, which
// starts transparent (opaque black without alpha).
bool ConvertAndCopy(SDL_Surface* loaded, Picture& to) {
    const sdl::SurfacePtr argb(SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0));
    if (!argb) return false;
    const sdl::SurfacePtr target(SDL_CreateRGBSurfaceWithFormatFrom(to.pixels.get(), to.width, to.height, 32,
                                                                    to.width * 4, SDL_PIXELFORMAT_ARGB8888));
    if (!target) return false;
    SDL_FillRect(target.get(), nullptr, to.fileHasAlpha ? 0u : 0xFF000000u);
    SDL_SetSurfaceBlendMode(argb.get(), SDL_BLENDMODE_NONE);
    SDL_BlitSurface(argb.get(), nullptr, target.get(), nullptr);
    to.opaque = true;
    if (to.fileHasAlpha) {
        const std::size_t n = std::size_t(to.width) * std::size_t(to.height);
        for (std::size_t i = 0; i < n; ++i)
            if ((to.pixels[i] >> 24) != 0xFF) {
                to.opaque = false;
                break;
            }
    }
    return true;
}

struct Cache {
    std::mutex mutex;
    using Entry = std::pair<std::string, std::shared_ptr<const Picture>>;
    std::list<Entry> recent;  // most recently used first
    std::map<std::string, std::list<Entry>::iterator> byKey;
    std::map<std::string, std::string> keyOfPath;  // the one version of each file that is kept
    std::size_t bytes = 0;
    std::size_t limit = kDefaultPictureCacheBytes;
    std::uint64_t decodes = 0;

    void Erase(std::map<std::string, std::list<Entry>::iterator>::iterator it) {
        const std::string& key = it->first;
        if (auto p = keyOfPath.find(key.substr(0, key.find('\n'))); p != keyOfPath.end() && p->second == key)
            keyOfPath.erase(p);
        bytes -= it->second->second->Bytes();
        recent.erase(it->second);
        byKey.erase(it);
    }
    void Trim() {
        while (bytes > limit && !recent.empty()) Erase(byKey.find(recent.back().first));
    }
};

Cache& TheCache() {
    return owner::Part<Cache>(owner::Life::Program);
}

}  // namespace

std::shared_ptr<const Picture> DecodePicture(const char* file, int maxWidth, int maxHeight) {
    if (!file) return nullptr;
    PictureHeader header;
    bool damaged = false;
    if (!ReadPictureHeader(file, &header, &damaged)) {
        if (damaged)
            platform::Warn(
                std::string(file) +
                ": the picture is damaged (cut short, or a checksum does not match); it is not loaded");
        return nullptr;
    }
    if (!Fits(header.width, header.height, maxWidth, maxHeight)) {
        WarnTooLarge(file, header.width, header.height, maxWidth, maxHeight);
        return nullptr;
    }
    if (header.kind == PictureKind::kPng)
        if (auto quick = std::make_shared<Picture>(); ReadRgbaPng(file, quick.get())) return quick;
    const sdl::SurfacePtr loaded(DecodeWithSdlImage(file, header.kind));
    // The decoder never gives more than the header said (the file may have changed meanwhile).
    if (!loaded || loaded->w <= 0 || loaded->h <= 0 || std::uint32_t(loaded->w) > header.width ||
        std::uint32_t(loaded->h) > header.height)
        return nullptr;
    const int w = int(NextPowerOfTwo(std::uint64_t(loaded->w))),
              h = int(NextPowerOfTwo(std::uint64_t(loaded->h)));
    auto picture = std::make_shared<Picture>();
    picture->width = w;
    picture->height = h;
    // Every texel is written below: the rows need no clearing first.
    picture->pixels.reset(new (std::nothrow) std::uint32_t[std::size_t(w) * std::size_t(h)]);
    if (!picture->pixels) return nullptr;
    const bool colourKey = SDL_HasColorKey(loaded.get());
    picture->fileHasAlpha =
        SDL_ISPIXELFORMAT_ALPHA(loaded->format->format) || loaded->format->Amask || colourKey;
    if (loaded->format->format == SDL_PIXELFORMAT_ABGR8888 && !colourKey) {
        std::uint32_t alphaAnd = 0;
        SwizzleRows(loaded.get(), *picture, &alphaAnd);
        picture->opaque = alphaAnd == 0xFF000000u && loaded->w == w && loaded->h == h;
    } else if (!ConvertAndCopy(loaded.get(), *picture)) {
        return nullptr;
    }
    return picture;
}

std::shared_ptr<const Picture> LoadPicture(const char* file, int maxWidth, int maxHeight) {
    if (!file) return nullptr;
    std::string path, key;
    // No such file: the decoder fails.
    if (!KeyOf(file, &path, &key)) return DecodePicture(file, maxWidth, maxHeight);
    Cache& c = TheCache();
    {
        std::lock_guard<std::mutex> lock(c.mutex);
        auto it = c.byKey.find(key);
        if (it != c.byKey.end()) {
            c.recent.splice(c.recent.begin(), c.recent, it->second);
            const std::shared_ptr<const Picture>& kept = it->second->second;
            if (Fits(std::uint64_t(kept->width), std::uint64_t(kept->height), maxWidth, maxHeight))
                return kept;
            WarnTooLarge(file, std::uint64_t(kept->width), std::uint64_t(kept->height), maxWidth, maxHeight);
            return nullptr;
        }
    }
    std::shared_ptr<const Picture> picture = DecodePicture(file, maxWidth, maxHeight);
    std::lock_guard<std::mutex> lock(c.mutex);
    ++c.decodes;
    // The file has changed since an older version of it was kept: that one is of no more use.
    if (auto old = c.keyOfPath.find(path); old != c.keyOfPath.end() && old->second != key) {
        const std::string staleKey = old->second;
        c.keyOfPath.erase(old);
        if (auto stale = c.byKey.find(staleKey); stale != c.byKey.end()) c.Erase(stale);
    }
    if (!picture || picture->Bytes() > c.limit) return picture;
    auto it = c.byKey.find(key);
    if (it != c.byKey.end()) {  // decoded meanwhile on another thread
        c.recent.splice(c.recent.begin(), c.recent, it->second);
        return it->second->second;
    }
    c.keyOfPath[path] = key;
    c.recent.emplace_front(key, picture);
    c.byKey[key] = c.recent.begin();
    c.bytes += picture->Bytes();
    c.Trim();
    return picture;
}

void SetPictureCacheLimit(std::size_t bytes) {
    Cache& c = TheCache();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.limit = bytes;
    c.Trim();
}

PictureCacheStats PictureCacheState() {
    Cache& c = TheCache();
    std::lock_guard<std::mutex> lock(c.mutex);
    return {c.recent.size(), c.bytes, c.decodes};
}

void ClearPictureCache() {
    Cache& c = TheCache();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.recent.clear();
    c.byKey.clear();
    c.keyOfPath.clear();
    c.bytes = 0;
}

}  // namespace platform::pictures
