// Sprites land on the right pixels whatever way they are turned or mirrored: each texel of a picture
// is checked at the screen position its transform gives. Also what stands behind the pictures: the
// lifetime of textures and their renderer copies, and the desktop picture.
#include "graphics/graphics_device.h"
#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/screenshot.h"
#include "support/game_run.h"
#include "support/png.h"

#include <cmath>

namespace sdl = platform::sdl;

namespace desktop = platform::desktop;
namespace raster = platform::raster;

using testing_support::PixelOf;

namespace {

class SpriteRaster : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        // A picture of 8 x 8 texels, each of its own colour.
        ASSERT_EQ(g.device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
                  D3D_OK);
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] =
                    Colour(x, y);
        texture->UnlockRect(0);
    }
    void TearDown() override {
        if (texture) texture->Release();
        DeviceTest::TearDown();
    }
    // Equal but for the rounding of the renderer's colour modulation.
    static bool Near(Uint32 a, Uint32 b) {
        for (int shift = 0; shift < 32; shift += 8)
            if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 2) return false;
        return true;
    }
    static DWORD Colour(int x, int y) {
        return 0xFF000000u | DWORD(40 + x * 30) << 16 | DWORD(40 + y * 30) << 8 | 0x80;
    }

    // Draws the picture scaled by 4 (so each texel covers 4 x 4 pixels) with the given turn and mirror,
    // and checks every texel at its place.
    void Check(float degrees, bool mirrored) {
        D3DXMATRIX m, t;
        D3DXMatrixIdentity(&m);
        m *= *D3DXMatrixScaling(&t, 4.0f, 4.0f, 1.0f);
        m *= *D3DXMatrixRotationZ(&t, degrees * 0.017453292f);
        if (mirrored) m *= *D3DXMatrixScaling(&t, -1.0f, 1.0f, 1.0f);
        m *= *D3DXMatrixTranslation(&t, 100.0f, 100.0f, 0.0f);
        ASSERT_EQ(g.device->BeginScene(), D3D_OK);
        g.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        g.sprite->Begin(D3DXSPRITE_ALPHABLEND);
        g.device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        g.device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        g.sprite->SetTransform(&m);
        g.sprite->Draw(texture, nullptr, nullptr, nullptr, 0xFFFFFFFF);
        g.sprite->End();
        g.device->EndScene();
        const std::string file = testing_support::TempPath("raster.png");
        ASSERT_TRUE(platform::SaveBackBufferPng(g.device, file));
        const sdl::SurfacePtr shot = testing_support::ReadPng(file);
        ASSERT_NE(shot, nullptr);
        int wrong = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                D3DXVECTOR3 centre(x + 0.5f, y + 0.5f, 0.0f), at;
                D3DXVec3TransformCoord(&at, &centre, &m);
                const Uint32 got = PixelOf(shot.get(), int(std::floor(at.x)), int(std::floor(at.y)));
                // The software renderer may sample its triangles up to one texel off; a picture
                // turned or squashed the wrong way is off by many.
                bool near = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) near = near || Near(got, Colour(x + dx, y + dy));
                if (!near) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << degrees << " degrees" << (mirrored ? ", mirrored" : "");
    }

    IDirect3DTexture9* texture = nullptr;
};

}  // namespace

TEST_F(SpriteRaster, EveryQuarterTurnPlainAndMirrored) {
    for (float degrees : {0.0f, 90.0f, 180.0f, 270.0f, -90.0f})
        for (bool mirrored : {false, true}) Check(degrees, mirrored);
}

TEST_F(SpriteRaster, InBetweenTurns) {
    for (float degrees : {30.0f, 45.0f, 135.0f, 200.0f})
        for (bool mirrored : {false, true}) Check(degrees, mirrored);
}

namespace {

class TextureLifetime : public DeviceTest {};

TEST_F(TextureLifetime, ASurfaceKeepsItsTextureUntilItIsReleased) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(g.device->CreateTexture(16, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
    EXPECT_EQ(texture->AddRef(), 3u);
    EXPECT_EQ(texture->Release(), 2u);
    EXPECT_EQ(texture->Release(), 1u);  // the surface's reference is left
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(surface->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Width, 16u);
    EXPECT_EQ(desc.Height, 8u);
    EXPECT_EQ(surface->Release(), 0u);  // and the texture goes with it
}

TEST(ComObject, TheLastReleaseDeletesTheObject) {
    struct Probe : ComObject {
        explicit Probe(bool* gone) : gone_(gone) {}
        ~Probe() override { *gone_ = true; }
        bool* gone_;
    };
    bool gone = false;
    auto* probe = new Probe(&gone);
    EXPECT_EQ(probe->AddRef(), 2u);
    EXPECT_EQ(probe->Release(), 1u);
    EXPECT_FALSE(gone);
    EXPECT_EQ(probe->Release(), 0u);
    EXPECT_TRUE(gone);
}

TEST(OwnedRenderer, AResetRendererGetsItsTexturesUploadedAgain) {
    raster::TextureData data(8, 8);  // outlives the renderer: it must not free what the renderer took along
    {
        desktop::OwnedRenderer canvas;
        ASSERT_TRUE(canvas.OpenSoftware(64, 32));
        EXPECT_EQ(canvas.surface->w, 64);
        EXPECT_EQ(canvas.surface->h, 32);
        SDL_Renderer* r = canvas.renderer.get();
        SDL_Texture* first = data.For(r, canvas.generation);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(data.For(r, canvas.generation), first);  // unchanged pixels: the same copy
        const unsigned before = canvas.generation;
        canvas.Renew();  // as after a device reset
        EXPECT_NE(canvas.generation, before);
        SDL_Texture* second = data.For(r, canvas.generation);
        ASSERT_NE(second, nullptr);
        EXPECT_NE(second, first);
    }
}

// A photograph 300 x 200 whose every pixel tells where it is.
sdl::SurfacePtr Photograph() {
    sdl::SurfacePtr photo = desktop::NewSurface(300, 200);
    for (int y = 0; y < photo->h; ++y)
        for (int x = 0; x < photo->w; ++x)
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(photo->pixels) + y * photo->pitch)[x] =
                0xFF000000u | Uint32(x) << 8 | Uint32(y);
    return photo;
}

TEST(DesktopPicture, TheScreenShowsItsPartOfThePhotograph) {
    sdl::SurfacePtr photo = Photograph();
    sdl::SurfacePtr part = desktop::ScreenPartOf(photo.get(), SDL_Rect{100, 50, 250, 120});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->w, 250);
    EXPECT_EQ(part->h, 120);
    EXPECT_EQ(PixelOf(part.get(), 0, 0), 0xFF000000u | 100u << 8 | 50u);
    EXPECT_EQ(PixelOf(part.get(), 199, 119), 0xFF000000u | 299u << 8 | 169u);
    EXPECT_EQ(PixelOf(part.get(), 200, 0), 0xFF000000u);  // beyond the photograph: black
}

TEST(DesktopPicture, APhotographOfNothingGivesWayToThePaintedDesktop) {
    sdl::SurfacePtr black = desktop::NewSurface(300, 200);
    SDL_FillRect(black.get(), nullptr, 0xFF000000);  // an empty virtual display
    EXPECT_FALSE(desktop::ScreenPartOf(black.get(), SDL_Rect{0, 0, 300, 200}));
    EXPECT_FALSE(desktop::ScreenPartOf(nullptr, SDL_Rect{0, 0, 300, 200}));
}

}  // namespace
