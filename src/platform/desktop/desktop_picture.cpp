// The desktop picture the background window shows: the part of a photograph of the real screen
// that our screen covers, or a painted desktop where there is none.
#include "platform/locale/language.h"
#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/desktop_state.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace raster = platform::raster;

namespace platform::desktop {
namespace {

bool IsBlank(SDL_Surface* s) {
    if (!s) return true;
    const Uint32 first = *static_cast<Uint32*>(s->pixels);
    for (int y = 0; y < s->h; y += 7) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; x += 5)
            if (row[x] != first) return false;
    }
    return true;
}

void FillRect(SDL_Surface* s, int x, int y, int w, int h, Uint32 argb) {
    SDL_Rect r{x, y, w, h};
    SDL_FillRect(s, &r, argb);
}

}  // namespace

sdl::SurfacePtr ScreenPartOf(SDL_Surface* captured, SDL_Rect area) {
    if (!captured || IsBlank(captured)) return nullptr;
    sdl::SurfacePtr part = NewSurface(area.w, area.h);
    if (!part) return nullptr;
    SDL_FillRect(part.get(), nullptr, 0xFF000000);
    SDL_SetSurfaceBlendMode(captured, SDL_BLENDMODE_NONE);
    SDL_BlitSurface(captured, &area, part.get(), nullptr);
    return part;
}

// A calm desktop for screens we cannot photograph (headless, Wayland, a blank virtual display):
// a wallpaper, a few icons and a task bar.
sdl::SurfacePtr PaintedDesktop(int w, int h, double scale, bool furnished) {
    auto k = [scale](int pixels) { return int(std::lround(pixels * scale)); };
    sdl::SurfacePtr picture = NewSurface(w, h);
    SDL_Surface* s = picture.get();
    if (!s) return nullptr;
    for (int y = 0; y < h; ++y) {
        float t = float(y) / float(std::max(1, h - 1));
        int r = int(58 + t * (24 - 58)), g = int(110 + t * (160 - 110)), b = int(165 + t * (150 - 165));
        FillRect(s, 0, y, w, 1, 0xFF000000u | (r << 16) | (g << 8) | b);
    }
    // Soft hills across the lower part of the wallpaper.
    for (int x = 0; x < w; ++x) {
        double fx = double(x) / w;
        int top = int(h * (0.70 + 0.06 * std::sin(fx * 6.3 + 1.0) + 0.03 * std::sin(fx * 17.0)));
        for (int y = top; y < h; ++y) {
            float t = float(y - top) / float(std::max(1, h - top));
            int g = int(150 - 40 * t), r = int(70 - 20 * t), b = int(90 - 30 * t);
            FillRect(s, x, y, 1, 1, 0xFF000000u | (r << 16) | (g << 8) | b);
        }
    }
    if (!furnished) return picture;
    const char* labels[] = {"マイ コンピュータ", "マイ ドキュメント", "ごみ箱", "メモ帳"};
    const Uint32 colours[] = {0xFF6C8EBF, 0xFFE8C15A, 0xFF9AA5AE, 0xFFF4F4F4};
    SDL_Color white{255, 255, 255, 255};
    for (int i = 0; i < 4; ++i) {
        int ix = k(28), iy = k(24 + i * 92);
        if (iy + k(80) > h - k(40)) break;
        FillRect(s, ix + k(2), iy + k(2), k(40), k(36), 0xFF203040);
        FillRect(s, ix, iy, k(40), k(36), colours[i]);
        FillRect(s, ix + k(4), iy + k(4), k(32), k(6), 0xFFFFFFFF);
        BlitText(s, platform::locale::Translated(labels[i]), k(12), white, ix + k(20), iy + k(44), true);
    }
    // Task bar with a start button and a clock.
    int bar = std::min(k(30), h / 10);
    FillRect(s, 0, h - bar, w, bar, 0xFF24457A);
    FillRect(s, 0, h - bar, w, std::max(1, k(1)), 0xFF5C84C8);
    FillRect(s, k(2), h - bar + k(3), k(90), bar - k(6), 0xFF3C8C3C);
    BlitText(s, platform::locale::Translated("スタート"), k(14), white, k(47), h - bar + (bar - k(16)) / 2,
             true, true);
    FillRect(s, w - k(80), h - bar + k(3), k(78), bar - k(6), 0xFF1A3560);
    BlitText(s, "7:00", k(13), white, w - k(41), h - bar + (bar - k(15)) / 2, true);
    return picture;
}

void NoteScreenCopy(raster::TextureData& texture, const SDL_Rect& to, const SDL_Rect& from) {
    State& s = TheScreen();
    texture.screenCopy = true;
    if (!s.finePicture || !s.screenPicture) {
        texture.finer.reset();
        return;
    }
    auto finer = std::make_shared<raster::TextureData::Finer>();
    finer->picture = s.finePicture;
    // What the blit copied: the part of `from` that lay on both pictures.
    const SDL_Rect screen{0, 0, s.screenW, s.screenH};
    SDL_Rect copied;
    if (!SDL_IntersectRect(&from, &screen, &copied)) return;
    finer->texels = SDL_Rect{to.x + copied.x - from.x, to.y + copied.y - from.y, copied.w, copied.h};
    finer->fromX = copied.x;
    finer->fromY = copied.y;
    finer->scaleX = float(s.displayW) / float(s.screenW);
    finer->scaleY = float(s.displayH) / float(s.screenH);
    finer->version = texture.version;
    texture.finer = std::move(finer);
}

void MakeScreenPicture() {
    State& s = TheScreen();
    s.screenPicture.reset();
    s.finePicture.reset();
    if (!s.picture || (s.displayW == s.screenW && s.displayH == s.screenH)) return;
    s.screenPicture = NewSurface(s.screenW, s.screenH);
    if (!s.screenPicture ||
        SDL_SoftStretchLinear(s.picture.get(), nullptr, s.screenPicture.get(), nullptr) != 0)
        s.screenPicture.reset();
    // The display's own picture as a texture that shows the State's pixels (they outlive it). Opaque,
    // it goes to a window of the same kind row by row.
    SDL_Surface* p = s.picture.get();
    sdl::SurfacePtr plain(
        SDL_CreateRGBSurfaceWithFormatFrom(p->pixels, p->w, p->h, 32, p->pitch, SDL_PIXELFORMAT_RGB888));
    if (!plain) return;
    auto fine = std::make_shared<raster::TextureData>(1, 1);
    fine->surface = std::move(plain);
    fine->opaque = true;
    fine->Changed();
    s.finePicture = std::move(fine);
}

}  // namespace platform::desktop
