// GetKeyboardState and GetAsyncKeyState: the desktop's keyboard of the frame (desktop/keyboard.cpp).
#include "platform/desktop/desktop.h"
#include "platform/win32.h"

#include <SDL.h>

namespace desktop = platform::desktop;

BOOL GetKeyboardState(BYTE* keyState) {
    if (!keyState) return FALSE;
    desktop::KeyboardState(keyState);
    return TRUE;
}

SHORT GetAsyncKeyState(int vkey) {
    if (vkey < 0 || vkey > 255) return 0;
    if (!desktop::Headless()) SDL_PumpEvents();
    BYTE keys[256];
    desktop::KeyboardState(keys);
    return (keys[vkey] & 0x80) ? SHORT(0x8000) : 0;
}
