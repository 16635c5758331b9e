// The message box as the screen shows it: drawn over everything by the compositor, and keeping
// the real window shown while it is open.
#include "platform/locale/language.h"
#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/key_prompts.h"
#include "platform/desktop/screen_scale.h"
#include "platform/settings/settings.h"

namespace platform::desktop {
namespace {
int Refusal(const MessageBoxView& v);
}

void DrawMessageBox(SDL_Renderer* r, const MessageBoxView& m) {
    // Laid out on the game's screen, drawn on the display.
    const SDL_Rect box = ToDisplay(m.box);
    auto at = [&m](int dx, int dy, int w, int h) {
        return ToDisplay(SDL_Rect{m.box.x + dx, m.box.y + dy, w, h});
    };
    FillScreenRect(r, at(4, 4, m.box.w, m.box.h), 0x60000000);
    FillScreenRect(r, box, 0xFFECE9D8);
    FillScreenRect(r, at(0, 0, m.box.w, 22), 0xFF0A246A);
    DrawTextAt(r, m.caption, ToDisplaySize(13), SDL_Color{255, 255, 255, 255}, ToDisplayX(m.box.x + 6),
               ToDisplayY(m.box.y + 3), true);
    SDL_SetRenderDrawColor(r, 0x40, 0x40, 0x40, 0xFF);
    SDL_RenderDrawRect(r, &box);
    int textX = m.box.x + 20;
    UINT icon = m.type & 0xF0;
    if (icon) {
        const SDL_Rect ic = at(18, 38, 32, 32);
        Uint32 colour = icon == MB_ICONERROR ? 0xFFD03030 : icon == MB_ICONQUESTION ? 0xFF2E64C8 : 0xFFE0B020;
        FillScreenRect(r, ic, colour);
        DrawTextAt(r,
                   icon == MB_ICONERROR      ? "×"
                   : icon == MB_ICONQUESTION ? "?"
                                             : "!",
                   ToDisplaySize(22), SDL_Color{255, 255, 255, 255}, ic.x, ToDisplayY(m.box.y + 41), true,
                   ic.w);
        textX += 44;
    }
    DrawTextAt(r, m.text, ToDisplaySize(14), SDL_Color{0, 0, 0, 255}, ToDisplayX(textX),
               ToDisplayY(m.box.y + 46));
    for (size_t i = 0; i < m.buttons.size(); ++i) {
        const SDL_Rect& b = m.buttons[i].first;
        const SDL_Rect shown = ToDisplay(b);
        FillScreenRect(r, shown, 0xFFF4F3EE);
        SDL_SetRenderDrawColor(r, 0x30, 0x30, 0x30, 0xFF);
        SDL_RenderDrawRect(r, &shown);
        if (int(i) == m.focus) {
            const SDL_Rect inner = ToDisplay(SDL_Rect{b.x + 3, b.y + 3, b.w - 6, b.h - 6});
            SDL_SetRenderDrawColor(r, 0x2E, 0x64, 0xC8, 0xFF);
            SDL_RenderDrawRect(r, &inner);
        }
        int result = m.buttons[i].second;
        const char* label = result == IDYES      ? "はい(Y)"
                            : result == IDNO     ? "いいえ(N)"
                            : result == IDCANCEL ? "キャンセル"
                                                 : "OK";
        // Played by pad: the button that presses the focused one and the one that says no, by name.
        std::string words = platform::locale::Translated(label);
        const int padButton = int(i) == m.focus ? 2 : result == Refusal(m) ? 1 : 0;
        if (const std::string name = padButton ? PadButtonText(padButton) : ""; !name.empty())
            words += " [" + name + "]";
        DrawTextAt(r, words, ToDisplaySize(13), SDL_Color{0, 0, 0, 255}, shown.x,
                   ToDisplayY(b.y + (b.h - 15) / 2), false, shown.w);
    }
}

MessageBoxView* OpenMessageBox() {
    return TheScreen().messageBox;
}

void SetMessageBox(MessageBoxView* view) {
    State& s = TheScreen();
    s.messageBox = view;
    if (view && s.window && !s.windowShown) {
        // A box can come before any of the game's windows is shown (the sound device's, at start-up):
        // it is a window of its own, so the screen shows it.
        ShowRealWindow();
    }
}

namespace {
int ButtonFor(const MessageBoxView& view, int result) {
    for (size_t i = 0; i < view.buttons.size(); ++i)
        if (view.buttons[i].second == result) return int(i);
    return -1;
}
}  // namespace

namespace {

// The answer that says no: No, else Cancel, else the box's only OK.
int Refusal(const MessageBoxView& v) {
    return ButtonFor(v, IDNO) >= 0 ? IDNO : ButtonFor(v, IDCANCEL) >= 0 ? IDCANCEL : IDOK;
}

void Step(MessageBoxView& v, int by) {
    const int n = int(v.buttons.size());
    v.focus = (v.focus + by + n) % n;
}

// A pad answers a box as the game's menus are answered: the cross or the stick moves between the
// buttons, the game's button 2 (the one that confirms on the menus, by the player's settings: B as
// always, A with "confirm with A") presses the focused one, and the game's button 1 says no. A
// joystick SDL has no mapping for does the same with its own buttons 2 and 1 and its hat.
bool PadAnswer(MessageBoxView& v, const SDL_Event& e) {
    const auto& buttons = platform::settings::CurrentSettings().padButtons;
    switch (e.type) {
        case SDL_CONTROLLERBUTTONDOWN: {
            if (SDL_TICKS_PASSED(v.openedAt, e.cbutton.timestamp)) return true;
            const int b = e.cbutton.button;
            if (b == buttons[1])
                v.result = v.buttons[std::size_t(v.focus)].second;
            else if (b == buttons[0])
                v.result = Refusal(v);
            else if (b == SDL_CONTROLLER_BUTTON_DPAD_LEFT || b == SDL_CONTROLLER_BUTTON_DPAD_UP)
                Step(v, -1);
            else if (b == SDL_CONTROLLER_BUTTON_DPAD_RIGHT || b == SDL_CONTROLLER_BUTTON_DPAD_DOWN)
                Step(v, 1);
            return true;
        }
        case SDL_CONTROLLERAXISMOTION: {
            // A push past the player's dead zone moves once; the stick must come back before the next.
            if (e.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX && e.caxis.axis != SDL_CONTROLLER_AXIS_LEFTY)
                return true;
            const int reach = 32767 * platform::settings::CurrentSettings().deadZone / 100;
            const int dir = e.caxis.value < -reach ? -1 : e.caxis.value > reach ? 1 : 0;
            int& was = e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ? v.stickX : v.stickY;
            if (dir != was && dir != 0) Step(v, dir);
            was = dir;
            return true;
        }
        case SDL_JOYBUTTONDOWN:
            if (SDL_GameControllerFromInstanceID(e.jbutton.which)) return true;  // read as a pad above
            if (SDL_TICKS_PASSED(v.openedAt, e.jbutton.timestamp)) return true;
            if (e.jbutton.button == 1) v.result = v.buttons[std::size_t(v.focus)].second;
            if (e.jbutton.button == 0) v.result = Refusal(v);
            return true;
        case SDL_JOYHATMOTION:
            if (SDL_GameControllerFromInstanceID(e.jhat.which)) return true;
            if (e.jhat.value & (SDL_HAT_LEFT | SDL_HAT_UP)) Step(v, -1);
            if (e.jhat.value & (SDL_HAT_RIGHT | SDL_HAT_DOWN)) Step(v, 1);
            return true;
        default:
            return false;
    }
}

}  // namespace

void MessageBoxEvent(MessageBoxView& v, const SDL_Event& e) {
    if (v.buttons.empty()) return;
    const int n = int(v.buttons.size());
    // Only keys pressed after the box opened answer it: a key held from the game (Escape, that
    // opened the question) repeats without answering.
    if (e.type == SDL_KEYDOWN && !e.key.repeat && !SDL_TICKS_PASSED(v.openedAt, e.key.timestamp)) {
        switch (e.key.keysym.sym) {
            case SDLK_RETURN:
            case SDLK_KP_ENTER:
            case SDLK_SPACE:
                v.result = v.buttons[v.focus].second;
                break;
            case SDLK_ESCAPE:
                v.result = Refusal(v);
                break;
            case SDLK_y:
                if (ButtonFor(v, IDYES) >= 0) v.result = IDYES;
                break;
            case SDLK_n:
                if (ButtonFor(v, IDNO) >= 0) v.result = IDNO;
                break;
            case SDLK_LEFT:
            case SDLK_UP:
                v.focus = (v.focus + n - 1) % n;
                break;
            case SDLK_RIGHT:
            case SDLK_DOWN:
            case SDLK_TAB:
                v.focus = (v.focus + 1) % n;
                break;
            default:
                break;
        }
    } else if (PadAnswer(v, e)) {
        // a pad's button, cross or stick
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

}  // namespace platform::desktop
