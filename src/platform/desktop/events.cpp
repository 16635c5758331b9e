// The event pump: SDL's events turned into what the game's windows see (close requests, cursor
// messages), the display's state (renderer resets, minimizing) and the open message box's input.
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/key_prompts.h"
#include "platform/desktop/overlay.h"
#include "platform/desktop/screen_scale.h"
#include "platform/settings/settings.h"

#include "platform/audio/audio_mixer.h"
#include "platform/replay/recording.h"

#include <algorithm>

namespace platform::desktop {
namespace {

WindowObject* WindowAt(int x, int y) {
    auto& ws = TheScreen().windows;
    for (auto it = ws.rbegin(); it != ws.rend(); ++it) {
        WindowObject* w = *it;
        if (!w->visible || w->destroyed) continue;
        const RECT at = ShownRect(*w);  // where the player sees it
        if (x >= at.left && x < at.right && y >= at.top && y < at.bottom) return w;
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
    if (OverlayView* overlay = s.overlay) {
        // Over the pause or the book, the close goes to the game, whose question follows.
        overlay->result = kQuit;
        return;
    }
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

// Whether the key plays one of the game's keys by the player's settings (P pauses only if not).
bool PlaysAGameKey(SDL_Scancode key) {
    const auto& keys = platform::settings::CurrentSettings().keys;
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// Whether a button of the pad is down besides the one given.
bool OtherPadButtonDown(SDL_GameController* pad, int button) {
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
        if (b != button && SDL_GameControllerGetButton(pad, SDL_GameControllerButton(b))) return true;
    return false;
}

// The game's input between two samples, while neither a box nor the pause takes it: presses kept for
// the next sample, and the keys and buttons that pause or open the help book.
void GameInputEvent(State& s, const SDL_Event& e) {
    // The start-up notice goes at the player's first key or click (which still reaches the game).
    if (e.type == SDL_KEYDOWN || e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_CONTROLLERBUTTONDOWN)
        EndNotice();
    switch (e.type) {
        case SDL_KEYDOWN: {
            if (e.key.repeat) break;
            const SDL_Scancode key = e.key.keysym.scancode;
            // Alt+Enter and F11 switch between full screen and a window: the platform's keys, never
            // the game's (the Enter stays out of its keyboard until it is let go).
            if ((key == SDL_SCANCODE_RETURN && (e.key.keysym.mod & KMOD_ALT)) || key == SDL_SCANCODE_F11) {
                s.heldFromBox.set(std::size_t(key));
                ToggleFullScreen();
                break;
            }
            if (key < SDL_NUM_SCANCODES) s.tapped.set(std::size_t(key));
            if (key == SDL_SCANCODE_F1 && HelpBookHere()) AskOverlay(OverlayKind::kHelp, false);
            if (key == SDL_SCANCODE_PAUSE || (key == SDL_SCANCODE_P && !PlaysAGameKey(key)))
                AskOverlay(OverlayKind::kPause, false);
            break;
        }
        case SDL_CONTROLLERBUTTONDOWN: {
            const int b = e.cbutton.button;
            if (b < 32) s.padTapped |= 1u << b;
            SDL_GameController* pad = s.controller.get();
            const bool alone = !pad || !OtherPadButtonDown(pad, b);
            // Start (or Back) with another button is the other button's chord, not a pause.
            if (b != SDL_CONTROLLER_BUTTON_START) s.startAlone = false;
            if (b != SDL_CONTROLLER_BUTTON_BACK) s.backAlone = false;
            if (b == SDL_CONTROLLER_BUTTON_START) s.startDown = true, s.startAlone = alone;
            if (b == SDL_CONTROLLER_BUTTON_BACK) s.backDown = true, s.backAlone = alone;
            break;
        }
        case SDL_CONTROLLERBUTTONUP:
            if (e.cbutton.button == SDL_CONTROLLER_BUTTON_START) {
                if (s.startDown && s.startAlone) AskOverlay(OverlayKind::kPause, false);
                s.startDown = s.startAlone = false;
            }
            if (e.cbutton.button == SDL_CONTROLLER_BUTTON_BACK) {
                if (s.backDown && s.backAlone && HelpBookHere()) AskOverlay(OverlayKind::kHelp, false);
                s.backDown = s.backAlone = false;
            }
            break;
        case SDL_JOYBUTTONDOWN:
            if (!s.controller && e.jbutton.button < 32) s.joyTapped |= 1u << e.jbutton.button;
            break;
        default:
            break;
    }
}

}  // namespace

void PumpEvents() {
    State& s = TheScreen();
    SDL_Event e;
    bool closeAsked = false;
    while (SDL_PollEvent(&e)) {
        // Which keys the pictures' key caps show follows the player's last input, whoever takes it.
        if (!s.headless) PromptInputSeen(e);
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
                // A window manager, the player (resized, maximized) or a new screen resolution gave the
                // window another size: the game keeps its screen, as large as the window holds it.
                if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && e.window.data1 > 0 &&
                    e.window.data2 > 0)
                    WindowResized(e.window.data1, e.window.data2);
                if (e.window.event == SDL_WINDOWEVENT_MINIMIZED || e.window.event == SDL_WINDOWEVENT_HIDDEN)
                    s.minimized = true;
                else if (e.window.event == SDL_WINDOWEVENT_RESTORED ||
                         e.window.event == SDL_WINDOWEVENT_SHOWN || e.window.event == SDL_WINDOWEVENT_EXPOSED)
                    s.minimized = false;
                // The player went away from the game: it pauses (unless the settings say not to; not as
                // the screen switches between full screen and a window, when the focus comes and goes).
                if ((e.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                     e.window.event == SDL_WINDOWEVENT_MINIMIZED) &&
                    platform::CurrentFrame() > 0 && SDL_TICKS_PASSED(SDL_GetTicks(), s.switchedAt + 1500))
                    AskOverlay(OverlayKind::kPause, true);
                // The player resized, maximized or moved the window: it is kept for the next start.
                if ((e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                     e.window.event == SDL_WINDOWEVENT_MOVED ||
                     e.window.event == SDL_WINDOWEVENT_MAXIMIZED) &&
                    s.windowShown && SDL_TICKS_PASSED(SDL_GetTicks(), s.shownAt + 1000))
                    s.windowChanged = true;
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
        if (s.overlay && !IsCloseRequest(e)) {
            // The pause or the book reads its own keys, clicks and buttons.
            OverlayEvent(*s.overlay, e);
        } else if (s.messageBox && !IsCloseRequest(e)) {
            // The message box loop reads its own keys and clicks.
            MessageBoxEvent(*s.messageBox, e);
        } else if (!s.headless) {
            GameInputEvent(s, e);
        }
    }
    // A sound device that went away without another being announced is looked for now and then.
    platform::audio::LookForDevice(false);
    // The music's instruments that the web page fetched after the start.
    platform::audio::StartMusicThatCame();
}

}  // namespace platform::desktop
