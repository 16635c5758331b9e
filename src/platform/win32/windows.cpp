// The game's windows: window classes, creating, showing, moving and destroying windows, their
// rectangles and texts, and the screen's metrics.
#include "platform/desktop/desktop.h"
#include "platform/common/owner.h"
#include "platform/win32/win32_internal.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

namespace desktop = platform::desktop;
namespace raster = platform::raster;
namespace win32 = platform::win32;

struct InstanceObject {
    int unused;
};

namespace {

struct ClassInfo {
    WNDCLASSEXA wc;
};

// The program's window classes (and its one instance handle).
struct Registered {
    std::map<std::string, ClassInfo> classes;
    InstanceObject instance{0};
};

Registered& TheRegistered() {
    return platform::owner::Part<Registered>(platform::owner::Life::Program);
}

std::map<std::string, ClassInfo>& Classes() {
    return TheRegistered().classes;
}

void InvalidateBelow(WindowObject* moved) {
    for (WindowObject* w : desktop::Windows()) {
        if (w == moved) break;
        if (w->visible && !w->destroyed) w->invalid = true;
    }
}

DWORD BrushColour(HBRUSH brush) {
    if (!brush) return 0xFFFFFFFF;
    switch (brush->index) {
        case BLACK_BRUSH:
            return 0xFF000000;
        case 1:
            return 0xFFC0C0C0;
        case 2:
            return 0xFF808080;
        case 3:
            return 0xFF404040;
        default:
            return 0xFFFFFFFF;
    }
}

}  // namespace

namespace platform::win32 {
bool Alive(HWND hwnd) {
    if (!hwnd) return false;
    for (WindowObject* w : desktop::Windows())
        if (w == hwnd) return !w->destroyed;
    return false;
}
}  // namespace platform::win32

using win32::Alive;

HINSTANCE GetModuleHandleA(LPCSTR) {
    return &TheRegistered().instance;
}

WORD RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpfnWndProc || !wc->lpszClassName) return 0;
    auto& classes = Classes();
    if (classes.count(wc->lpszClassName)) return 0;
    classes[wc->lpszClassName] = ClassInfo{*wc};
    return WORD(0xC000 + classes.size());
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU, HINSTANCE, LPVOID) {
    if (!className) return nullptr;
    auto it = Classes().find(className);
    if (it == Classes().end()) return nullptr;
    auto* w = new WindowObject;
    w->className = className;
    w->text = windowName ? windowName : "";
    w->style = style;
    w->proc = it->second.wc.lpfnWndProc;
    w->classStyle = it->second.wc.style;
    w->background = BrushColour(it->second.wc.hbrBackground);
    if (x == CW_USEDEFAULT) x = 0;
    if (y == CW_USEDEFAULT) y = 0;
    w->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
    w->owner = Alive(parent) ? parent : nullptr;
    // Overlapped windows always carry a caption; popups only when asked for one.
    const bool overlapped = !(style & (WS_POPUP | WS_CHILD));
    if (overlapped || (style & WS_CAPTION) == WS_CAPTION) w->captionHeight = 21;
    desktop::Windows().push_back(w);
    if (w->proc(w, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(w);
        return nullptr;
    }
    if (style & WS_VISIBLE) ShowWindow(w, SW_SHOW);
    return w;
}

BOOL DestroyWindow(HWND hwnd) {
    if (!Alive(hwnd)) return FALSE;
    // Owned windows go first, then the owner.
    for (WindowObject* w : std::vector<WindowObject*>(desktop::Windows()))
        if (w->owner == hwnd && !w->destroyed) DestroyWindow(w);
    hwnd->visible = false;
    desktop::RealWindowVisibility();
    hwnd->proc(hwnd, WM_DESTROY, 0, 0);
    hwnd->destroyed = true;
    hwnd->content = raster::Presented{};
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    return Alive(hwnd);
}
BOOL IsWindowEnabled(HWND hwnd) {
    return Alive(hwnd) && !(hwnd->style & WS_DISABLED);
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    if (!Alive(hwnd)) return FALSE;
    const bool was = hwnd->visible;
    hwnd->visible = cmdShow != SW_HIDE;
    if (hwnd->visible && !was) hwnd->invalid = true;
    if (!hwnd->visible && was) InvalidateBelow(hwnd);
    desktop::RealWindowVisibility();
    return was;
}

BOOL UpdateWindow(HWND hwnd) {
    if (!Alive(hwnd)) return FALSE;
    if (hwnd->invalid && hwnd->visible) SendMessageA(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    if (!Alive(hwnd)) return FALSE;
    RECT r{x, y, x + std::max(0, width), y + std::max(0, height)};
    const bool changed = std::memcmp(&r, &hwnd->rect, sizeof r) != 0;
    hwnd->rect = r;
    if (changed && repaint && hwnd->visible) InvalidateBelow(hwnd);
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    if (!Alive(hwnd) || !rect) return FALSE;
    *rect = hwnd->rect;
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    if (!Alive(hwnd) || !rect) return FALSE;
    *rect = RECT{0, 0, hwnd->rect.right - hwnd->rect.left,
                 std::max<LONG>(0, hwnd->rect.bottom - hwnd->rect.top - hwnd->captionHeight)};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    if (!Alive(hwnd) || !point) return FALSE;
    point->x += hwnd->rect.left;
    point->y += hwnd->rect.top + hwnd->captionHeight;
    return TRUE;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (!Alive(hwnd)) return FALSE;
    hwnd->text = text ? text : "";
    return TRUE;
}

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
            return desktop::ScreenWidth();
        case SM_CYSCREEN:
            return desktop::ScreenHeight();
        default:
            return 0;
    }
}

namespace platform::win32 {
void ResetWindowing() {
    Classes().clear();
    win32::ClearMessageQueue();
    win32::FreeCursors();
}
}  // namespace platform::win32
