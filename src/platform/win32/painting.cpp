// Painting and device contexts: BeginPaint/EndPaint, the screen's context that reads the desktop
// picture, contexts on surfaces (a texture's), BitBlt between them, and the stock objects.
#include "platform/desktop/desktop.h"
#include "platform/common/owner.h"
#include "platform/win32/win32_internal.h"

#include <SDL.h>

#include <cstring>
#include <functional>

namespace desktop = platform::desktop;
namespace raster = platform::raster;
namespace win32 = platform::win32;

struct DeviceContext {
    SDL_Surface* surface = nullptr;          // what BitBlt reads and writes
    std::function<void()> changed;           // told after a write
    raster::TextureData* texture = nullptr;  // the texture whose pixels surface holds, if it is one
};

using win32::Alive;

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    // The windows' one device context: the program's.
    DeviceContext& windowDc = platform::owner::Part<DeviceContext>(platform::owner::Life::Program);
    if (!Alive(hwnd)) return nullptr;
    hwnd->invalid = false;
    if (paint) {
        std::memset(paint, 0, sizeof *paint);
        paint->hdc = &windowDc;
        GetClientRect(hwnd, &paint->rcPaint);
    }
    return &windowDc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT*) {
    return TRUE;
}

HDC GetWindowDC(HWND hwnd) {
    // The screen's context reads the desktop as it was when the program started.
    auto* dc = new DeviceContext;
    if (!hwnd) dc->surface = desktop::ScreenPicture();
    return dc;
}

int ReleaseDC(HWND, HDC hdc) {
    delete hdc;
    return 1;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
    if (!dest || !src || !dest->surface || !src->surface || rop != SRCCOPY) return FALSE;
    SDL_Rect from{srcX, srcY, width, height};
    SDL_Rect to{x, y, width, height};
    SDL_BlendMode mode;
    SDL_GetSurfaceBlendMode(src->surface, &mode);
    SDL_SetSurfaceBlendMode(src->surface, SDL_BLENDMODE_NONE);
    const SDL_Rect wanted = from, at = to;
    int r = SDL_BlitSurface(src->surface, &from, dest->surface, &to);
    SDL_SetSurfaceBlendMode(src->surface, mode);
    if (dest->changed) dest->changed();
    // A photograph of the screen into a texture: the display has those pixels finer.
    if (r == 0 && dest->texture && src->surface == desktop::ScreenPicture())
        desktop::NoteScreenCopy(*dest->texture, at, wanted);
    return r == 0;
}

namespace {
// The stock objects: handles the program holds for its life.
struct StockObjects {
    GdiObject objects[8] = {{0}, {1}, {2}, {3}, {4}, {5}, {6}, {7}};
};
}  // namespace

HGDIOBJ GetStockObject(int object) {
    auto& stock = platform::owner::Part<StockObjects>(platform::owner::Life::Program);
    return (object >= 0 && object < 8) ? &stock.objects[object] : nullptr;
}

namespace platform::win32 {
HDC MakeSurfaceDc(SDL_Surface* surface, std::function<void()> changed, raster::TextureData* texture) {
    if (!surface) return nullptr;
    auto* dc = new DeviceContext;
    dc->surface = surface;
    dc->changed = std::move(changed);
    dc->texture = texture;
    return dc;
}
}  // namespace platform::win32
