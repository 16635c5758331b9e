// Message boxes: MessageBoxA lays the box out and runs its own loop until it is answered (by the
// script when headless), and the keys and clicks that answer it.
#include "platform/desktop/desktop.h"
#include "platform/runtime.h"
#include "platform/locale/language.h"
#include "platform/common/owner.h"
#include "platform/common/sdl_handles.h"
#include "platform/replay/recording.h"
#include "platform/replay/virtual_time.h"

#include <algorithm>
#include <cstdio>

namespace sdl = platform::sdl;

namespace desktop = platform::desktop;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    desktop::MessageBoxView view;
    // The game's words, as it wrote them (for the record and the log), and as the player reads them
    // in the run's language.
    const std::string gameText = text ? text : "", gameCaption = caption ? caption : "エラー";
    view.text = platform::locale::Translated(gameText);
    view.caption = platform::locale::Translated(gameCaption);
    view.type = type;
    std::vector<int> results;
    switch (type & 0x0F) {
        case MB_YESNO:
            results = {IDYES, IDNO};
            break;
        case MB_OKCANCEL:
            results = {IDOK, IDCANCEL};
            break;
        default:
            results = {IDOK};
            break;
    }
    int result = 0;
    const long frame = platform::CurrentFrame();
    const bool unseen = !desktop::Headless() && !desktop::CanDrawScreen();
    if (unseen) {
        // Nothing can show the box: it is said on the standard error instead, and takes its default
        // answer (No, Cancel, or its only button) rather than wait for an answer nobody can give.
        std::fprintf(stderr,
                     "rushmora: the screen cannot be drawn, so this message box cannot be shown: \"%s\" / "
                     "\"%s\"; it takes its default answer\n",
                     view.caption.c_str(), view.text.c_str());
    }
    if (desktop::Headless() || unseen) {
        // Answered by the script; unanswered boxes take No, or their only button.
        int answer =
            platform::Options().hasScript && !unseen ? platform::Options().script.AnswerAt(frame) : 0;
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
        int textW = int(view.text.size()) * 7;
        if (const sdl::SurfacePtr t{desktop::RenderText(view.text, 14, SDL_Color{0, 0, 0, 255})})
            textW = t->w;
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
        // The game's question keeps its clock running; this is no stop of the program.
        platform::replay::CountBoxTime(SDL_GetTicks() - view.openedAt);
        desktop::SetMessageBox(below);
        // The key or pad button that answered (and any other still down) is the box's, not the game's.
        desktop::HoldKeysDownNow();
        desktop::HoldPadButtonsDownNow();
        if (quit) PostQuitMessage(quitCode);
    }
    platform::RecordMessageBox({gameText, gameCaption, type, result, frame});
    std::fprintf(stderr, "rushmora: message box \"%s\" / \"%s\" answered %s\n", gameCaption.c_str(),
                 gameText.c_str(),
                 result == IDYES      ? "Yes"
                 : result == IDNO     ? "No"
                 : result == IDCANCEL ? "Cancel"
                                      : "OK");
    return result;
}

namespace platform {
namespace {

// The run's message boxes: how many, and the last kKeptMessageBoxes of them.
struct Boxes {
    std::vector<MessageBoxRecord> kept;
    std::uint64_t count = 0;
};

Boxes& TheBoxes() {
    return owner::Part<Boxes>(owner::Life::Run);
}

}  // namespace

const std::vector<MessageBoxRecord>& MessageBoxes() {
    return TheBoxes().kept;
}
std::uint64_t MessageBoxCount() {
    return TheBoxes().count;
}
void RecordMessageBox(const MessageBoxRecord& record) {
    Boxes& b = TheBoxes();
    if (b.kept.size() >= kKeptMessageBoxes) b.kept.erase(b.kept.begin());
    b.kept.push_back(record);
    ++b.count;
    platform::replay::recording::BoxAnswered(record.frame, record.result);
}

}  // namespace platform
