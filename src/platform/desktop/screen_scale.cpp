// The game's screen on the display: the mapping between the game's pixels and the display's, and
// what the system says of its scale (the rule itself is desktop/screen_fit.cpp).
#include "platform/desktop/screen_scale.h"

#include "platform/desktop/desktop_state.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace platform::desktop {

int ToDisplayX(int x) {
    const State& s = TheScreen();
    if (s.displayW == s.screenW) return x;
    return int(std::lround(double(x) * s.displayW / s.screenW));
}

int ToDisplayY(int y) {
    const State& s = TheScreen();
    if (s.displayH == s.screenH) return y;
    return int(std::lround(double(y) * s.displayH / s.screenH));
}

SDL_Rect ToDisplay(const SDL_Rect& r) {
    const int left = ToDisplayX(r.x), top = ToDisplayY(r.y);
    return SDL_Rect{left, top, ToDisplayX(r.x + r.w) - left, ToDisplayY(r.y + r.h) - top};
}

int ToDisplaySize(int pixels) {
    return std::max(1, int(std::lround(pixels * TheScreen().scale)));
}

bool SmoothScale() {
    const double scale = TheScreen().scale;
    return std::fabs(scale - std::round(scale)) > 1e-6;
}

void WindowToScreen(int* x, int* y) {
    State& s = TheScreen();
    int w = s.displayW, h = s.displayH;
    // A window's points need not be the display's pixels (Wayland counts a scaled output's points).
    if (s.window) SDL_GetWindowSize(s.window.get(), &w, &h);
    if (w > 0 && w != s.screenW) *x = int(std::floor(double(*x) * s.screenW / w));
    if (h > 0 && h != s.screenH) *y = int(std::floor(double(*y) * s.screenH / h));
}

void WindowResized(int w, int h) {
    State& s = TheScreen();
    if (s.headless || (w == s.displayW && h == s.displayH)) return;
    s.displayW = w;
    s.displayH = h;
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
