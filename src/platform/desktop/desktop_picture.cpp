// The desktop picture the background window shows: the part of a photograph of the real screen
// that our screen covers, or a painted desktop where there is none.
#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/desktop_state.h"

#include <algorithm>
#include <cmath>

namespace desktop {
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
sdl::SurfacePtr PaintedDesktop(int w, int h) {
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
    const char* labels[] = {"マイ コンピュータ", "マイ ドキュメント", "ごみ箱", "メモ帳"};
    const Uint32 colours[] = {0xFF6C8EBF, 0xFFE8C15A, 0xFF9AA5AE, 0xFFF4F4F4};
    SDL_Color white{255, 255, 255, 255};
    for (int i = 0; i < 4; ++i) {
        int ix = 28, iy = 24 + i * 92;
        if (iy + 80 > h - 40) break;
        FillRect(s, ix + 2, iy + 2, 40, 36, 0xFF203040);
        FillRect(s, ix, iy, 40, 36, colours[i]);
        FillRect(s, ix + 4, iy + 4, 32, 6, 0xFFFFFFFF);
        BlitText(s, labels[i], 12, white, ix + 20, iy + 44, true);
    }
    // Task bar with a start button and a clock.
    int bar = std::min(30, h / 10);
    FillRect(s, 0, h - bar, w, bar, 0xFF24457A);
    FillRect(s, 0, h - bar, w, 1, 0xFF5C84C8);
    FillRect(s, 2, h - bar + 3, 90, bar - 6, 0xFF3C8C3C);
    BlitText(s, "スタート", 14, white, 47, h - bar + (bar - 16) / 2, true, true);
    FillRect(s, w - 80, h - bar + 3, 78, bar - 6, 0xFF1A3560);
    BlitText(s, "7:00", 13, white, w - 41, h - bar + (bar - 15) / 2, true);
    return picture;
}

}  // namespace desktop
