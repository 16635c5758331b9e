// Text in the Japanese user-interface font, through SDL2_ttf: the fonts by size, and text as a
// surface, on a surface or on a renderer.
#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/font_lookup.h"

namespace platform::desktop {
namespace {

// The font of that pixel height, opened on first use; null when there is no Japanese font or
// SDL2_ttf is not running.
TTF_Font* Font(int size, bool bold) {
    State& s = TheScreen();
    if (!s.fontSearched) {
        s.fontSearched = true;
        s.fontFile = FindJapaneseFontFile();
        if (s.fontFile.empty())
            platform::WarnPlayer(std::string("no Japanese font found (") + kFontAdvice +
                                 "): texts of the platform stay blank");
    }
    if (s.fontFile.empty() || !TTF_WasInit()) return nullptr;
    auto key = std::make_pair(size, bold);
    auto it = s.fonts.find(key);
    if (it != s.fonts.end()) return it->second.get();
    sdl::FontPtr f(TTF_OpenFont(s.fontFile.c_str(), size));
    if (f && bold) TTF_SetFontStyle(f.get(), TTF_STYLE_BOLD);
    return (s.fonts[key] = std::move(f)).get();
}

}  // namespace

void LookForFont() {
    Font(12, false);
}

SDL_Surface* RenderText(const std::string& utf8, int pixelHeight, SDL_Color color, bool bold) {
    if (utf8.empty()) return nullptr;
    TTF_Font* f = Font(pixelHeight, bold);
    if (!f) return nullptr;
    sdl::SurfacePtr t(TTF_RenderUTF8_Blended(f, utf8.c_str(), color));
    if (!t) return nullptr;
    return SDL_ConvertSurfaceFormat(t.get(), SDL_PIXELFORMAT_ARGB8888, 0);
}

void BlitText(SDL_Surface* dst, const std::string& text, int size, SDL_Color color, int x, int y,
              bool centreX, bool bold) {
    sdl::SurfacePtr t(RenderText(text, size, color, bold));
    if (!t) return;
    SDL_Rect r{centreX ? x - t->w / 2 : x, y, t->w, t->h};
    SDL_SetSurfaceBlendMode(t.get(), SDL_BLENDMODE_BLEND);
    SDL_BlitSurface(t.get(), nullptr, dst, &r);
}

void DrawTextAt(SDL_Renderer* r, const std::string& text, int size, SDL_Color colour, int x, int y, bool bold,
                int centreWidth) {
    // The platform's own words (boxes, the pause, notices, captions) stay readable on a small
    // screen held at arm's length, a handheld's among them: never under 9 pixels.
    sdl::SurfacePtr t(RenderText(text, std::max(size, kLeastTextPixels), colour, bold));
    if (!t) return;
    sdl::TexturePtr tex(SDL_CreateTextureFromSurface(r, t.get()));
    if (!tex) return;
    SDL_Rect dst{centreWidth ? x + (centreWidth - t->w) / 2 : x, y, t->w, t->h};
    SDL_SetTextureBlendMode(tex.get(), SDL_BLENDMODE_BLEND);
    SDL_RenderCopy(r, tex.get(), nullptr, &dst);
}

}  // namespace platform::desktop
