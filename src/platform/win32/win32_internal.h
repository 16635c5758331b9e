// What the parts of the window system share (windows, the message queue, painting, cursors).
// Internal to the platform layer.
#pragma once

#include "platform/raster/draw_list.h"
#include "platform/win32.h"

#include <SDL.h>

#include <functional>

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
// Forgets the window classes and queued messages and frees the cursors (at shut-down, before SDL
// goes, so that a program can start again).
void ResetWindowing();

// A device context that draws into a surface; changed is told after every write. texture: the
// texture whose pixels the surface holds, if it is one (painting.cpp; Direct3D's surfaces' GetDC).
HDC MakeSurfaceDc(SDL_Surface* surface, std::function<void()> changed,
                  raster::TextureData* texture = nullptr);

}  // namespace platform::win32
