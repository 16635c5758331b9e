// Turned pictures drawn a span at a time: every covered pixel once, the nearest texel, blended as the
// software renderer blends.
#include "platform/raster/affine_raster.h"
#include "platform/common/sdl_handles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace sdl = platform::sdl;

namespace raster = platform::raster;

namespace {

using sdl::SurfacePtr;

SurfacePtr Surface(int w, int h, Uint32 fill) {
    SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888));
    SDL_FillRect(s.get(), nullptr, fill);
    return s;
}

Uint32 At(SDL_Surface* s, int x, int y) {
    return static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x];
}

// The whole w x h texture turned by degrees about (cx, cy) of the screen.
raster::AffineQuad Turned(int w, int h, float degrees, float cx, float cy) {
    raster::AffineQuad q;
    const float a = degrees * 3.14159265f / 180.0f, c = std::cos(a), s = std::sin(a);
    const float px[4] = {0, float(w), float(w), 0}, py[4] = {0, 0, float(h), float(h)};
    for (int i = 0; i < 4; ++i) {
        const float x = px[i] - w / 2.0f, y = py[i] - h / 2.0f;
        q.x[i] = cx + x * c - y * s;
        q.y[i] = cy + x * s + y * c;
        q.u[i] = px[i];
        q.v[i] = py[i];
    }
    return q;
}

TEST(AffineRaster, HalfSeeThroughPictureCoversEachPixelOnceWhateverTheTurn) {
    // A pixel drawn by both triangles of the quad would come out darker than the rest.
    platform::sdl::SurfacePtr tex = Surface(16, 16, 0x80FFFFFF);
    for (float degrees : {0.0f, 17.0f, 45.0f, 90.0f, 133.0f, 180.0f, 271.0f}) {
        SurfacePtr screen = Surface(64, 64, 0xFF000000);
        ASSERT_TRUE(
            raster::DrawAffineQuad(screen.get(), {0, 0, 64, 64}, tex.get(), Turned(16, 16, degrees, 32, 32)));
        int covered = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const Uint32 p = At(screen.get(), x, y);
                if (p == 0xFF000000) continue;
                ++covered;
                ASSERT_EQ(p, At(screen.get(), 32, 32)) << degrees << " at " << x << "," << y;
            }
        // A 16 x 16 square covers about 256 pixel centres, however it is turned.
        EXPECT_NEAR(covered, 256, 24) << degrees;
    }
}

TEST(AffineRaster, BlendsAndModulatesAsTheSoftwareRenderer) {
    platform::sdl::SurfacePtr tex = Surface(4, 4, 0x80FF8040);  // half see-through orange
    SurfacePtr screen = Surface(16, 16, 0xFF0000FF);
    raster::AffineQuad q = Turned(4, 4, 90.0f, 8, 8);
    ASSERT_TRUE(raster::DrawAffineQuad(screen.get(), {0, 0, 16, 16}, tex.get(), q));
    // Premultiplied by 128/255, then over blue: 255*128/255 + 127*0/255 ...
    const Uint32 p = At(screen.get(), 8, 8);
    EXPECT_EQ((p >> 16) & 0xFF, 128u);
    EXPECT_EQ((p >> 8) & 0xFF, 64u);
    EXPECT_EQ(p & 0xFF, 32u + 127u);
    // Modulated to half red and no blue; replacing instead of blending.
    screen = Surface(16, 16, 0xFF0000FF);
    q.r = 128, q.b = 0, q.blend = false;
    ASSERT_TRUE(raster::DrawAffineQuad(screen.get(), {0, 0, 16, 16}, tex.get(), q));
    EXPECT_EQ(At(screen.get(), 8, 8), 0x80808000u);
    // Fully see-through texels leave the screen as it is.
    SurfacePtr clear = Surface(4, 4, 0x00FFFFFF);
    screen = Surface(16, 16, 0xFF0000FF);
    ASSERT_TRUE(raster::DrawAffineQuad(screen.get(), {0, 0, 16, 16}, clear.get(), Turned(4, 4, 30.0f, 8, 8)));
    EXPECT_EQ(At(screen.get(), 8, 8), 0xFF0000FFu);
}

TEST(AffineRaster, StaysInsideTheClipAndTheScreen) {
    platform::sdl::SurfacePtr tex = Surface(32, 32, 0xFFFFFFFF);
    SurfacePtr screen = Surface(40, 40, 0xFF000000);
    // Half off the screen's top-left corner, clipped to a band.
    ASSERT_TRUE(
        raster::DrawAffineQuad(screen.get(), {0, 10, 40, 10}, tex.get(), Turned(32, 32, 30.0f, 2, 2)));
    for (int y = 0; y < 40; ++y) {
        if (y >= 10 && y < 20) continue;
        for (int x = 0; x < 40; ++x) ASSERT_EQ(At(screen.get(), x, y), 0xFF000000u) << x << "," << y;
    }
    EXPECT_EQ(At(screen.get(), 1, 11), 0xFFFFFFFFu);
    // Other pixel formats are refused, not misdrawn.
    SurfacePtr rgb565(SDL_CreateRGBSurfaceWithFormat(0, 8, 8, 16, SDL_PIXELFORMAT_RGB565));
    EXPECT_FALSE(raster::DrawAffineQuad(rgb565.get(), {0, 0, 8, 8}, tex.get(), Turned(32, 32, 10.0f, 4, 4)));
}

}  // namespace
