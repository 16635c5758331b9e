// The pause and the help book over the game: laid out over the game's window, drawn by the
// compositor, and answering keys, clicks, touches and pads.
#include "platform/desktop/overlay.h"

#include "platform/common/owner.h"
#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/key_prompts.h"
#include "platform/desktop/screen_scale.h"
#include "platform/locale/language.h"
#include "platform/pictures/picture_cache.h"
#include "platform/settings/settings.h"

#include <algorithm>
#include <cstring>

namespace platform::desktop {
namespace {

constexpr const char* kHelpPicture = "Texture/help.png";
// The pictures only the title and the option screen show.
constexpr const char* kHelpScreens[] = {"sc_moji.png", "Option.png"};

struct Asked {
    OverlayKind kind = OverlayKind::kNone;
    bool automatic = false;
};

Asked& TheAsked() {
    return owner::Part<Asked>(owner::Life::Run);
}

bool EndsWith(const std::string& s, const char* tail) {
    const std::size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// The game's window: the top one shown, else the whole screen.
SDL_Rect GameArea() {
    State& s = TheScreen();
    for (auto it = s.windows.rbegin(); it != s.windows.rend(); ++it) {
        const WindowObject* w = *it;
        if (!w->visible || w->destroyed) continue;
        const SDL_Rect r{w->rect.left, w->rect.top + w->captionHeight, w->rect.right - w->rect.left,
                         w->rect.bottom - w->rect.top - w->captionHeight};
        if (r.w > 0 && r.h > 0) return r;
    }
    return SDL_Rect{0, 0, s.screenW, s.screenH};
}

const char* PauseItemText(int item) {
    switch (item) {
        case kResume:
            return "ゲームにもどる";
        case kBackToTitle:
            return "タイトルへ戻る";
        case kSettings:
            return "設定";
        default:
            return "ゲームを終了";
    }
}

void Changed(OverlayView& v) {
    ++v.version;
}

void MoveFocus(OverlayView& v, int by) {
    if (v.kind != OverlayKind::kPause) return;
    v.focus = (v.focus + by + kPauseItems) % kPauseItems;
    Changed(v);
}

void TurnPage(OverlayView& v, int by) {
    if (v.kind != OverlayKind::kHelp) return;
    const int page = std::clamp(v.page + by, 0, std::max(0, v.pages - 1));
    if (page != v.page) {
        v.page = page;
        Changed(v);
    }
}

// The chosen item (the pause's), or the book's forward, back and close.
void Choose(OverlayView& v, int item) {
    if (v.kind == OverlayKind::kPause) {
        v.result = item;
        return;
    }
    if (item == 0) TurnPage(v, -1);
    if (item == 1) TurnPage(v, 1);
    if (item == 2) v.result = kResume;
}

void Back(OverlayView& v) {
    v.result = kResume;
}

void Confirm(OverlayView& v) {
    if (v.kind == OverlayKind::kPause)
        Choose(v, v.focus);
    else
        TurnPage(v, 1);
}

// Up and down move the pause's highlight; left and right turn the book's pages.
void Direction(OverlayView& v, int dx, int dy) {
    if (dy) MoveFocus(v, dy);
    if (dx) TurnPage(v, dx);
}

bool After(const OverlayView& v, Uint32 timestamp) {
    return !SDL_TICKS_PASSED(v.openedAt, timestamp);
}

}  // namespace

void AskOverlay(OverlayKind kind, bool automatic) {
    if (kind == OverlayKind::kNone) return;
    State& s = TheScreen();
    if (s.headless || s.messageBox || s.overlay) return;
    if (automatic && !platform::settings::CurrentSettings().pauseWhenAway) return;
    Asked& a = TheAsked();
    if (a.kind != OverlayKind::kNone) return;
    a.kind = kind;
    a.automatic = automatic;
}

OverlayKind TakeAskedOverlay(bool* automatic) {
    Asked& a = TheAsked();
    const Asked taken = a;
    a = Asked();
    if (automatic) *automatic = taken.automatic;
    return taken.kind;
}

void ClearAskedOverlay() {
    TheAsked() = Asked();
}

bool HelpBookHere() {
    for (const WindowObject* w : TheScreen().windows) {
        if (!w->visible || w->destroyed || !w->content.list) continue;
        for (const raster::DrawCmd& c : w->content.list->cmds)
            if (c.texture)
                for (const char* picture : kHelpScreens)
                    if (EndsWith(c.texture->file, picture)) return true;
    }
    return false;
}

int BookPages(int pictureWidth) {
    return std::clamp((pictureWidth + kBookStride - kBookPageW) / kBookStride, 0, 7);
}

void LayOutOverlay(OverlayView* v) {
    v->area = GameArea();
    const SDL_Rect& a = v->area;
    v->items.clear();
    if (v->kind == OverlayKind::kPause) {
        const int w = 300, h = 84 + kPauseItems * 46;
        v->panel = SDL_Rect{a.x + (a.w - w) / 2, a.y + (a.h - h) / 2, w, h};
        for (int i = 0; i < kPauseItems; ++i)
            v->items.push_back(SDL_Rect{v->panel.x + 30, v->panel.y + 70 + i * 46, w - 60, 36});
    } else {
        // The page where the game's own book shows it, with back, forward and close under it.
        if (const auto picture = platform::pictures::LoadPicture(kHelpPicture, 8192, 8192)) {
            v->book = NewSurface(picture->width, picture->height);
            if (v->book)
                for (int y = 0; y < picture->height; ++y)
                    std::memcpy(
                        static_cast<Uint8*>(v->book->pixels) + std::size_t(y) * std::size_t(v->book->pitch),
                        picture->pixels.get() + std::size_t(y) * std::size_t(picture->width),
                        std::size_t(picture->width) * 4);
            v->pages = v->book ? BookPages(picture->width) : 0;
            // The player's own keys on its key caps.
            if (v->book)
                PatchKeyCaps(kHelpPicture, static_cast<std::uint32_t*>(v->book->pixels), v->book->w,
                             v->book->h, v->book->pitch / 4);
            v->prompts = KeyPromptsVersion();
        } else {
            v->pages = 0;
        }
        v->page = std::clamp(v->page, 0, std::max(0, v->pages - 1));
        v->panel =
            SDL_Rect{a.x + (a.w - kBookPageW + 1) / 2, a.y + 2, kBookPageW, std::min(kBookPageH, a.h - 2)};
        // Back and forward in the margins beside the page, close above forward.
        const int side = std::max(40, std::min(120, v->panel.x - a.x - 20));
        v->items.push_back(SDL_Rect{a.x + 10, a.y + a.h / 2 - 20, side, 40});
        v->items.push_back(SDL_Rect{a.x + a.w - 10 - side, a.y + a.h / 2 - 20, side, 40});
        v->items.push_back(SDL_Rect{a.x + a.w - 10 - side, a.y + 10, side, 32});
    }
    Changed(*v);
}

void SetOverlay(OverlayView* view) {
    State& s = TheScreen();
    s.overlay = view;
    s.showWhole = true;
}

OverlayView* OpenOverlay() {
    return TheScreen().overlay;
}

void OverlayEvent(OverlayView& v, const SDL_Event& e) {
    const bool pad = TheScreen().controller != nullptr;
    switch (e.type) {
        case SDL_KEYDOWN:
            if (!After(v, e.key.timestamp)) break;
            switch (e.key.keysym.scancode) {
                case SDL_SCANCODE_UP:
                    Direction(v, 0, -1);
                    break;
                case SDL_SCANCODE_DOWN:
                case SDL_SCANCODE_TAB:
                    Direction(v, 0, 1);
                    break;
                case SDL_SCANCODE_LEFT:
                case SDL_SCANCODE_BACKSPACE:
                    Direction(v, -1, 0);
                    break;
                case SDL_SCANCODE_RIGHT:
                    Direction(v, 1, 0);
                    break;
                case SDL_SCANCODE_RETURN:
                case SDL_SCANCODE_KP_ENTER:
                case SDL_SCANCODE_SPACE:
                    if (!e.key.repeat) Confirm(v);
                    break;
                case SDL_SCANCODE_ESCAPE:
                case SDL_SCANCODE_PAUSE:
                case SDL_SCANCODE_P:
                case SDL_SCANCODE_F1:
                    if (!e.key.repeat) Back(v);
                    break;
                default:
                    break;
            }
            break;
        case SDL_MOUSEMOTION: {
            const SDL_Point p{e.motion.x, e.motion.y};
            if (v.kind == OverlayKind::kPause)
                for (int i = 0; i < int(v.items.size()); ++i)
                    if (SDL_PointInRect(&p, &v.items[std::size_t(i)]) && v.focus != i) {
                        v.focus = i;
                        Changed(v);
                    }
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT && After(v, e.button.timestamp)) v.mouseDownIn = true;
            break;
        case SDL_MOUSEBUTTONUP: {
            // A click (or a touch) is a press and a release after the overlay opened.
            if (e.button.button != SDL_BUTTON_LEFT || !v.mouseDownIn) break;
            v.mouseDownIn = false;
            const SDL_Point p{e.button.x, e.button.y};
            for (int i = 0; i < int(v.items.size()); ++i)
                if (SDL_PointInRect(&p, &v.items[std::size_t(i)])) {
                    Choose(v, i);
                    return;
                }
            // The book's page itself: its left half turns back, its right half forward.
            if (v.kind == OverlayKind::kHelp && SDL_PointInRect(&p, &v.panel))
                TurnPage(v, p.x < v.panel.x + v.panel.w / 2 ? -1 : 1);
            break;
        }
        case SDL_CONTROLLERBUTTONDOWN:
            if (!After(v, e.cbutton.timestamp)) break;
            switch (e.cbutton.button) {
                case SDL_CONTROLLER_BUTTON_DPAD_UP:
                    Direction(v, 0, -1);
                    break;
                case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
                    Direction(v, 0, 1);
                    break;
                case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
                case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
                    Direction(v, -1, 0);
                    break;
                case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
                case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
                    Direction(v, 1, 0);
                    break;
                case SDL_CONTROLLER_BUTTON_A:
                    Confirm(v);
                    break;
                case SDL_CONTROLLER_BUTTON_B:
                case SDL_CONTROLLER_BUTTON_START:
                case SDL_CONTROLLER_BUTTON_BACK:
                    Back(v);
                    break;
                default:
                    break;
            }
            break;
        case SDL_CONTROLLERAXISMOTION: {
            // A push of the stick past half way moves once; it must come back before it moves again.
            const int value = e.caxis.value;
            const int dir = value < -16384 ? -1 : value > 16384 ? 1 : 0;
            int* state = e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY   ? &v.stickY
                         : e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ? &v.stickX
                                                                     : nullptr;
            if (!state || dir == *state) break;
            *state = dir;
            if (dir && state == &v.stickY) Direction(v, 0, dir);
            if (dir && state == &v.stickX) Direction(v, dir, 0);
            break;
        }
        case SDL_JOYBUTTONDOWN:
            // A joystick SDL knows no mapping for: its first button chooses, its second goes back.
            if (pad || !After(v, e.jbutton.timestamp)) break;
            if (e.jbutton.button == 0) Confirm(v);
            if (e.jbutton.button == 1) Back(v);
            break;
        case SDL_JOYHATMOTION:
            if (pad) break;
            if (e.jhat.value & SDL_HAT_UP) Direction(v, 0, -1);
            if (e.jhat.value & SDL_HAT_DOWN) Direction(v, 0, 1);
            if (e.jhat.value & SDL_HAT_LEFT) Direction(v, -1, 0);
            if (e.jhat.value & SDL_HAT_RIGHT) Direction(v, 1, 0);
            break;
        default:
            break;
    }
}

void ShowNotice(const std::vector<std::string>& lines) {
    State& s = TheScreen();
    if (s.headless || lines.empty()) return;
    s.notice.assign(lines.begin(), lines.begin() + std::ptrdiff_t(std::min(lines.size(), kNoticeLines)));
    if (lines.size() > kNoticeLines)
        s.notice.push_back("... " + std::to_string(lines.size() - kNoticeLines) +
                           platform::locale::Translated(" more in the program's output"));
    s.notice.insert(s.notice.begin(), platform::locale::Translated("起動時に見つかった問題"));
    s.noticeUntil = SDL_GetTicks() + kNoticeMs;
}

std::vector<std::string> NoticeShown() {
    State& s = TheScreen();
    if (!s.notice.empty() && SDL_TICKS_PASSED(SDL_GetTicks(), s.noticeUntil)) s.notice.clear();
    return s.notice;
}

void EndNotice() {
    TheScreen().notice.clear();
}

void DrawNotice(SDL_Renderer* r, const std::vector<std::string>& lines) {
    State& s = TheScreen();
    const int size = ToDisplaySize(13), lineH = ToDisplaySize(19);
    int w = 0;
    for (const std::string& line : lines)
        if (const sdl::SurfacePtr t{RenderText(line, size, SDL_Color{0, 0, 0, 255}, false)})
            w = std::max(w, t->w);
    w = std::min(w + ToDisplaySize(28), s.displayW - ToDisplaySize(16));
    const int h = int(lines.size()) * lineH + ToDisplaySize(16);
    const SDL_Rect box{(s.displayW - w) / 2, ToDisplaySize(8), w, h};
    FillScreenRect(r, SDL_Rect{box.x + 4, box.y + 4, box.w, box.h}, 0x60000000);
    FillScreenRect(r, box, 0xFFFFF3C4);
    SDL_SetRenderDrawColor(r, 0xB0, 0x80, 0x10, 0xFF);
    SDL_RenderDrawRect(r, &box);
    SDL_RenderSetClipRect(r, &box);
    for (std::size_t i = 0; i < lines.size(); ++i)
        DrawTextAt(r, lines[i], size, SDL_Color{40, 30, 0, 255}, box.x + ToDisplaySize(14),
                   box.y + ToDisplaySize(8) + int(i) * lineH, i == 0);
    SDL_RenderSetClipRect(r, nullptr);
}

void DrawOverlay(SDL_Renderer* r, const OverlayView& v) {
    State& s = TheScreen();
    const SDL_Color ink{40, 40, 48, 255}, white{255, 255, 255, 255};
    // (The book's pages number themselves.)
    // The game stands still under a veil.
    FillScreenRect(r, SDL_Rect{0, 0, s.displayW, s.displayH}, 0xA0101018);
    if (v.kind == OverlayKind::kPause) {
        const SDL_Rect panel = ToDisplay(v.panel);
        FillScreenRect(r, ToDisplay(SDL_Rect{v.panel.x + 5, v.panel.y + 5, v.panel.w, v.panel.h}),
                       0x60000000);
        FillScreenRect(r, panel, 0xF0FFF8E8);
        DrawTextAt(r, platform::locale::Translated("一時停止"), ToDisplaySize(24), ink, panel.x,
                   ToDisplayY(v.panel.y + 18), true, panel.w);
        for (int i = 0; i < int(v.items.size()); ++i) {
            const SDL_Rect item = ToDisplay(v.items[std::size_t(i)]);
            const bool focused = i == v.focus;
            FillScreenRect(r, item, focused ? 0xFF2E64C8 : 0xFFECE6D6);
            DrawTextAt(r, platform::locale::Translated(PauseItemText(i)), ToDisplaySize(16),
                       focused ? white : ink, item.x, ToDisplayY(v.items[std::size_t(i)].y + 8), focused,
                       item.w);
        }
        return;
    }
    // The help book's page, as the picture draws it (the player's keys on its key caps).
    const SDL_Rect page = ToDisplay(v.panel);
    if (v.book && v.page < v.pages) {
        sdl::TexturePtr t(SDL_CreateTextureFromSurface(r, v.book.get()));
        if (t) {
            const SDL_Rect from{kBookStride * v.page, 0, kBookPageW, v.panel.h};
            SDL_SetTextureBlendMode(t.get(), SDL_BLENDMODE_BLEND);
            SDL_RenderCopy(r, t.get(), &from, &page);
        }
    } else {
        FillScreenRect(r, page, 0xF0FFF8E8);
        DrawTextAt(r, platform::locale::Translated("ヘルプの絵がありません"), ToDisplaySize(16), ink, page.x,
                   page.y + page.h / 2, false, page.w);
    }
    const char* labels[] = {"← 前へ", "次へ →", "Esc もどる"};
    for (std::size_t i = 0; i < v.items.size() && i < 3; ++i) {
        const bool live = (i == 0 && v.page > 0) || (i == 1 && v.page + 1 < v.pages) || i == 2;
        const SDL_Rect item = ToDisplay(v.items[i]);
        FillScreenRect(r, item, live ? 0xF0FFF8E8 : 0x60FFF8E8);
        DrawTextAt(r, platform::locale::Translated(labels[i]), ToDisplaySize(13), ink, item.x,
                   ToDisplayY(v.items[i].y + v.items[i].h / 2 - 8), false, item.w);
    }
}

}  // namespace platform::desktop
