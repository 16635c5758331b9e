// The pause and the help book, between two frames: the game runs no frame, its timer and its sound
// stand still, and what the player chose is carried out as the game would have it done (Back to the
// title is the game's own Escape, Quit its own close button).
#include "platform/run/pause.h"
#include "platform/runtime.h"

#include "platform/audio/audio_mixer.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/key_prompts.h"
#include "platform/desktop/overlay.h"
#include "platform/replay/recording.h"
#include "platform/replay/virtual_time.h"
#include "platform/settings/settings.h"
#include "platform/shellapi.h"
#include "platform/win32.h"

#include <SDL.h>

namespace platform {
namespace {

namespace desktop = platform::desktop;

// The settings program, beside the game (as the option screen starts it).
constexpr const char* kSettingsProgram = "KeyConfig1.exe";

void RunOverlay(desktop::OverlayKind kind, bool automatic) {
    desktop::OverlayView view;
    view.kind = kind;
    view.automatic = automatic;
    desktop::LayOutOverlay(&view);
    const Uint32 began = SDL_GetTicks();
    view.openedAt = began;
    audio::Hold(true);
    desktop::SetOverlay(&view);
    bool settingsStarted = false;
    for (;;) {
        desktop::PumpEvents();
        if (view.result == desktop::kSettings) {
            // The settings program opens beside the paused game; what it saves is read as the game goes on.
            ShellExecuteA(nullptr, "open", kSettingsProgram, nullptr, nullptr, SW_SHOWNORMAL);
            settingsStarted = true;
            view.result = -1;
        }
        if (view.result >= 0) break;
        // The help book's key caps follow the player's last input too (a pad picked up meanwhile).
        if (view.kind == desktop::OverlayKind::kHelp && view.prompts != desktop::KeyPromptsVersion())
            desktop::LayOutOverlay(&view);
        desktop::ShowFrame();
        SDL_Delay(10);
    }
    desktop::SetOverlay(nullptr);
    // What was pressed to leave is the pause's, not the game's.
    desktop::HoldKeysDownNow();
    desktop::HoldPadButtonsDownNow();
    if (settingsStarted) {
        settings::LoadSettings(Options().settingsFile, false);
        desktop::RefreshKeyPrompts();
    }
    audio::Hold(false);
    // The game saw no time pass.
    replay::TakeOutOfTime(SDL_GetTicks() - began);
    if (kind != desktop::OverlayKind::kPause) return;
    if (view.result == desktop::kBackToTitle) desktop::OweEscape();
    if (view.result == desktop::kQuit) {
        if (WindowObject* w = desktop::TopEnabledWindow()) {
            PostMessageA(w, WM_CLOSE, 0, 0);
            replay::recording::CloseAsked();
        }
    }
}

}  // namespace

void ShowAskedOverlays() {
    if (Options().headless) return;
    // The whole program was stopped (a closed lid, a hidden page): the player comes back to a pause.
    if (replay::TakeStop() > 0) desktop::AskOverlay(desktop::OverlayKind::kPause, true);
    bool automatic = false;
    const desktop::OverlayKind kind = desktop::TakeAskedOverlay(&automatic);
    if (kind != desktop::OverlayKind::kNone) RunOverlay(kind, automatic);
}

}  // namespace platform
