// The page asks the game to pause: while its Settings dialog is open (the game stands still behind
// it), and when its tab is hidden (a tab the browser hides runs its timers late, and the music would
// play on). The pause shows once the game reaches its next frame; one already open stays as it is.
#include "platform/desktop/overlay.h"

#include <emscripten.h>

// automatic: the player went away (the tab hidden), which the settings' pause-when-away may turn
// off; otherwise the page's own dialog, which always pauses.
extern "C" EMSCRIPTEN_KEEPALIVE void rushmora_pause(int automatic) {
    platform::desktop::AskOverlay(platform::desktop::OverlayKind::kPause, automatic != 0);
}
