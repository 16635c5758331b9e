// The message queue: posted messages, the quit message, paint messages for windows that need
// them, and sending and dispatching to the window procedures.
#include "platform/desktop/desktop.h"
#include "platform/common/owner.h"
#include "platform/win32/win32_internal.h"

#include <SDL.h>

#include <deque>
#include <mutex>

namespace desktop = platform::desktop;
namespace win32 = platform::win32;

namespace {

struct Queue {
    std::mutex mutex;
    std::deque<MSG> messages;
    bool quitPending = false;
    int quitCode = 0;
};

// The program's: the sound's threads post to it (the end of a piece) until the program's last
// moment, whether or not the run was stopped.
Queue& TheQueue() {
    return platform::owner::Part<Queue>(platform::owner::Life::Program);
}

}  // namespace

namespace platform::win32 {
void ClearMessageQueue() {
    Queue& q = TheQueue();
    std::lock_guard<std::mutex> lock(q.mutex);
    q.messages.clear();
    q.quitPending = false;
    q.quitCode = 0;
}
}  // namespace platform::win32

using win32::Alive;

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Queue& q = TheQueue();
    std::lock_guard<std::mutex> lock(q.mutex);
    q.messages.push_back(MSG{hwnd, msg, wParam, lParam, 0, POINT{0, 0}});
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    Queue& q = TheQueue();
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
        Queue& q = TheQueue();
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

BOOL TranslateMessage(const MSG*) {
    return FALSE;
}

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
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_PAINT:
            if (Alive(hwnd)) hwnd->invalid = false;
            return 0;
        case WM_SETCURSOR:
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            return FALSE;
        default:
            return 0;
    }
}
