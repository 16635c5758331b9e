#include "platform/runtime.h"
#include "platform/files/file_handle.h"
#include "platform/locale/language.h"
#include "platform/settings/settings.h"
#include "platform/replay/virtual_time.h"

#include "platform/desktop/desktop.h"
#include "platform/mmsystem.h"
#include "platform/replay/recording.h"
#include "platform/desktop/screenshot.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <cstdio>
#include <set>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace platform {
namespace {

// The CPU times of the frames, in memory that does not grow with the run: counted by the microsecond
// up to 20 ms and by the tenth of a millisecond up to a second, the rest above that; the worst exact.
class FrameTimes {
  public:
    void Clear() { *this = FrameTimes(); }
    void Add(double ms) {
        ++count_;
        worst_ = std::max(worst_, ms);
        if (ms < 0) ms = 0;
        if (ms < kFineMs)
            ++fine_[std::size_t(ms * 1000.0)];
        else if (ms < kCoarseMs)
            ++coarse_[std::size_t((ms - kFineMs) * 10.0)];
    }
    std::uint64_t Count() const { return count_; }
    double Worst() const { return worst_; }
    // Nearest rank: the smallest time that at least the share of the frames does not exceed (to the
    // microsecond, or the tenth of a millisecond over 20 ms).
    double Rank(double share) const {
        std::uint64_t k = std::uint64_t(std::ceil(share * double(count_)));
        if (k == 0) k = 1;
        std::uint64_t seen = 0;
        for (std::size_t i = 0; i < fine_.size(); ++i)
            if ((seen += fine_[i]) >= k) return std::min(worst_, double(i) / 1000.0);
        for (std::size_t i = 0; i < coarse_.size(); ++i)
            if ((seen += coarse_[i]) >= k) return std::min(worst_, kFineMs + double(i) / 10.0);
        return worst_;
    }

  private:
    static constexpr double kFineMs = 20.0, kCoarseMs = 1000.0;
    std::vector<std::uint32_t> fine_ = std::vector<std::uint32_t>(std::size_t(kFineMs * 1000.0));
    std::vector<std::uint32_t> coarse_ =
        std::vector<std::uint32_t>(std::size_t((kCoarseMs - kFineMs) * 10.0));
    std::uint64_t count_ = 0;
    double worst_ = 0;
};

struct Runtime {
    RuntimeOptions options;
    bool started = false;
    long frame = 0;
    std::uint32_t virtualNow = kTimerStart;  // the virtual clock of headless runs, in ms
    std::uint32_t frameTimer = 0;            // the timer as the current frame began
    std::uint64_t frameSerial = 0;           // the current frame's FrameSerial, 0 between frames
    std::uint64_t framesEver = 0;            // frames begun in the program's life
    std::size_t seedsTaken = 0;              // of the script's SEED lines
    std::uint64_t slept = 0;
    std::uint64_t sleptBeforeFrame = 0;  // slept at the start of the frame before
    std::vector<std::function<void()>> frameEndHooks;
    std::vector<std::function<void()>> runEndHooks;
    bool outputFailed = false;
    std::vector<MessageBoxRecord> boxes;  // the last kKeptMessageBoxes
    std::uint64_t boxCount = 0;
    std::set<std::string> warned;
    std::vector<std::string> playerWarnings;  // for the start-up box
    std::string dataFolder;                   // where the run found its data ("" without one)
    long soundOpenings = 0;                   // the sound device's openings tried in the run
    // With options.stats: clocks at the start of the current frame, and each frame's times, in ms.
    double cpuAtBegin = 0, wallAtBegin = 0;
    FrameTimes frameCpuMs;  // with --stats
    std::uint64_t lateFrames = 0;
};

Runtime& R() {
    static Runtime r;
    return r;
}

double ClockMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

bool IsDir(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CurrentFolder() {
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return error ? std::string() : Utf8OfPath(here);
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
    Runtime& r = R();
    if (r.playerWarnings.empty()) return;
    std::string text;
    for (const std::string& w : r.playerWarnings) text += (text.empty() ? "" : "\n\n") + w;
    desktop::ShowStartWarnings(text);
    r.playerWarnings.clear();
}

}  // namespace

bool Start(const RuntimeOptions& options, std::string* error, int* exitCode) {
    Runtime& r = R();
#ifdef SIGPIPE
    // Output into a pipe that was closed (`--dump-state | head -c 10`) fails as a write that can be
    // told of, instead of ending the program without a word.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    // Every run begins anew (its warnings too), but for the count of frames of the program's life,
    // which keeps FrameSerial from ever giving a number twice.
    const std::uint64_t framesEver = r.framesEver;
    r = Runtime();
    r.framesEver = framesEver;
    r.options = options;
    if (!options.gameKeys.empty()) UseGameKeys(options.gameKeys);
    // The player's settings; the command line goes first. A replay's screen stays its own.
    LoadSettings(options.settingsFile, options.headless);
    // The language: the command line's, else the player's in a window; a replay stays Japanese.
    SetLanguage(!options.language.empty() ? options.language
                : options.headless        ? std::string("ja")
                                          : CurrentSettings().language);
    if (!options.headless) {
        const Settings& settings = CurrentSettings();
        if (r.options.scale <= 0) r.options.scale = settings.scale;
        if (r.options.windowWidth <= 0 && settings.windowWidth > 0) {
            r.options.windowWidth = settings.windowWidth;
            r.options.windowHeight = settings.windowHeight;
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
        r.dataFolder = CurrentFolder();  // a relative --data named it from where the run began
    // The Windows program alone, out of its folder, has neither pictures nor font: once its box has
    // said so, there is nothing to play, and a game with no text could not even ask to be closed.
    if (noData && r.options.warningsInBox && !r.options.headless) {
        ShowPlayerWarnings();
        *error = "data folder not found";
        *exitCode = 1;
        return false;
    }
    if (!desktop::Init(r.options, error, exitCode)) return false;
    r.started = true;
    recording::Start(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                     desktop::JoystickPresent());
    if (r.options.warningsInBox && !r.options.headless) {
        // The font is looked for now, so that its absence is told with the rest.
        desktop::LookForFont();
        ShowPlayerWarnings();
    }
    return true;
}

void Stop() {
    Runtime& r = R();
    if (!r.started) return;
    r.frameEndHooks.clear();
    std::vector<std::function<void()>> atEnd;
    atEnd.swap(r.runEndHooks);
    for (auto& hook : atEnd) hook();
    desktop::Shutdown();
    r.started = false;
}

const std::string& DataFolder() {
    return R().dataFolder;
}

const RuntimeOptions& Options() {
    return R().options;
}
bool Headless() {
    return R().options.headless;
}

void FrameBegin() {
    Runtime& r = R();
#ifdef __EMSCRIPTEN__
    // In a browser the page is drawn, and its keys come in, only while the game gives the thread
    // back: a frame that took all its time and did not sleep still hands it over once.
    if (!r.options.headless && r.slept == r.sleptBeforeFrame && emscripten_has_asyncify())
        emscripten_sleep(0);
    r.sleptBeforeFrame = r.slept;
#endif
    if (r.options.stats) {
        r.cpuAtBegin = ClockMs(CLOCK_PROCESS_CPUTIME_ID);
        r.wallAtBegin = ClockMs(CLOCK_MONOTONIC);
    }
    ++r.frame;
    r.frameSerial = ++r.framesEver;
    // The timer's reading for the whole frame: a headless run's moves as its script says, where it
    // says (a recorded run's frames took what they took); a window's is the real timer's now.
    const InputScript& script = r.options.script;
    if (r.options.headless && r.options.hasScript && script.HasTimes())
        r.virtualNow = r.frame == 1 ? script.TimerStart() : r.frameTimer + script.FrameMs(r.frame - 1);
    r.frameTimer = r.options.headless ? r.virtualNow : std::uint32_t(SDL_GetTicks());
    recording::FrameBegins(r.frame, r.frameTimer);
    if (r.options.hasScript && script.CloseAt(r.frame)) {
        // As a window manager's close button would: the top window is asked to close.
        if (WindowObject* w = desktop::TopEnabledWindow()) {
            PostMessageA(w, WM_CLOSE, 0, 0);
            recording::CloseAsked();
        }
    }
}

void FrameEnd() {
    Runtime& r = R();
    for (const Screenshot& s : r.options.screenshots)
        if (std::string why; s.frame == r.frame && !SaveScreenPng(s.file, &why))
            OutputFailed("cannot write the screenshot " + s.file + (why.empty() ? "" : ": " + why));
    desktop::ShowFrame();
    for (auto& hook : r.frameEndHooks) hook();
    if (r.options.stats) {
        const double cpu = ClockMs(CLOCK_PROCESS_CPUTIME_ID) - r.cpuAtBegin;
        const double wall = ClockMs(CLOCK_MONOTONIC) - r.wallAtBegin;
        r.frameCpuMs.Add(cpu);
        if ((r.options.headless ? cpu : wall) > double(kFrameMs)) ++r.lateFrames;
    }
    if (r.options.frames >= 0 && r.frame >= r.options.frames) PostQuitMessage(0);
    r.frameSerial = 0;
}

long CurrentFrame() {
    return R().frame;
}
void AddFrameEndHook(std::function<void()> hook) {
    R().frameEndHooks.push_back(std::move(hook));
}

std::string FrameStatsReport() {
    const Runtime& r = R();
    const bool headless = r.options.headless;
    const FrameTimes& cpu = r.frameCpuMs;
    std::string text = "stats: frames shown   " + std::to_string(cpu.Count()) + "\n";
    text += "stats: frames late    " + std::to_string(r.lateFrames) +
            (headless ? " (CPU time over 16 ms; a headless run keeps virtual time)\n"
                      : " (over 16 ms of wall time from the start to the end of the frame)\n");
    if (cpu.Count() == 0) return text + "stats: CPU per frame  no frames\n";
    char line[160];
    std::snprintf(line, sizeof line,
                  "stats: CPU per frame  median %.3f ms, 99th percentile %.3f ms, worst %.3f ms\n",
                  cpu.Rank(0.5), cpu.Rank(0.99), cpu.Worst());
    return text + line;
}

std::time_t CalendarTime() {
    // The command line's seed, else the script's in turn (its last one again after them), else the
    // clock; a recording keeps what the game got.
    Runtime& r = R();
    const std::vector<std::uint32_t>& seeds = r.options.script.Seeds();
    std::time_t now;
    if (r.options.hasSeed)
        now = std::time_t(r.options.seed);
    else if (r.options.hasScript && !seeds.empty())
        now = std::time_t(seeds[std::min(r.seedsTaken++, seeds.size() - 1)]);
    else
        now = std::time(nullptr);
    recording::SeedTaken(std::uint32_t(now));
    return now;
}

std::uint64_t TotalSleptMs() {
    return R().slept;
}
void AdvanceVirtualTime(std::uint32_t ms) {
    R().virtualNow += ms;
}
std::uint32_t VirtualNow() {
    return R().virtualNow;
}
void CountSleep(std::uint32_t ms) {
    R().slept += ms;
}
std::uint64_t FrameSerial() {
    return R().frameSerial;
}
bool SoundOpeningAllowed(long* opening) {
    Runtime& r = R();
    *opening = ++r.soundOpenings;
    return !(r.options.hasScript && r.options.script.SoundOpeningFails(*opening));
}

void SoundOpeningFailed(long opening) {
    recording::SoundFailed(opening);
}

std::uint32_t FrameTimer() {
    return R().frameTimer;
}

const std::vector<MessageBoxRecord>& MessageBoxes() {
    return R().boxes;
}
std::uint64_t MessageBoxCount() {
    return R().boxCount;
}
void RecordMessageBox(const MessageBoxRecord& record) {
    std::vector<MessageBoxRecord>& boxes = R().boxes;
    if (boxes.size() >= kKeptMessageBoxes) boxes.erase(boxes.begin());
    boxes.push_back(record);
    ++R().boxCount;
    recording::BoxAnswered(record.frame, record.result);
}

void Warn(const std::string& message) {
    if (!R().warned.insert(message).second) return;
    std::fprintf(stderr, "rushmora: %s\n", message.c_str());
}

void WarnPlayer(const std::string& message) {
    Runtime& r = R();
    if (r.warned.count(message)) return;
    Warn(message);
    if (r.options.warningsInBox && !r.options.headless) r.playerWarnings.push_back(message);
}

void OutputFailed(const std::string& message) {
    R().outputFailed = true;
    Warn(message);
}
bool AnyOutputFailed() {
    return R().outputFailed;
}
void AddRunEndHook(std::function<void()> hook) {
    R().runEndHooks.push_back(std::move(hook));
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
