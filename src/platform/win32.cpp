// Windows, the message queue, painting, device contexts, message boxes and cursors.
#include "platform/win32.h"

#include "platform/desktop.h"
#include "platform/resources.h"
#include "platform/runtime.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>

struct InstanceObject {
    int unused;
};
struct GdiObject {
    int index;
};
struct CursorObject {
    SDL_Cursor* cursor = nullptr;
    int resourceId = 0;
};
struct DeviceContext {
    SDL_Surface* surface = nullptr;       // what BitBlt reads and writes
    std::function<void()> changed;        // told after a write
};

namespace {

struct ClassInfo {
    WNDCLASSEXA wc;
};

struct Queue {
    std::mutex mutex;
    std::deque<MSG> messages;
    bool quitPending = false;
    int quitCode = 0;
};

Queue& Q() {
    static Queue q;
    return q;
}

std::map<std::string, ClassInfo>& Classes() {
    static std::map<std::string, ClassInfo> c;
    return c;
}

bool Alive(HWND hwnd) {
    if (!hwnd) return false;
    for (WindowObject* w : desktop::Windows())
        if (w == hwnd) return !w->destroyed;
    return false;
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
        case BLACK_BRUSH: return 0xFF000000;
        case 1: return 0xFFC0C0C0;
        case 2: return 0xFF808080;
        case 3: return 0xFF404040;
        default: return 0xFFFFFFFF;
    }
}

}  // namespace

HINSTANCE GetModuleHandleA(LPCSTR) {
    static InstanceObject instance{0};
    return &instance;
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
    hwnd->content = gfx::Presented{};
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Alive(hwnd); }
BOOL IsWindowVisible(HWND hwnd) { return Alive(hwnd) && hwnd->visible; }
BOOL IsWindowEnabled(HWND hwnd) { return Alive(hwnd) && !(hwnd->style & WS_DISABLED); }

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

int GetWindowTextA(HWND hwnd, LPSTR text, int maxCount) {
    if (!Alive(hwnd) || !text || maxCount <= 0) return 0;
    int n = std::min<int>(maxCount - 1, int(hwnd->text.size()));
    std::memcpy(text, hwnd->text.data(), n);
    text[n] = 0;
    return n;
}

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL) {
    if (!hwnd) {
        for (WindowObject* w : desktop::Windows())
            if (w->visible && !w->destroyed) w->invalid = true;
        return TRUE;
    }
    if (!Alive(hwnd)) return FALSE;
    hwnd->invalid = true;
    return TRUE;
}

// ---- the message queue ----------------------------------------------------------------------------

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Queue& q = Q();
    std::lock_guard<std::mutex> lock(q.mutex);
    q.messages.push_back(MSG{hwnd, msg, wParam, lParam, 0, POINT{0, 0}});
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    Queue& q = Q();
    std::lock_guard<std::mutex> lock(q.mutex);
    q.quitPending = true;
    q.quitCode = exitCode;
}

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    desktop::PumpEvents();
    auto matches = [&](const MSG& m) {
        if (hwnd && m.hwnd != hwnd) return false;
        if (filterMin == 0 && filterMax == 0) return true;
        return m.message >= filterMin && m.message <= filterMax;
    };
    {
        Queue& q = Q();
        std::lock_guard<std::mutex> lock(q.mutex);
        for (auto it = q.messages.begin(); it != q.messages.end(); ++it) {
            if (!matches(*it)) continue;
            *msg = *it;
            msg->time = SDL_GetTicks();
            if (removeMsg & PM_REMOVE) q.messages.erase(it);
            return TRUE;
        }
        // The quit message comes once the queue is empty, as on Windows.
        if (q.quitPending && !hwnd) {
            *msg = MSG{nullptr, WM_QUIT, WPARAM(q.quitCode), 0, SDL_GetTicks(), POINT{0, 0}};
            if (removeMsg & PM_REMOVE) q.quitPending = false;
            return TRUE;
        }
    }
    // Then a paint for any window that needs one.
    for (WindowObject* w : desktop::Windows()) {
        if (w->destroyed || !w->visible || !w->invalid) continue;
        if (hwnd && w != hwnd) continue;
        MSG m{w, WM_PAINT, 0, 0, SDL_GetTicks(), POINT{0, 0}};
        if (!matches(m)) continue;
        *msg = m;
        return TRUE;
    }
    return FALSE;
}

BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    while (!PeekMessageA(msg, hwnd, filterMin, filterMax, PM_REMOVE)) SDL_Delay(1);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg || !Alive(msg->hwnd)) return 0;
    return msg->hwnd->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!Alive(hwnd)) return 0;
    return hwnd->proc(hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM, LPARAM) {
    switch (msg) {
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_PAINT:
            if (Alive(hwnd)) hwnd->invalid = false;
            return 0;
        case WM_SETCURSOR: SetCursor(LoadCursorA(nullptr, IDC_ARROW)); return FALSE;
        default: return 0;
    }
}

// ---- painting and device contexts --------------------------------------------------------------------

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    static DeviceContext windowDc;
    if (!Alive(hwnd)) return nullptr;
    hwnd->invalid = false;
    if (paint) {
        std::memset(paint, 0, sizeof *paint);
        paint->hdc = &windowDc;
        GetClientRect(hwnd, &paint->rcPaint);
    }
    return &windowDc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

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
    int r = SDL_BlitSurface(src->surface, &from, dest->surface, &to);
    SDL_SetSurfaceBlendMode(src->surface, mode);
    if (dest->changed) dest->changed();
    return r == 0;
}

HGDIOBJ GetStockObject(int object) {
    static GdiObject objects[8] = {{0}, {1}, {2}, {3}, {4}, {5}, {6}, {7}};
    return (object >= 0 && object < 8) ? &objects[object] : nullptr;
}

// ---- cursors and icons ----------------------------------------------------------------------------------

HICON LoadIconA(HINSTANCE, LPCSTR) {
    static CursorObject icon;
    return &icon;
}

namespace {
SDL_Cursor* MakeCursor(const platform::CursorResource& res) {
    Uint8 data[32 * 4] = {}, mask[32 * 4] = {};
    for (int y = 0; y < 32; ++y) {
        const char* row = res.rows[y];
        for (int x = 0; x < 32 && row && row[x]; ++x) {
            const int byte = y * 4 + x / 8, bit = 0x80 >> (x % 8);
            if (row[x] == '#') data[byte] |= bit, mask[byte] |= bit;
            if (row[x] == '.') mask[byte] |= bit;
        }
    }
    return SDL_CreateCursor(data, mask, 32, 32, res.hotX, res.hotY);
}
}  // namespace

namespace {
const platform::CursorResource* g_cursorResources = nullptr;
int g_cursorResourceCount = 0;
}  // namespace

namespace platform {
void SetCursorResources(const CursorResource* cursors, int count) {
    g_cursorResources = cursors;
    g_cursorResourceCount = cursors ? count : 0;
}

const CursorResource* FindCursorResource(int id) {
    for (int i = 0; i < g_cursorResourceCount; ++i)
        if (g_cursorResources[i].id == id) return &g_cursorResources[i];
    return nullptr;
}
}  // namespace platform

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    static std::map<int, CursorObject> cursors;
    if (!IS_INTRESOURCE(name)) return nullptr;
    const int id = int(reinterpret_cast<std::uintptr_t>(name));
    const int key = instance ? id : -id;  // system cursors and program resources apart
    auto it = cursors.find(key);
    if (it != cursors.end()) return &it->second;
    CursorObject c;
    c.resourceId = id;
    if (instance) {
        const platform::CursorResource* res = platform::FindCursorResource(id);
        if (!res) return nullptr;
        if (!desktop::Headless()) c.cursor = MakeCursor(*res);
    } else if (!desktop::Headless()) {
        c.cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    }
    return &(cursors[key] = c);
}

HCURSOR SetCursor(HCURSOR cursor) {
    static HCURSOR current = nullptr;
    HCURSOR previous = current;
    current = cursor;
    if (cursor && cursor->cursor) SDL_SetCursor(cursor->cursor);
    return previous;
}

// ---- metrics and keyboard ------------------------------------------------------------------------------

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN: return desktop::ScreenWidth();
        case SM_CYSCREEN: return desktop::ScreenHeight();
        default: return 0;
    }
}

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

// ---- message boxes -----------------------------------------------------------------------------------------

namespace {
int ButtonFor(const desktop::MessageBoxView& view, int result) {
    for (size_t i = 0; i < view.buttons.size(); ++i)
        if (view.buttons[i].second == result) return int(i);
    return -1;
}
}  // namespace

namespace desktop {
void ResetWindowing() {
    Classes().clear();
    Queue& q = Q();
    std::lock_guard<std::mutex> lock(q.mutex);
    q.messages.clear();
    q.quitPending = false;
    q.quitCode = 0;
}

HDC MakeSurfaceDc(SDL_Surface* surface, std::function<void()> changed) {
    if (!surface) return nullptr;
    auto* dc = new DeviceContext;
    dc->surface = surface;
    dc->changed = std::move(changed);
    return dc;
}

void MessageBoxEvent(MessageBoxView& v, const SDL_Event& e) {
    if (v.buttons.empty()) return;
    const int n = int(v.buttons.size());
    // Only keys pressed after the box opened answer it: a key held from the game (Escape, that
    // opened the question) repeats without answering.
    if (e.type == SDL_KEYDOWN && !e.key.repeat && !SDL_TICKS_PASSED(v.openedAt, e.key.timestamp)) {
        switch (e.key.keysym.sym) {
            case SDLK_RETURN:
            case SDLK_KP_ENTER:
            case SDLK_SPACE: v.result = v.buttons[v.focus].second; break;
            case SDLK_ESCAPE:
                v.result = ButtonFor(v, IDNO) >= 0 ? IDNO : ButtonFor(v, IDCANCEL) >= 0 ? IDCANCEL : IDOK;
                break;
            case SDLK_y:
                if (ButtonFor(v, IDYES) >= 0) v.result = IDYES;
                break;
            case SDLK_n:
                if (ButtonFor(v, IDNO) >= 0) v.result = IDNO;
                break;
            case SDLK_LEFT:
            case SDLK_UP: v.focus = (v.focus + n - 1) % n; break;
            case SDLK_RIGHT:
            case SDLK_DOWN:
            case SDLK_TAB: v.focus = (v.focus + 1) % n; break;
            default: break;
        }
    } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT &&
               !SDL_TICKS_PASSED(v.openedAt, e.button.timestamp)) {
        v.mouseDownIn = true;
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT && v.mouseDownIn) {
        // A click is a press and a release on the box; a release of a press from before does nothing.
        SDL_Point p{e.button.x, e.button.y};
        for (auto& b : v.buttons)
            if (SDL_PointInRect(&p, &b.first)) v.result = b.second;
    } else if (e.type == SDL_MOUSEMOTION) {
        SDL_Point p{e.motion.x, e.motion.y};
        for (int i = 0; i < n; ++i)
            if (SDL_PointInRect(&p, &v.buttons[i].first)) v.focus = i;
    }
}
}  // namespace desktop

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    desktop::MessageBoxView view;
    view.text = text ? text : "";
    view.caption = caption ? caption : "エラー";
    view.type = type;
    std::vector<int> results;
    switch (type & 0x0F) {
        case MB_YESNO: results = {IDYES, IDNO}; break;
        case MB_OKCANCEL: results = {IDOK, IDCANCEL}; break;
        default: results = {IDOK}; break;
    }
    int result = 0;
    const long frame = platform::CurrentFrame();
    if (desktop::Headless()) {
        // Answered by the script; unanswered boxes take No, or their only button.
        int answer = platform::Options().hasScript ? platform::Options().script.AnswerAt(frame) : 0;
        if (std::find(results.begin(), results.end(), answer) != results.end())
            result = answer;
        else if (std::find(results.begin(), results.end(), IDNO) != results.end())
            result = IDNO;
        else if (std::find(results.begin(), results.end(), IDCANCEL) != results.end())
            result = IDCANCEL;
        else
            result = IDOK;
    } else {
        // Lay the box out, centred on its owner (or the screen).
        SDL_Surface* t = desktop::RenderText(view.text, 14, SDL_Color{0, 0, 0, 255});
        int textW = t ? t->w : int(view.text.size()) * 7;
        if (t) SDL_FreeSurface(t);
        const int iconW = (type & 0xF0) ? 44 : 0;
        const int buttonsW = int(results.size()) * 96 + int(results.size() - 1) * 10;
        const int w = std::max({textW + iconW + 48, buttonsW + 40, 240});
        const int h = 130;
        RECT area{0, 0, desktop::ScreenWidth(), desktop::ScreenHeight()};
        if (owner && IsWindow(owner)) GetWindowRect(owner, &area);
        int x = (area.left + area.right - w) / 2, y = (area.top + area.bottom - h) / 2;
        x = std::clamp(x, 0, std::max(0, desktop::ScreenWidth() - w));
        y = std::clamp(y, 0, std::max(0, desktop::ScreenHeight() - h));
        view.box = SDL_Rect{x, y, w, h};
        int bx = x + (w - buttonsW) / 2;
        for (int r : results) {
            view.buttons.push_back({SDL_Rect{bx, y + h - 40, 96, 28}, r});
            bx += 106;
        }
        // While the box is open, messages still reach the window procedures.
        desktop::MessageBoxView* const below = desktop::OpenMessageBox();
        view.openedAt = SDL_GetTicks();
        desktop::SetMessageBox(&view);
        bool quit = false;
        int quitCode = 0;
        while (!view.result) {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
                if (m.message == WM_QUIT) {
                    quit = true;
                    quitCode = int(m.wParam);
                    continue;
                }
                DispatchMessageA(&m);
                if (view.result) break;
            }
            desktop::ShowFrame();
            SDL_Delay(10);
        }
        result = view.result;
        desktop::SetMessageBox(below);
        if (quit) PostQuitMessage(quitCode);
    }
    platform::RecordMessageBox({view.text, view.caption, type, result, frame});
    std::fprintf(stderr, "rushmora: message box \"%s\" / \"%s\" answered %s\n", view.caption.c_str(),
                 view.text.c_str(),
                 result == IDYES ? "Yes" : result == IDNO ? "No" : result == IDCANCEL ? "Cancel" : "OK");
    return result;
}
