// Reduce motion ([access] reduce-motion): the screen shows the game's windows calmer than the game
// moves them. Reduce flashing ([access] reduce-flashing): the screen's brightness as a whole never
// swings faster than a full swing in a third of a second. Both change only what is shown.
//
// Reduce motion: the game's windows. The game's rects, and all it reads of them, stay as it set them; only
// where the compositor draws them changes. A window shaken about a place it rests at shows a sixteenth of
// each jump; a window moved to a new place and left there follows two frames later.
#include "platform/desktop/desktop_state.h"
#include "platform/settings/settings.h"

#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/screen_scale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace platform::desktop {
namespace {

constexpr int kCalmDivisor = 16;  // the part of a jump about the resting place that is shown
constexpr int kRestFrames = 2;    // frames a window stays put before its place counts as a rest

bool Same(const RECT& a, const RECT& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

void SettleWindows() {
    State& s = TheScreen();
    const bool calm = platform::settings::CurrentSettings().reduceMotion;
    for (WindowObject* w : s.windows) {
        WindowObject::Calm& c = w->calm;
        if (!calm || w->destroyed) {
            c = WindowObject::Calm();
            continue;
        }
        if (!c.on) {
            // Calm from now: it rests where it is.
            c.on = true;
            c.settled = c.last = w->rect;
            c.stillFrames = kRestFrames;
        }
        c.stillFrames = Same(w->rect, c.last) ? c.stillFrames + 1 : 0;
        c.last = w->rect;
        if (c.stillFrames >= kRestFrames) c.settled = w->rect;
        // The size is always the game's; the place is the resting one and a little of the jump.
        const LONG dx = (w->rect.left - c.settled.left) / kCalmDivisor;
        const LONG dy = (w->rect.top - c.settled.top) / kCalmDivisor;
        c.shown = RECT{c.settled.left + dx, c.settled.top + dy,
                       c.settled.left + dx + (w->rect.right - w->rect.left),
                       c.settled.top + dy + (w->rect.bottom - w->rect.top)};
    }
}

RECT ShownRect(const WindowObject& w) {
    return w.calm.on ? w.calm.shown : w.rect;
}

Uint32 FlashVeil(double* level, double brightness) {
    // The most the shown brightness moves in a frame of the game's 16 ms: from black to white
    // takes a third of a second, so it flashes three times a second at the most.
    constexpr double kStep = 255.0 * 16 / 333;
    brightness = std::clamp(brightness, 0.0, 255.0);
    if (*level < 0) {
        *level = brightness;
        return 0;
    }
    const double shown = std::clamp(brightness, *level - kStep, *level + kStep);
    *level = shown;
    if (std::abs(shown - brightness) < 1) return 0;
    // Darker than the picture: a black veil over it; lighter: a white one.
    const double alpha =
        shown < brightness ? 1 - shown / brightness : (shown - brightness) / (255 - brightness);
    const Uint32 a = Uint32(std::lround(std::clamp(alpha, 0.0, 1.0) * 255));
    return (a << 24) | (shown < brightness ? 0x000000u : 0xFFFFFFu);
}

bool LimitFlashing(SDL_Renderer* r, int width, int height) {
    State& s = TheScreen();
    if (!platform::settings::CurrentSettings().reduceFlashing || width <= 0 || height <= 0) {
        s.flashLevel = -1;
        return false;
    }
    // The brightness of the picture as drawn: every eighth pixel of every eighth row.
    constexpr int kEvery = 8;
    std::vector<Uint32> row(static_cast<std::size_t>(width));
    double sum = 0;
    long count = 0;
    for (int y = kEvery / 2; y < height; y += kEvery) {
        const SDL_Rect line{0, y, width, 1};
        if (SDL_RenderReadPixels(r, &line, SDL_PIXELFORMAT_ARGB8888, row.data(), width * 4) != 0)
            return false;
        for (int x = kEvery / 2; x < width; x += kEvery) {
            const Uint32 p = row[std::size_t(x)];
            sum += 0.299 * ((p >> 16) & 0xFF) + 0.587 * ((p >> 8) & 0xFF) + 0.114 * (p & 0xFF);
            ++count;
        }
    }
    if (count == 0) return false;
    const Uint32 veil = FlashVeil(&s.flashLevel, sum / double(count));
    if (!veil) return false;
    FillScreenRect(r, SDL_Rect{0, 0, width, height}, veil);
    // The veil lies over everything: the next frame is drawn whole again, without it.
    s.showWhole = true;
    return true;
}

bool GameWindowOnDisplay(SDL_Rect* out) {
    // The window with a caption (the frame window, the game's window inside it), where it is shown.
    const State& s = TheScreen();
    for (auto it = s.windows.rbegin(); it != s.windows.rend(); ++it) {
        const WindowObject* w = *it;
        if (!w->visible || w->destroyed || w->captionHeight <= 0) continue;
        const RECT at = ShownRect(*w);
        *out = ToDisplay(SDL_Rect{at.left, at.top, at.right - at.left, at.bottom - at.top});
        return out->w > 0 && out->h > 0;
    }
    return false;
}

}  // namespace platform::desktop
