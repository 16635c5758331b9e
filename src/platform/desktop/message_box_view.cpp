// The message box as the screen shows it: drawn over everything by the compositor, and keeping
// the real window shown while it is open.
#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/desktop_state.h"

namespace desktop {

void DrawMessageBox(SDL_Renderer* r, const MessageBoxView& m) {
    SDL_Rect shadow{m.box.x + 4, m.box.y + 4, m.box.w, m.box.h};
    FillScreenRect(r, shadow, 0x60000000);
    FillScreenRect(r, m.box, 0xFFECE9D8);
    FillScreenRect(r, {m.box.x, m.box.y, m.box.w, 22}, 0xFF0A246A);
    DrawTextAt(r, m.caption, 13, SDL_Color{255, 255, 255, 255}, m.box.x + 6, m.box.y + 3, true);
    SDL_SetRenderDrawColor(r, 0x40, 0x40, 0x40, 0xFF);
    SDL_RenderDrawRect(r, &m.box);
    int textX = m.box.x + 20;
    UINT icon = m.type & 0xF0;
    if (icon) {
        SDL_Rect ic{m.box.x + 18, m.box.y + 38, 32, 32};
        Uint32 colour = icon == MB_ICONERROR ? 0xFFD03030 : icon == MB_ICONQUESTION ? 0xFF2E64C8 : 0xFFE0B020;
        FillScreenRect(r, ic, colour);
        DrawTextAt(r,
                   icon == MB_ICONERROR      ? "×"
                   : icon == MB_ICONQUESTION ? "?"
                                             : "!",
                   22, SDL_Color{255, 255, 255, 255}, ic.x, ic.y + 3, true, 32);
        textX += 44;
    }
    DrawTextAt(r, m.text, 14, SDL_Color{0, 0, 0, 255}, textX, m.box.y + 46);
    for (size_t i = 0; i < m.buttons.size(); ++i) {
        const SDL_Rect& b = m.buttons[i].first;
        FillScreenRect(r, b, 0xFFF4F3EE);
        SDL_SetRenderDrawColor(r, 0x30, 0x30, 0x30, 0xFF);
        SDL_RenderDrawRect(r, &b);
        if (int(i) == m.focus) {
            SDL_Rect inner{b.x + 3, b.y + 3, b.w - 6, b.h - 6};
            SDL_SetRenderDrawColor(r, 0x2E, 0x64, 0xC8, 0xFF);
            SDL_RenderDrawRect(r, &inner);
        }
        int result = m.buttons[i].second;
        const char* label = result == IDYES ? "はい(Y)" : result == IDNO ? "いいえ(N)" : "OK";
        DrawTextAt(r, label, 13, SDL_Color{0, 0, 0, 255}, b.x, b.y + (b.h - 15) / 2, false, b.w);
    }
}

MessageBoxView* OpenMessageBox() {
    return S().messageBox;
}

void SetMessageBox(MessageBoxView* view) {
    State& s = S();
    s.messageBox = view;
    if (view && s.window && !s.windowShown) {
        // A box can come before any of the game's windows is shown (the sound device's, at start-up):
        // it is a window of its own, so the screen shows it.
        ShowRealWindow();
    }
}

}  // namespace desktop
