// The event pump: SDL's events turned into what the game's windows see (close requests, cursor
// messages), the display's state (renderer resets, minimizing) and the open message box's input.
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/screen_scale.h"

#include "platform/audio/audio_mixer.h"
#include "platform/replay/recording.h"

namespace platform::desktop {
namespace {

WindowObject* WindowAt(int x, int y) {
    auto& ws = TheScreen().windows;
    for (auto it = ws.rbegin(); it != ws.rend(); ++it) {
        WindowObject* w = *it;
        if (!w->visible || w->destroyed) continue;
        if (x >= w->rect.left && x < w->rect.right && y >= w->rect.top && y < w->rect.bottom) return w;
    }
    return nullptr;
}

bool IsCloseRequest(const SDL_Event& e) {
    return e.type == SDL_QUIT || (e.type == SDL_KEYDOWN && e.key.keysym.scancode == SDL_SCANCODE_F4 &&
                                  (e.key.keysym.mod & KMOD_ALT));
}

// The window manager's close button or Alt+F4. While a message box is open its owner takes no
// input: the request goes to the box, which closes as Cancel (or OK, when that is its only button)
// and ignores it otherwise. One press of Alt+F4 can come as the key and as the system's own close
// request in the same batch of events (Windows sends both): one request asks one question.
void CloseRequest(bool* askedInThisBatch) {
    if (*askedInThisBatch) return;
    *askedInThisBatch = true;
    State& s = TheScreen();
    if (MessageBoxView* box = s.messageBox) {
        for (const auto& b : box->buttons)
            if (b.second == IDCANCEL) box->result = IDCANCEL;
        if (box->buttons.size() == 1 && box->buttons[0].second == IDOK) box->result = IDOK;
        return;
    }
    if (WindowObject* w = TopEnabledWindow()) {
        PostMessageA(w, WM_CLOSE, 0, 0);
        platform::replay::recording::CloseAsked();
    }
}

}  // namespace

void PumpEvents() {
    State& s = TheScreen();
    SDL_Event e;
    bool closeAsked = false;
    while (SDL_PollEvent(&e)) {
        // The mouse on the game's screen, which the display may show larger.
        if (e.type == SDL_MOUSEMOTION) WindowToScreen(&e.motion.x, &e.motion.y);
        if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP)
            WindowToScreen(&e.button.x, &e.button.y);
        switch (e.type) {
            case SDL_QUIT:
                CloseRequest(&closeAsked);
                break;
            case SDL_KEYDOWN:
                if (e.key.keysym.scancode == SDL_SCANCODE_F4 && (e.key.keysym.mod & KMOD_ALT) &&
                    !e.key.repeat)
                    CloseRequest(&closeAsked);
                break;
            case SDL_MOUSEMOTION:
                if (!s.messageBox) {
                    if (WindowObject* w = WindowAt(e.motion.x, e.motion.y)) {
                        bool inCaption = e.motion.y < w->rect.top + w->captionHeight;
                        SendMessageA(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w),
                                     LPARAM((inCaption ? HTCAPTION : HTCLIENT) | (WM_MOUSEMOVE << 16)));
                    }
                }
                break;
            case SDL_RENDER_TARGETS_RESET:
                // Only SDL's render targets went (Direct3D under Wine does this as a box opens and
                // closes); the game's pictures are kept here and in SDL's textures: nothing for the
                // game to restore (its reset would lose the desktop it copied at start-up).
                s.showWhole = true;
                break;
            case SDL_RENDER_DEVICE_RESET:
                ++s.resetCount;
                // The renderer's textures are gone: upload everything again.
                s.device.Renew();
                break;
            case SDL_WINDOWEVENT:
                // The display lost what it showed of the window (or it changed size): all of it
                // goes over again.
                if (e.window.event == SDL_WINDOWEVENT_SHOWN || e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                    e.window.event == SDL_WINDOWEVENT_RESTORED ||
                    e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                    s.showWhole = true;
                // A window manager (or a new screen resolution) gave the window another size: the game
                // keeps its screen, drawn over the whole of the new one.
                if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && e.window.data1 > 0 &&
                    e.window.data2 > 0)
                    WindowResized(e.window.data1, e.window.data2);
                if (e.window.event == SDL_WINDOWEVENT_MINIMIZED || e.window.event == SDL_WINDOWEVENT_HIDDEN)
                    s.minimized = true;
                else if (e.window.event == SDL_WINDOWEVENT_RESTORED ||
                         e.window.event == SDL_WINDOWEVENT_SHOWN || e.window.event == SDL_WINDOWEVENT_EXPOSED)
                    s.minimized = false;
                break;
            case SDL_JOYDEVICEADDED:
                if (!s.headless) PadAdded(e.jdevice.which);
                break;
            case SDL_JOYDEVICEREMOVED:
                if (!s.headless) PadRemoved(e.jdevice.which);
                break;
            case SDL_AUDIODEVICEREMOVED:
                if (!e.adevice.iscapture) platform::audio::DeviceRemoved(e.adevice.which);
                break;
            case SDL_AUDIODEVICEADDED:
                if (!e.adevice.iscapture) platform::audio::LookForDevice(true);
                break;
            default:
                break;
        }
        if (s.messageBox && !IsCloseRequest(e)) {
            // The message box loop reads its own keys and clicks.
            MessageBoxEvent(*s.messageBox, e);
        }
    }
    // A sound device that went away without another being announced is looked for now and then.
    platform::audio::LookForDevice(false);
    // The music's instruments that the web page fetched after the start.
    platform::audio::StartMusicThatCame();
}

}  // namespace platform::desktop
