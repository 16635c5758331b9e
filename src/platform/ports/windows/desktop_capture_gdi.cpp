// The real screen photographed through GDI, on Windows.
#include "platform/desktop/desktop_capture.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>

namespace platform::desktop {
namespace {

sdl::SurfacePtr Photograph() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0) return nullptr;
    HDC screen = GetDC(nullptr);
    if (!screen) return nullptr;
    sdl::SurfacePtr out;
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = memory ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            out.reset(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888));
            if (out) {
                // GDI's 32-bit rows are BGRX, which is ARGB8888 in memory with an alpha to fill in.
                for (int y = 0; y < height; ++y) {
                    const auto* from = static_cast<const Uint32*>(bits) + std::size_t(y) * width;
                    auto* to = reinterpret_cast<Uint32*>(static_cast<Uint8*>(out->pixels) + y * out->pitch);
                    for (int x = 0; x < width; ++x) to[x] = from[x] | 0xFF000000u;
                }
            }
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return out;
}

// The scale Windows gives the screen the game covers (the primary monitor's DPI over 96), which a
// program aware of each monitor's DPI, as ours is, is to honour itself. 0 where it cannot be read.
double MonitorScale() {
    UINT dpiX = 0, dpiY = 0;
    // GetDpiForMonitor came with Windows 8.1, in Shcore.dll.
    if (HMODULE shcore = LoadLibraryA("Shcore.dll")) {
        using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
        auto getDpi = reinterpret_cast<GetDpiForMonitorFn>(
            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
        const HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        if (getDpi && primary && getDpi(primary, 0 /* MDT_EFFECTIVE_DPI */, &dpiX, &dpiY) != S_OK) dpiX = 0;
        FreeLibrary(shcore);
    }
    if (dpiX == 0) {
        if (HDC screen = GetDC(nullptr)) {
            dpiX = UINT(GetDeviceCaps(screen, LOGPIXELSX));
            ReleaseDC(nullptr, screen);
        }
    }
    return dpiX >= 24 && dpiX <= 96 * 8 ? dpiX / 96.0 : 0.0;
}

}  // namespace

ScreenBefore LookAtScreen() {
    ScreenBefore seen;
    seen.picture = Photograph();
    seen.scale = MonitorScale();
    seen.windowManager = true;  // Windows always manages its windows
    return seen;
}

}  // namespace platform::desktop
