// What the web page asks of the game while it runs:
// - to pause: while its Settings dialog is open (the game stands still behind it), and when its tab
//   is hidden (a tab the browser hides runs its timers late, and the music would play on); the
//   pause shows once the game reaches its next frame, and one already open stays as it is;
// - where the game's window is on the canvas, so that its touch keys stay off it.
#include "platform/desktop/desktop.h"
#include "platform/desktop/overlay.h"

#include <emscripten.h>

namespace {

EM_JS(void, page_game_window, (int x, int y, int w, int h),
      { Module.rushmoraGameWindow = w > 0 ? {x : x, y : y, w : w, h : h} : null; });

}  // namespace

// automatic: the player went away (the tab hidden), which the settings' pause-when-away may turn
// off; otherwise the page's own dialog, which always pauses.
extern "C" EMSCRIPTEN_KEEPALIVE void rushmora_pause(int automatic) {
    platform::desktop::AskOverlay(platform::desktop::OverlayKind::kPause, automatic != 0);
}

// Sets Module.rushmoraGameWindow to the frame window's rectangle in the canvas's pixels (null while
// none is shown).
extern "C" EMSCRIPTEN_KEEPALIVE void rushmora_game_window() {
    SDL_Rect r{};
    if (!platform::desktop::GameWindowOnDisplay(&r)) r = SDL_Rect{};
    page_game_window(r.x, r.y, r.w, r.h);
}
