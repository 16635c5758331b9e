#include "platform/runtime.h"
#include "platform/common/owner.h"
#include "platform/common/run_state.h"
#include "platform/common/text.h"
#include "platform/files/file_handle.h"
#include "platform/locale/language.h"
#include "platform/settings/settings.h"
#include "platform/replay/virtual_time.h"

#include "platform/desktop/desktop.h"
#include "platform/win32/win32_internal.h"
#include "platform/mmsystem.h"
#include "platform/replay/recording.h"
#include "platform/desktop/screenshot.h"
#include "platform/desktop/overlay.h"
#include "platform/run/pause.h"
#include "platform/audio/audio_mixer.h"

#include <SDL.h>

#include <csignal>
#include <filesystem>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

struct Runtime {
    bool started = false;
    std::vector<std::function<void()>> frameEndHooks;
    std::vector<std::function<void()>> runEndHooks;
};

Runtime& TheRuntime() {
    return owner::Part<Runtime>(owner::Life::Run);
}

bool IsDir(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CurrentFolder() {
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return error ? std::string() : files::Utf8OfPath(here);
}

// What a player can do about a missing data folder.
#ifdef _WIN32
constexpr const char* kDataAdvice =
    ". Unpack the whole zip (not just rushmora.exe) and start rushmora.exe in the folder it makes";
#else
constexpr const char* kDataAdvice = "";
#endif

// The data folder: next to the program, the installed share folder, or the source tree's (a
// developer's build only).
std::string FindDataDir(std::string* looked) {
    std::vector<std::string> candidates;
    if (char* base = SDL_GetBasePath()) {
        std::string b = base;
        SDL_free(base);
        candidates.push_back(b + "data");
#ifndef _WIN32
        candidates.push_back(b + "../share/rushmora");  // an install's bin/ beside its share/
#endif
    }
#ifdef RUSHMORA_INSTALL_DATA_DIR
    candidates.push_back(RUSHMORA_INSTALL_DATA_DIR);
#endif
#ifdef RUSHMORA_SOURCE_DATA_DIR
    candidates.push_back(RUSHMORA_SOURCE_DATA_DIR);
#endif
    for (const std::string& c : candidates) {
        if (!looked->empty()) *looked += ", ";
        *looked += c;
        if (IsDir(c + "/Texture")) return c;
    }
    return "";
}

// The start-up warnings the player must see, in one box (RuntimeOptions::warningsInBox).
void ShowPlayerWarnings() {
    std::string text;
    for (const std::string& w : TakePlayerWarnings()) text += (text.empty() ? "" : "\n\n") + w;
    if (!text.empty()) desktop::ShowStartWarnings(text);
}

}  // namespace

bool Start(const RuntimeOptions& options, std::string* error, int* exitCode) {
#ifdef SIGPIPE
    // Output into a pipe that was closed (`--dump-state | head -c 10`) fails as a write that can be
    // told of, instead of ending the program without a word.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    // Every run begins anew: what the run before kept (its options, warnings, clock, screen, ...)
    // ends here.
    owner::EndRun();
    Runtime& r = TheRuntime();
    RuntimeOptions& runOptions = SetRunOptions(options);
    if (!options.gameKeys.empty()) UseGameKeys(options.gameKeys);
    // The player's settings; the command line goes first. A replay's screen stays its own.
    settings::LoadSettings(options.settingsFile, options.headless);
    // The language: the command line's, else the player's in a window; a replay stays Japanese.
    locale::SetLanguage(!options.language.empty() ? options.language
                        : options.headless        ? std::string(kJapanese)
                                                  : settings::CurrentSettings().language);
    if (!options.headless) {
        const settings::Settings& settings = settings::CurrentSettings();
        if (runOptions.scale <= 0) runOptions.scale = settings.scale;
        if (runOptions.windowWidth <= 0 && settings.windowWidth > 0 && !desktop::OnHandheld()) {
            runOptions.windowWidth = settings.windowWidth;
            runOptions.windowHeight = settings.windowHeight;
        }
    }
    // The data folder first: the screen's start-up already shows texts of the language folder.
    std::string dir = options.dataDir, looked;
    if (dir.empty()) dir = FindDataDir(&looked);
    const bool noData = dir.empty() || chdir(dir.c_str()) != 0;
    if (noData)
        WarnPlayer("data folder not found (looked in " + (looked.empty() ? options.dataDir : looked) +
                   "); the game runs without its pictures and sounds" + kDataAdvice);
    else
        files::SetDataFolder(CurrentFolder());  // a relative --data named it from where the run began
    // The Windows program alone, out of its folder, has neither pictures nor font: once its box has
    // said so, there is nothing to play, and a game with no text could not even ask to be closed.
    if (noData && runOptions.warningsInBox && !runOptions.headless) {
        ShowPlayerWarnings();
        *error = "data folder not found";
        *exitCode = 1;
        return false;
    }
    // A run played slower than the game's pace replays the same, but is told apart.
    if (options.hasScript && options.script.LowestSpeed() < 100)
        std::fprintf(stderr, "rushmora: this run was played at %d %% of the game's speed\n",
                     options.script.LowestSpeed());
    if (!desktop::Init(runOptions, error, exitCode)) return false;
    r.started = true;
    replay::recording::Start(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                             desktop::JoystickPresent());
    if (!runOptions.headless) {
        // The font is looked for now, so that its absence is told with the rest.
        desktop::LookForFont();
        if (runOptions.warningsInBox) {
            ShowPlayerWarnings();
        } else {
            std::vector<std::string> warnings = TakePlayerWarnings();
            if (!warnings.empty()) desktop::ShowNotice(warnings);
        }
    }
    return true;
}

void Stop() {
    Runtime& r = TheRuntime();
    if (!r.started) return;
    r.frameEndHooks.clear();
    std::vector<std::function<void()>> atEnd;
    atEnd.swap(r.runEndHooks);
    for (auto& hook : atEnd) hook();
    // A window the player resized, moved or switched comes back so at the next start.
    if (!Options().headless)
        desktop::KeepWindowForNextStart(!Options().settingsFile.empty() ? Options().settingsFile
                                                                        : settings::PlayerSettingsFile());
    // The windows' classes, messages and cursors go before the screen and SDL.
    win32::ResetWindowing();
    desktop::Shutdown();
    r.started = false;
}

void FrameBegin() {
    // The game stands still here while the pause or the help book is shown.
    ShowAskedOverlays();
    const long frame = replay::BeginFrameClock();
    const RuntimeOptions& options = Options();
    if (options.hasScript && options.script.CloseAt(frame)) {
        // As a window manager's close button would: the top window is asked to close.
        if (WindowObject* w = desktop::TopEnabledWindow()) {
            PostMessageA(w, WM_CLOSE, 0, 0);
            replay::recording::CloseAsked();
        }
    }
}

namespace {

// A wave file as the game opened it and as a table names it: the same file in the data folder
// whichever way its separators lean and its Latin letters are written ("SE\\Eva.WAV", "SE/eva.wav"),
// also opened by a longer path.
bool SameSound(const std::string& opened, const std::string& named) {
    const std::string a = text::PlainDataName(opened), b = text::PlainDataName(named);
    return a == b || (a.size() > b.size() && a.compare(a.size() - b.size(), b.size(), b) == 0 &&
                      a[a.size() - b.size() - 1] == '/');
}

}  // namespace

void RumbleWithSounds(const std::vector<SoundRumble>& rumbles) {
    // The sounds the game started in the frame, by their wave files: the pad rumbles with some.
    for (const std::string& sound : audio::TakeSoundsStarted())
        for (const SoundRumble& rumble : rumbles)
            if (rumble.sound && SameSound(sound, rumble.sound))
                desktop::Rumble(rumble.strength, rumble.milliseconds);
}

void FrameEnd() {
    const RuntimeOptions& options = Options();
    const long frame = CurrentFrame();
    RumbleWithSounds(options.rumbles);
    // Where the screen shows the windows this frame (calmer with reduce motion), before any picture
    // of it is taken.
    desktop::SettleWindows();
    for (const Screenshot& s : options.screenshots)
        if (std::string why; s.frame == frame && !SaveScreenPng(s.file, &why))
            OutputFailed("cannot write the screenshot " + s.file + (why.empty() ? "" : ": " + why));
    desktop::ShowFrame();
    for (auto& hook : TheRuntime().frameEndHooks) hook();
    replay::EndFrameClock();
    if (options.frames >= 0 && frame >= options.frames) PostQuitMessage(0);
}

void AddFrameEndHook(std::function<void()> hook) {
    TheRuntime().frameEndHooks.push_back(std::move(hook));
}

void AddRunEndHook(std::function<void()> hook) {
    TheRuntime().runEndHooks.push_back(std::move(hook));
}

bool SaveScreenPng(const std::string& file, std::string* why) {
    return desktop::SaveScreen(file, why);
}
bool ComposeScreen() {
    return desktop::ComposeToSurface() != nullptr;
}
bool SaveBackBufferPng(IDirect3DDevice9* device, const std::string& file, std::string* why) {
    return desktop::SaveBackBuffer(device, file, why);
}

}  // namespace platform
