// Pictures loaded from files come decoded from the cache when the file is unchanged: a texture so
// loaded holds exactly what a load that decodes the file gives, an edited file is decoded again, a
// missing one fails, and the cache keeps to its limit.
#include "platform/raster/draw_list.h"
#include "platform/pictures/picture_cache.h"
#include "platform/pictures/picture_header.h"
#include "platform/mmaudio.h"
#include "support/game_run.h"

#include <SDL_image.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace pictures = platform::pictures;

namespace sdl = platform::sdl;

namespace raster = platform::raster;

namespace {

struct Loaded {
    int width = 0, height = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    bool opaque = false;
    std::vector<Uint32> pixels;
};

// The texture of a file the way it was made before the cache: SDL_image decodes it, SDL converts
// it to ARGB8888 and it is copied onto a power-of-two texture, transparent (opaque black without
// alpha) outside the picture.
Loaded Uncached(const std::string& file) {
    Loaded r;
    const sdl::SurfacePtr loaded(IMG_Load(file.c_str()));
    if (!loaded) return r;
    const bool alpha = SDL_ISPIXELFORMAT_ALPHA(loaded->format->format) || loaded->format->Amask ||
                       SDL_HasColorKey(loaded.get());
    const sdl::SurfacePtr argb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    r.width = 1;
    while (r.width < loaded->w) r.width <<= 1;
    r.height = 1;
    while (r.height < loaded->h) r.height <<= 1;
    const sdl::SurfacePtr target(
        SDL_CreateRGBSurfaceWithFormat(0, r.width, r.height, 32, SDL_PIXELFORMAT_ARGB8888));
    SDL_FillRect(target.get(), nullptr, alpha ? 0u : 0xFF000000u);
    SDL_SetSurfaceBlendMode(argb.get(), SDL_BLENDMODE_NONE);
    SDL_BlitSurface(argb.get(), nullptr, target.get(), nullptr);
    r.format = alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    r.opaque = true;
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const Uint32 p = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(target->pixels) +
                                                             y * target->pitch)[x];
            r.pixels.push_back(p);
            if (alpha && (p >> 24) != 0xFF) r.opaque = false;
        }
    return r;
}

class PictureCache : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        pictures::ClearPictureCache();
        pictures::SetPictureCacheLimit(pictures::kDefaultPictureCacheBytes);
        dir = testing_support::TempPath("pictures");
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        pictures::SetPictureCacheLimit(pictures::kDefaultPictureCacheBytes);
        pictures::ClearPictureCache();
        DeviceTest::TearDown();
    }

    // What a texture slot gets from the file: false when the load fails.
    bool Load(const std::string& file, Loaded* out) {
        IDirect3DTexture9* tex = nullptr;
        if (FAILED(D3DXCreateTextureFromFileA(g.device, file.c_str(), &tex)) || !tex) return false;
        D3DSURFACE_DESC desc{};
        tex->GetLevelDesc(0, &desc);
        out->width = int(desc.Width);
        out->height = int(desc.Height);
        out->format = desc.Format;
        out->opaque = tex->Data()->opaque;
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(tex->LockRect(0, &locked, nullptr, 0), D3D_OK);
        out->pixels.clear();
        for (int y = 0; y < out->height; ++y)
            for (int x = 0; x < out->width; ++x)
                out->pixels.push_back(reinterpret_cast<const Uint32*>(static_cast<const BYTE*>(locked.pBits) +
                                                                      y * locked.Pitch)[x]);
        tex->UnlockRect(0);
        tex->Release();
        return true;
    }

    void ExpectSameAsUncached(const std::string& file) {
        SCOPED_TRACE(file);
        const Loaded want = Uncached(file);
        ASSERT_FALSE(want.pixels.empty());
        for (int pass = 0; pass < 2; ++pass) {  // decoded, then from the cache
            Loaded got;
            ASSERT_TRUE(Load(file, &got));
            EXPECT_EQ(got.width, want.width);
            EXPECT_EQ(got.height, want.height);
            EXPECT_EQ(got.format, want.format);
            EXPECT_EQ(got.opaque, want.opaque);
            EXPECT_TRUE(got.pixels == want.pixels);
        }
    }

    // A picture of w x h in the given SDL format, each texel its own colour and alpha.
    std::string Write(const std::string& name, int w, int h, Uint32 format, Uint8 seed = 0) {
        const sdl::SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, format));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x] =
                    SDL_MapRGBA(s->format, Uint8(x * 37 + seed), Uint8(y * 53), Uint8(x * y + seed),
                                Uint8((x + y) % 3 == 0 ? 0 : 128 + x + y));
        const std::string file = dir + "/" + name;
        EXPECT_EQ(IMG_SavePNG(s.get(), file.c_str()), 0);
        return file;
    }

    std::string dir;
};

TEST_F(PictureCache, EveryPictureOfTheGameIsWhatAnUncachedLoadGives) {
    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(RUSHMORA_SOURCE_DATA_DIR) + "/Texture")) {
        if (entry.path().extension() != ".png") continue;  // the pictures' notes (keycaps.txt)
        ExpectSameAsUncached(entry.path().string());
        ++files;
    }
    EXPECT_GT(files, 50);
}

TEST_F(PictureCache, OtherFormatsAndSizesAreWhatAnUncachedLoadGives) {
    // RGBA of a size that is no power of two: transparent texels right of it and below it.
    ExpectSameAsUncached(Write("rgba.png", 5, 3, SDL_PIXELFORMAT_ABGR8888));
    // No alpha: an X8R8G8B8 texture, opaque black outside the picture.
    const sdl::SurfacePtr rgb(SDL_CreateRGBSurfaceWithFormat(0, 6, 5, 24, SDL_PIXELFORMAT_RGB24));
    for (int i = 0; i < rgb->pitch * rgb->h; ++i) static_cast<Uint8*>(rgb->pixels)[i] = Uint8(i * 7);
    ASSERT_EQ(IMG_SavePNG(rgb.get(), (dir + "/rgb.png").c_str()), 0);
    ExpectSameAsUncached(dir + "/rgb.png");
    ASSERT_EQ(SDL_SaveBMP(rgb.get(), (dir + "/rgb.bmp").c_str()), 0);
    ExpectSameAsUncached(dir + "/rgb.bmp");
    // A palette with a transparent colour.
    const sdl::SurfacePtr pal(SDL_CreateRGBSurfaceWithFormat(0, 7, 4, 8, SDL_PIXELFORMAT_INDEX8));
    SDL_Color colours[4] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {9, 9, 9, 255}};
    SDL_SetPaletteColors(pal->format->palette, colours, 0, 4);
    for (int y = 0; y < pal->h; ++y)
        for (int x = 0; x < pal->w; ++x)
            static_cast<Uint8*>(pal->pixels)[y * pal->pitch + x] = Uint8((x + y) % 4);
    SDL_SetColorKey(pal.get(), SDL_TRUE, 3);
    ASSERT_EQ(IMG_SavePNG(pal.get(), (dir + "/palette.png").c_str()), 0);
    ExpectSameAsUncached(dir + "/palette.png");
}

// The CRC-32 of PNG chunks.
std::uint32_t Crc32(const unsigned char* p, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void AddBe32(std::string& s, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s += char((v >> shift) & 0xFF);
}

std::string Chunk(const char* type, const std::string& data) {
    std::string c;
    AddBe32(c, std::uint32_t(data.size()));
    const std::string body = std::string(type, 4) + data;
    c += body;
    AddBe32(c, Crc32(reinterpret_cast<const unsigned char*>(body.data()), body.size()));
    return c;
}

// An 8-bit RGBA PNG file of the given filtered rows (each a filter byte and w * 4 bytes), stored
// in the zlib stream without compression.
std::string RgbaPng(std::uint32_t w, std::uint32_t h, const std::string& rows) {
    std::string header;
    AddBe32(header, w);
    AddBe32(header, h);
    header += std::string("\x08\x06\0\0\0", 5);
    std::string z("\x78\x01", 2);
    for (std::size_t at = 0; at < rows.size(); at += 65535) {
        const std::size_t n = std::min<std::size_t>(65535, rows.size() - at);
        z += char(at + n == rows.size() ? 1 : 0);
        z += char(n & 0xFF);
        z += char(n >> 8);
        z += char(~n & 0xFF);
        z += char((~n >> 8) & 0xFF);
        z += rows.substr(at, n);
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : rows) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    AddBe32(z, (b << 16) | a);
    return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) + Chunk("IDAT", z) + Chunk("IEND", "");
}

TEST_F(PictureCache, DamagedOrUnusualFilesLoadAsSdlImageLoadsThem) {
    std::ifstream in(std::string(RUSHMORA_SOURCE_DATA_DIR) + "/Texture/ARROW.png", std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(good.size(), 100u);
    const std::size_t idat = good.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    auto variant = [&](const std::string& name, const std::string& bytes) {
        const std::string file = dir + "/" + name;
        std::ofstream(file, std::ios::binary) << bytes;
        SCOPED_TRACE(name);
        const Loaded want = Uncached(file);
        Loaded got;
        const bool loaded = Load(file, &got);
        EXPECT_EQ(loaded, !want.pixels.empty());
        if (loaded) {
            EXPECT_EQ(got.format, want.format);
            EXPECT_EQ(got.opaque, want.opaque);
            EXPECT_TRUE(got.pixels == want.pixels);
        }
    };
    std::string flipped = good;
    flipped[idat + 20] = char(flipped[idat + 20] ^ 0x10);  // the image data's CRC no longer matches
    variant("flipped.png", flipped);
    variant("half.png", good.substr(0, good.size() / 2));
    // Without its end chunk a file is damaged: refused, though SDL_image would take it (on a file cut
    // after any other chunk it would read on for ever).
    const std::string noEnd = dir + "/no-end.png";
    std::ofstream(noEnd, std::ios::binary) << good.substr(0, good.size() - 12);
    Loaded got;
    EXPECT_FALSE(Load(noEnd, &got));
    // A gamma chunk before the image data (the quick reader leaves colour-space chunks to SDL_image).
    std::string gama("\0\0\0\4gAMA\0\0\xB1\x8F", 12);
    const std::uint32_t crc = Crc32(reinterpret_cast<const unsigned char*>(gama.data()) + 4, 8);
    for (int shift = 24; shift >= 0; shift -= 8) gama += char((crc >> shift) & 0xFF);
    variant("gamma.png", good.substr(0, idat - 4) + gama + good.substr(idat - 4));
    // Every row filter, each on rows of noise, in an RGBA picture of 33 x 9 (stored unpacked).
    std::string raw;
    std::uint32_t seed = 7;
    for (int y = 0; y < 9; ++y) {
        raw += char(y % 5);
        for (int i = 0; i < 33 * 4; ++i) {
            seed = seed * 1103515245u + 12345u;
            raw += char(seed >> 24);
        }
    }
    variant("filters.png", RgbaPng(33, 9, raw));
    EXPECT_FALSE(Uncached(dir + "/filters.png").pixels.empty());
    variant("bad-filter.png", RgbaPng(33, 9, std::string(1, '\5') + raw.substr(1)));
}

// A picture file's bytes with a 16-bit side patched in (big- or little-endian), for headers that
// claim more than the file holds.
std::string WithSide(std::string bytes, std::size_t at, std::uint32_t v, bool bigEndian) {
    bytes[at] = char(bigEndian ? v >> 8 : v & 0xFF);
    bytes[at + 1] = char(bigEndian ? v & 0xFF : v >> 8);
    return bytes;
}

std::string ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(PictureCache, APictureLargerThanTheDevicesLargestTextureIsRefusedByItsHeader) {
    D3DCAPS9 caps{};
    ASSERT_EQ(g.device->GetDeviceCaps(&caps), D3D_OK);
    ASSERT_EQ(caps.MaxTextureWidth, 8192u);
    ASSERT_EQ(caps.MaxTextureHeight, 8192u);
    // Files of a few bytes that claim far more: each fails at once, with one warning naming it.
    auto refused = [&](const std::string& name, const std::string& bytes, const char* size) {
        SCOPED_TRACE(name);
        const std::string file = dir + "/" + name;
        std::ofstream(file, std::ios::binary) << bytes;
        for (int pass = 0; pass < 2; ++pass) {
            testing::internal::CaptureStderr();
            IDirect3DTexture9* tex = nullptr;
            EXPECT_EQ(D3DXCreateTextureFromFileA(g.device, file.c_str(), &tex), D3DXERR_INVALIDDATA);
            EXPECT_EQ(tex, nullptr);
            const std::string said = testing::internal::GetCapturedStderr();
            if (pass == 0) {
                EXPECT_NE(said.find(file), std::string::npos) << said;
                EXPECT_NE(said.find(size), std::string::npos) << said;
                EXPECT_NE(said.find("8192x8192"), std::string::npos) << said;
            } else {
                EXPECT_EQ(said, "");  // said once
            }
        }
    };
    for (std::uint32_t side : {16384u, 30000u, 100000u, 0x7FFFFFFFu}) {
        std::string png = RgbaPng(side, side, "");
        refused("huge" + std::to_string(side) + ".png", png,
                (std::to_string(side) + "x" + std::to_string(side)).c_str());
    }
    // A PNG of a few bytes whose text chunk claims 2 GB: refused before SDL_image reads and checksums
    // that much past the file's end (no warning: it is only damaged).
    std::string png = RgbaPng(3, 1, std::string("\0", 1) + std::string(12, '\x40'));
    const std::size_t idat = png.find("IDAT") - 4;
    png.insert(idat, std::string("\x7F\xFF\xFF\xF0tEXtkey\0crc.", 16));
    std::ofstream(dir + "/long-text.png", std::ios::binary) << png;
    pictures::PictureHeader header;
    EXPECT_FALSE(platform::pictures::ReadPictureHeader((dir + "/long-text.png").c_str(), &header));
    std::ofstream(dir + "/short-text.png", std::ios::binary)
        << png.replace(idat, 16, Chunk("tEXt", std::string("key\0", 4)));
    ASSERT_TRUE(platform::pictures::ReadPictureHeader((dir + "/short-text.png").c_str(), &header));
    EXPECT_EQ(header.width, 3u);
    EXPECT_EQ(header.height, 1u);
    IDirect3DTexture9* tex = nullptr;
    EXPECT_EQ(D3DXCreateTextureFromFileA(g.device, (dir + "/long-text.png").c_str(), &tex),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(tex, nullptr);
    // Whole pictures one texel past the limit, that SDL_image would decode.
    refused("wide.png", ReadBytes(Write("wide.png", 8193, 1, SDL_PIXELFORMAT_ABGR8888)), "8193x1");
    refused("tall.png", ReadBytes(Write("tall.png", 1, 8193, SDL_PIXELFORMAT_ABGR8888)), "1x8193");
    // Other kinds, by their own headers: BMP (a negative height is a top-down picture), JPEG (its
    // frame).
    const sdl::SurfacePtr rgb(SDL_CreateRGBSurfaceWithFormat(0, 4, 3, 24, SDL_PIXELFORMAT_RGB24));
    SDL_FillRect(rgb.get(), nullptr, SDL_MapRGB(rgb->format, 1, 2, 3));
    ASSERT_EQ(SDL_SaveBMP(rgb.get(), (dir + "/small.bmp").c_str()), 0);
    ExpectSameAsUncached(dir + "/small.bmp");
    const std::string bmp = ReadBytes(dir + "/small.bmp");
    refused("wide.bmp", WithSide(bmp, 18, 40000, false), "40000x3");
    std::string tall = bmp;
    tall.replace(22, 4, std::string("\0\0\xFF\xFF", 4));  // -65536: top down
    refused("tall.bmp", tall, "4x65536");
    // GIF is not read at all, however small (SDL_image may decode any of its frames, each of the
    // size it claims): one white texel, that SDL_image decodes, is refused.
    const std::string gif(
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\xFF\xFF\x00\x00\x00!\xF9\x04\x01\x00\x00\x00\x00,"
        "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
        "D\x01\x00;",
        43);
    std::ofstream(dir + "/dot.gif", std::ios::binary) << gif;
    EXPECT_FALSE(Uncached(dir + "/dot.gif").pixels.empty());
    IDirect3DTexture9* gifTexture = nullptr;
    EXPECT_EQ(D3DXCreateTextureFromFileA(g.device, (dir + "/dot.gif").c_str(), &gifTexture),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(gifTexture, nullptr);
    if (IMG_SaveJPG(rgb.get(), (dir + "/small.jpg").c_str(), 90) == 0) {
        ExpectSameAsUncached(dir + "/small.jpg");
        const std::string jpg = ReadBytes(dir + "/small.jpg");
        std::size_t sof = jpg.find("\xFF\xC0");
        ASSERT_NE(sof, std::string::npos);
        refused("wide.jpg", WithSide(jpg, sof + 7, 20000, true), "20000x3");
    }
    // The largest that fits still loads, and so does one padded up to it.
    Loaded l;
    ASSERT_TRUE(Load(Write("widest.png", 8192, 1, SDL_PIXELFORMAT_ABGR8888), &l));
    EXPECT_EQ(l.width, 8192);
    ASSERT_TRUE(Load(Write("padded.png", 1, 4097, SDL_PIXELFORMAT_ABGR8888), &l));
    EXPECT_EQ(l.height, 8192);
}

TEST_F(PictureCache, AKeptPictureIsRefusedWhereTheLargestTextureIsSmaller) {
    const std::string file = Write("kept.png", 16, 8, SDL_PIXELFORMAT_ABGR8888);
    ASSERT_NE(pictures::LoadPicture(file.c_str(), 8192, 8192), nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(pictures::LoadPicture(file.c_str(), 8, 8), nullptr);
    EXPECT_EQ(pictures::LoadPicture(file.c_str(), 16, 4), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(file), std::string::npos);
    EXPECT_NE(pictures::LoadPicture(file.c_str(), 16, 8), nullptr);
    EXPECT_EQ(platform::pictures::DecodePicture(file.c_str(), 8, 8), nullptr);
    EXPECT_EQ(platform::pictures::DecodePicture(file.c_str(), 0, 0), nullptr);
}

TEST_F(PictureCache, AnUnchangedFileIsDecodedOnce) {
    const std::string file = Write("once.png", 8, 8, SDL_PIXELFORMAT_ABGR8888);
    const std::uint64_t before = pictures::PictureCacheState().decodes;
    Loaded a, b;
    ASSERT_TRUE(Load(file, &a));
    ASSERT_TRUE(Load(file, &b));
    EXPECT_EQ(pictures::PictureCacheState().decodes, before + 1);
    EXPECT_TRUE(a.pixels == b.pixels);
    // The same file by another path is the same file.
    ASSERT_TRUE(Load(dir + "/../pictures/once.png", &b));
    EXPECT_EQ(pictures::PictureCacheState().decodes, before + 1);
}

TEST_F(PictureCache, AFileOfANewSizeIsDecodedAgain) {
    const std::string file = Write("edited.png", 8, 8, SDL_PIXELFORMAT_ABGR8888);
    Loaded first;
    ASSERT_TRUE(Load(file, &first));
    Write("edited.png", 16, 8, SDL_PIXELFORMAT_ABGR8888);
    Loaded second;
    ASSERT_TRUE(Load(file, &second));
    EXPECT_EQ(second.width, 16);
    EXPECT_TRUE(second.pixels == Uncached(file).pixels);
}

TEST_F(PictureCache, AFileWrittenAgainWithTheSameSizeButANewTimeIsDecodedAgain) {
    // BMP files of one picture size have one length, whatever their colours.
    const std::string file = dir + "/retouched.bmp";
    const sdl::SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, 8, 8, 24, SDL_PIXELFORMAT_RGB24));
    SDL_FillRect(s.get(), nullptr, SDL_MapRGB(s->format, 10, 20, 30));
    ASSERT_EQ(SDL_SaveBMP(s.get(), file.c_str()), 0);
    const auto sizeBefore = std::filesystem::file_size(file);
    const auto writtenBefore = std::filesystem::last_write_time(file);
    Loaded first;
    ASSERT_TRUE(Load(file, &first));
    SDL_FillRect(s.get(), nullptr, SDL_MapRGB(s->format, 200, 100, 50));
    ASSERT_EQ(SDL_SaveBMP(s.get(), file.c_str()), 0);
    ASSERT_EQ(std::filesystem::file_size(file), sizeBefore);
    // A minute later, so that the time differs however coarse the clock.
    std::filesystem::last_write_time(file, writtenBefore + std::chrono::seconds(60));
    Loaded second;
    ASSERT_TRUE(Load(file, &second));
    EXPECT_EQ(second.pixels[0], 0xFFC86432u);
    EXPECT_TRUE(second.pixels == Uncached(file).pixels);
    // Stamped back with the first time, the same bytes are still decoded again: the time changed.
    std::filesystem::last_write_time(file, writtenBefore);
    const std::uint64_t decodes = pictures::PictureCacheState().decodes;
    ASSERT_TRUE(Load(file, &second));
    EXPECT_EQ(pictures::PictureCacheState().decodes, decodes + 1);
    EXPECT_EQ(second.pixels[0], 0xFFC86432u);
}

TEST_F(PictureCache, AMissingFileFailsEvenWhenItWasDecodedBefore) {
    IDirect3DTexture9* tex = nullptr;
    EXPECT_EQ(D3DXCreateTextureFromFileA(g.device, (dir + "/none.png").c_str(), &tex), D3DXERR_INVALIDDATA);
    EXPECT_EQ(tex, nullptr);
    const std::string file = Write("gone.png", 4, 4, SDL_PIXELFORMAT_ABGR8888);
    Loaded loaded;
    ASSERT_TRUE(Load(file, &loaded));
    std::filesystem::remove(file);
    EXPECT_EQ(D3DXCreateTextureFromFileA(g.device, file.c_str(), &tex), D3DXERR_INVALIDDATA);
    EXPECT_EQ(tex, nullptr);
    // Not a picture at all.
    std::ofstream(dir + "/text.png") << "not a picture";
    EXPECT_EQ(D3DXCreateTextureFromFileA(g.device, (dir + "/text.png").c_str(), &tex), D3DXERR_INVALIDDATA);
    EXPECT_EQ(tex, nullptr);
}

TEST_F(PictureCache, KeepsToItsLimitDroppingThePictureUsedLongestAgo) {
    // Three pictures of 16 x 16 (1 KiB each) in a cache of 2.5 KiB.
    pictures::SetPictureCacheLimit(2560);
    const std::string a = Write("a.png", 16, 16, SDL_PIXELFORMAT_ABGR8888, 1);
    const std::string b = Write("b.png", 16, 16, SDL_PIXELFORMAT_ABGR8888, 2);
    const std::string c = Write("c.png", 16, 16, SDL_PIXELFORMAT_ABGR8888, 3);
    Loaded l;
    ASSERT_TRUE(Load(a, &l));
    ASSERT_TRUE(Load(b, &l));
    ASSERT_TRUE(Load(a, &l));  // a is now used more recently than b
    ASSERT_TRUE(Load(c, &l));  // b goes
    EXPECT_EQ(pictures::PictureCacheState().entries, 2u);
    EXPECT_LE(pictures::PictureCacheState().bytes, 2560u);
    const std::uint64_t decodes = pictures::PictureCacheState().decodes;
    ASSERT_TRUE(Load(a, &l));
    ASSERT_TRUE(Load(c, &l));
    EXPECT_EQ(pictures::PictureCacheState().decodes, decodes);
    ASSERT_TRUE(Load(b, &l));
    EXPECT_EQ(pictures::PictureCacheState().decodes, decodes + 1);
    EXPECT_TRUE(l.pixels == Uncached(b).pixels);
    // A picture larger than the whole cache still loads; it is only not kept.
    pictures::SetPictureCacheLimit(512);
    EXPECT_EQ(pictures::PictureCacheState().entries, 0u);
    ASSERT_TRUE(Load(a, &l));
    EXPECT_EQ(pictures::PictureCacheState().entries, 0u);
    EXPECT_TRUE(l.pixels == Uncached(a).pixels);
}

}  // namespace

TEST_F(PictureCache, ATextureWrittenToKeepsItsChangesToItself) {
    // Textures show the cached pixels until they are written: a write goes to a copy of their own,
    // never to the cache or to another texture of the same file.
    const std::string file = Write("shared.png", 8, 8, SDL_PIXELFORMAT_ABGR8888);
    Loaded want;
    ASSERT_TRUE(Load(file, &want));
    IDirect3DTexture9* a = nullptr;
    IDirect3DTexture9* b = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileA(g.device, file.c_str(), &a), D3D_OK);
    ASSERT_EQ(D3DXCreateTextureFromFileA(g.device, file.c_str(), &b), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(a->LockRect(0, &locked, nullptr, 0), D3D_OK);
    static_cast<Uint32*>(locked.pBits)[0] = 0xFF123456;
    a->UnlockRect(0);
    ASSERT_EQ(b->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(static_cast<Uint32*>(locked.pBits)[0], want.pixels[0]);
    b->UnlockRect(0);
    ASSERT_EQ(a->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(static_cast<Uint32*>(locked.pBits)[0], 0xFF123456u);
    a->UnlockRect(0);
    a->Release();
    b->Release();
    Loaded again;
    ASSERT_TRUE(Load(file, &again));
    EXPECT_TRUE(again.pixels == want.pixels);
}

// A PNG file cut short right after any chunk before its image data, or up to four bytes into the
// next chunk's header, is refused at once (libpng, through SDL_image, would read its last bytes
// again for ever); so is the palette picture with a transparency chunk that was found that way.
TEST_F(PictureCache, APictureCutShortAfterAnyChunkIsRefusedAtOnce) {
    const std::string png = RgbaPng(4, 2, std::string(1 + 16, '\0') + std::string(1 + 16, '\x7F'));
    const std::size_t idat = png.find("IDAT") - 4;
    for (const char* type : {"tEXt", "zTXt", "iTXt", "tIME", "pHYs", "gAMA", "sRGB", "tRNS", "bKGD", "cHRM",
                             "sBIT", "iCCP", "PLTE", "IHDR"}) {
        const std::string chunk = Chunk(type, std::string("key\0value", 9));
        const std::string bytes = png.substr(0, idat) + chunk + png.substr(idat);
        for (std::size_t cut = 0; cut <= 4; ++cut) {
            const std::string file = dir + "/cut-" + type + std::to_string(cut) + ".png";
            std::ofstream(file, std::ios::binary) << bytes.substr(0, idat + chunk.size() + cut);
            Loaded got;
            EXPECT_FALSE(Load(file, &got)) << type << " cut " << cut;
        }
    }
    const unsigned char found[] = {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d,
                                   0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x02,
                                   0x08, 0x03, 0x00, 0x00, 0x00, 0x48, 0x76, 0x8d, 0x51, 0x00, 0x00, 0x00,
                                   0x09, 0x50, 0x4c, 0x54, 0x45, 0xff, 0x00, 0x00, 0x00, 0xff, 0x00, 0x00,
                                   0x00, 0xff, 0x2d, 0x4a, 0xcd, 0x8a, 0x00, 0x00, 0x00, 0x01, 0x74, 0x52,
                                   0x4e, 0x53, 0x80, 0xad, 0x5e, 0x5b, 0x46, 0x00, 0x00};
    std::ofstream(dir + "/found.png", std::ios::binary)
        << std::string(reinterpret_cast<const char*>(found), sizeof found);
    Loaded got;
    EXPECT_FALSE(Load(dir + "/found.png", &got));
}

#ifndef _WIN32
// A named pipe in place of a picture or a sound: refused without waiting for a writer.
TEST_F(PictureCache, ANamedPipeInPlaceOfADataFileIsRefusedWithoutWaiting) {
    const std::string pipe = dir + "/pipe.png";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    Loaded got;
    EXPECT_FALSE(Load(pipe, &got));
    EXPECT_EQ(mmioOpenA(const_cast<char*>(pipe.c_str()), nullptr, MMIO_READ), nullptr);
    std::remove(pipe.c_str());
}
#endif
