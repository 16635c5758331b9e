// The game's screen on the display: the mapping between the game's pixels and the display's, and
// what the system says of its scale (the rule itself is desktop/screen_fit.cpp).
#include "platform/desktop/screen_scale.h"

#include "platform/desktop/desktop_state.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace platform::desktop {

// Where the game's screen is on the display: all of it, unless the window was given another size or
// shape since the start (then it stands in the middle, the painted desktop round it).
SDL_Rect View(const State& s) {
    if (s.view.w > 0 && s.view.h > 0) return s.view;
    return SDL_Rect{0, 0, s.displayW, s.displayH};
}

int ToDisplayX(int x) {
    const State& s = TheScreen();
    const SDL_Rect v = View(s);
    if (v.w == s.screenW) return v.x + x;
    return v.x + int(std::lround(double(x) * v.w / s.screenW));
}

int ToDisplayY(int y) {
    const State& s = TheScreen();
    const SDL_Rect v = View(s);
    if (v.h == s.screenH) return v.y + y;
    return v.y + int(std::lround(double(y) * v.h / s.screenH));
}

SDL_Rect GameView() {
    return View(TheScreen());
}

ViewFit FitView(int displayW, int displayH, int screenW, int screenH, double startScale) {
    ViewFit fit;
    displayW = std::max(1, displayW), displayH = std::max(1, displayH);
    screenW = std::max(1, screenW), screenH = std::max(1, screenH);
    const double room = std::min(double(displayW) / screenW, double(displayH) / screenH);
    // A whole number where one fits, as sharp as the screen can be; the start's own scale where the
    // window still holds it; below one, the hundredth that fits.
    double scale =
        room >= 1 ? std::floor(room + 1e-9) : std::max(0.1, std::floor(room * 100.0 + 1e-9) / 100.0);
    if (startScale > scale && startScale <= room + 1e-9) scale = startScale;
    fit.scale = scale;
    const int w = std::min(displayW, int(std::lround(screenW * scale)));
    const int h = std::min(displayH, int(std::lround(screenH * scale)));
    fit.view = SDL_Rect{(displayW - w) / 2, (displayH - h) / 2, w, h};
    return fit;
}

SDL_Rect ToDisplay(const SDL_Rect& r) {
    const int left = ToDisplayX(r.x), top = ToDisplayY(r.y);
    return SDL_Rect{left, top, ToDisplayX(r.x + r.w) - left, ToDisplayY(r.y + r.h) - top};
}

int ToDisplaySize(int pixels) {
    const State& s = TheScreen();
    const double scale = s.view.w > 0 ? double(s.view.w) / std::max(1, s.screenW) : s.scale;
    return std::max(1, int(std::lround(pixels * scale)));
}

bool SmoothScale() {
    const State& s = TheScreen();
    const double scale = s.view.w > 0 ? double(s.view.w) / std::max(1, s.screenW) : s.scale;
    return std::fabs(scale - std::round(scale)) > 1e-6;
}

void WindowToScreen(int* x, int* y) {
    State& s = TheScreen();
    int w = s.displayW, h = s.displayH;
    // A window's points need not be the display's pixels (Wayland counts a scaled output's points).
    if (s.window) SDL_GetWindowSize(s.window.get(), &w, &h);
    const SDL_Rect v = View(s);
    const double px = w > 0 ? double(*x) * s.displayW / w : *x, py = h > 0 ? double(*y) * s.displayH / h : *y;
    *x = int(std::floor((px - v.x) * s.screenW / std::max(1, v.w)));
    *y = int(std::floor((py - v.y) * s.screenH / std::max(1, v.h)));
}

void WindowResized(int w, int h) {
    State& s = TheScreen();
    if (s.headless || (w == s.displayW && h == s.displayH)) return;
    s.displayW = w;
    s.displayH = h;
    // The game keeps its screen, as large as the window holds it, the painted desktop round it.
    s.view = FitView(w, h, s.screenW, s.screenH, s.scale).view;
    s.showWhole = true;
    // Canvases are the game's windows at their own size: they stay. The window's surface went with
    // the old size: the renderer on it is made anew when it is next shown.
    if (s.device.presentsTo) s.device.OpenOnWindow(s.window.get());
}

double ScaleFromXResources(const char* text) {
    // Lines of "name:\tvalue"; the one that counts is Xft.dpi, which desktops set to their scale
    // times 96.
    if (!text) return 0;
    for (const char* line = text; *line;) {
        const char* end = std::strchr(line, '\n');
        const std::size_t length = end ? std::size_t(end - line) : std::strlen(line);
        static const char kName[] = "Xft.dpi:";
        if (length > sizeof kName - 1 && std::strncmp(line, kName, sizeof kName - 1) == 0) {
            const double dpi = std::strtod(line + sizeof kName - 1, nullptr);
            if (dpi >= 24 && dpi <= 96 * 8) return dpi / 96.0;
        }
        if (!end) break;
        line = end + 1;
    }
    return 0;
}

double ScaleFromEnvironment() {
    const char* value = SDL_getenv("GDK_SCALE");
    if (!value) return 0;
    const int scale = std::atoi(value);
    return scale >= 1 && scale <= 8 ? double(scale) : 0;
}

}  // namespace platform::desktop
