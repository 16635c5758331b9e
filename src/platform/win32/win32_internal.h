// What the parts of the window system share (windows, the message queue, painting, cursors).
// Internal to the platform layer.
#pragma once

#include "platform/win32.h"

struct GdiObject {
    int index;  // the stock object's number
};

namespace platform::win32 {

// The window exists and has not been destroyed (windows.cpp).
bool Alive(HWND hwnd);
// Drops the queued messages and a pending quit (message_queue.cpp).
void ClearMessageQueue();
// Frees the cursors made so far; the next LoadCursorA makes them again (cursors.cpp).
void FreeCursors();

}  // namespace platform::win32
