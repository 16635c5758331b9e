// The run's clock: frames counted, the virtual time of headless runs, the seeds the game takes, the
// sound device's openings, and with --stats each frame's times.
#include "platform/replay/virtual_time.h"

#include "platform/common/owner.h"
#include "platform/replay/recording.h"
#include "platform/settings/settings.h"
#include "platform/runtime.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <time.h>
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

struct Clock {
    long frame = 0;
    std::uint32_t virtualNow = kTimerStart;  // the virtual clock of headless runs, in ms
    std::uint32_t frameTimer = 0;            // the timer as the current frame began
    std::uint64_t frameSerial = 0;           // the current frame's FrameSerial, 0 between frames
    std::size_t seedsTaken = 0;              // of the script's SEED lines
    std::uint64_t slept = 0;
    std::uint64_t sleptBeforeFrame = 0;  // slept at the start of the frame before
    long soundOpenings = 0;              // the sound device's openings tried in the run
    // With options.stats: clocks at the start of the current frame, and each frame's times, in ms.
    double cpuAtBegin = 0, wallAtBegin = 0;
    FrameTimes frameCpuMs;
    std::uint64_t lateFrames = 0;
    // A window run's time the game did not play, and what shows a stop of the whole program.
    std::uint32_t outOfTime = 0;  // ms taken out of the timer
    std::uint32_t realBegin = 0;  // SDL's ticks as the current frame began
    std::uint32_t realEnd = 0;    // and as the frame before ended (0: no frame yet)
    std::uint32_t boxMs = 0;      // message boxes' time in the current frame
    std::uint32_t stopMs = 0;     // a stop noticed and not yet taken
    // The game's pace in a window (the player's game speed, percent): the timer runs at it from
    // where it was when the speed was last changed.
    int speed = 100;
    std::uint32_t speedSinceReal = 0, speedSinceGame = 0;
};

// Frames begun in the program's life: a serial is never given twice, a run later either.
struct FramesEver {
    std::uint64_t count = 0;
};

Clock& TheClock() {
    return owner::Part<Clock>(owner::Life::Run);
}

double ClockMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The clock a frame's work is timed by: the process's CPU time, but in the browser and node, whose
// CPU clock stands still, the wall clock (their one thread runs nothing else while a frame runs).
#ifdef __EMSCRIPTEN__
constexpr clockid_t kWorkClock = CLOCK_MONOTONIC;
#else
constexpr clockid_t kWorkClock = CLOCK_PROCESS_CPUTIME_ID;
#endif

}  // namespace

std::uint32_t replay::WindowTicks() {
    Clock& c = TheClock();
    const std::uint32_t real = std::uint32_t(SDL_GetTicks()) - c.outOfTime;
    auto game = [&](std::uint32_t at) {
        return c.speedSinceGame +
               std::uint32_t(std::uint64_t(at - c.speedSinceReal) * unsigned(c.speed) / 100);
    };
    if (const int speed = GameSpeed(); speed != c.speed) {
        c.speedSinceGame = game(real);
        c.speedSinceReal = real;
        c.speed = speed;
        recording::SpeedChanged(speed);
    }
    return game(real);
}

int replay::GameSpeed() {
    // A headless run keeps its virtual time: its pace is the machine's.
    if (Options().headless) return 100;
    return std::clamp(settings::CurrentSettings().gameSpeed, 50, 100);
}

std::uint32_t replay::RealMsOf(std::uint32_t gameMs) {
    return std::uint32_t(std::uint64_t(gameMs) * 100 / unsigned(GameSpeed()));
}
void replay::TakeOutOfTime(std::uint32_t ms) {
    Clock& c = TheClock();
    c.outOfTime += ms;
    // The pause's own time is not a gap between frames either.
    if (c.realEnd != 0) c.realEnd += ms;
}
void replay::CountBoxTime(std::uint32_t ms) {
    TheClock().boxMs += ms;
}
std::uint32_t replay::TakeStop() {
    // A gap since the frame before far longer than a frame's sleep is a stop of the whole program.
    Clock& c = TheClock();
    if (c.realEnd != 0 && !Options().headless) {
        // (The game's quit question, asked between frames, keeps the clock running.)
        const std::uint32_t gap = std::uint32_t(SDL_GetTicks()) - c.realEnd;
        if (gap > c.boxMs && gap - c.boxMs > kStopBetweenFramesMs) {
            const std::uint32_t stopped = gap - c.boxMs - kFrameMs;
            c.outOfTime += stopped;
            c.stopMs += stopped;
            c.realEnd += stopped;
        }
    }
    const std::uint32_t stop = c.stopMs;
    c.stopMs = 0;
    return stop;
}

long replay::BeginFrameClock() {
    Clock& c = TheClock();
    const RuntimeOptions& options = Options();
#ifdef __EMSCRIPTEN__
    // In a browser the page is drawn, and its keys come in, only while the game gives the thread
    // back: a frame that took all its time and did not sleep still hands it over once.
    if (!options.headless && c.slept == c.sleptBeforeFrame && emscripten_has_asyncify()) emscripten_sleep(0);
    c.sleptBeforeFrame = c.slept;
#endif
    if (options.stats) {
        c.cpuAtBegin = ClockMs(kWorkClock);
        c.wallAtBegin = ClockMs(CLOCK_MONOTONIC);
    }
    ++c.frame;
    c.frameSerial = ++owner::Part<FramesEver>(owner::Life::Program).count;
    // The timer's reading for the whole frame: a headless run's moves as its script says, where it
    // says (a recorded run's frames took what they took); a window's is the real timer's now.
    const InputScript& script = options.script;
    if (options.headless && options.hasScript && script.HasTimes())
        c.virtualNow = c.frame == 1 ? script.TimerStart() : c.frameTimer + script.FrameMs(c.frame - 1);
    if (!options.headless) c.realBegin = SDL_GetTicks(), c.boxMs = 0;
    c.frameTimer = options.headless ? c.virtualNow : replay::WindowTicks();
    replay::recording::FrameBegins(c.frame, c.frameTimer);
    return c.frame;
}

void replay::EndFrameClock() {
    Clock& c = TheClock();
    const RuntimeOptions& options = Options();
    if (options.stats) {
        const double cpu = ClockMs(kWorkClock) - c.cpuAtBegin;
        const double wall = ClockMs(CLOCK_MONOTONIC) - c.wallAtBegin;
        c.frameCpuMs.Add(cpu);
        if ((options.headless ? cpu : wall) > double(RealMsOf(kFrameMs))) ++c.lateFrames;
    }
    c.frameSerial = 0;
    if (!options.headless) {
        const std::uint32_t now = SDL_GetTicks();
        // A frame that lasted far longer than any frame does outside its boxes: the program was stopped
        // in it. The next frame's timer leaves that out.
        const std::uint32_t took = now - c.realBegin;
        if (took > c.boxMs && took - c.boxMs > kStopInFrameMs) {
            const std::uint32_t stopped = took - c.boxMs - kFrameMs;
            c.outOfTime += stopped;
            c.stopMs += stopped;
        }
        c.realEnd = now;
        c.boxMs = 0;
    }
}

long CurrentFrame() {
    return TheClock().frame;
}

std::string FrameStatsReport() {
    const Clock& c = TheClock();
    const bool headless = Options().headless;
    const FrameTimes& cpu = c.frameCpuMs;
    std::string text = "stats: frames shown   " + std::to_string(cpu.Count()) + "\n";
    text += "stats: frames late    " + std::to_string(c.lateFrames) +
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
    const RuntimeOptions& options = Options();
    const std::vector<std::uint32_t>& seeds = options.script.Seeds();
    std::time_t now;
    if (options.hasSeed)
        now = std::time_t(options.seed);
    else if (options.hasScript && !seeds.empty())
        now = std::time_t(seeds[std::min(TheClock().seedsTaken++, seeds.size() - 1)]);
    else
        now = std::time(nullptr);
    replay::recording::SeedTaken(std::uint32_t(now));
    return now;
}

std::uint64_t TotalSleptMs() {
    return TheClock().slept;
}
void AdvanceVirtualTime(std::uint32_t ms) {
    TheClock().virtualNow += ms;
}
std::uint32_t replay::VirtualNow() {
    return TheClock().virtualNow;
}
void replay::CountSleep(std::uint32_t ms) {
    TheClock().slept += ms;
}
std::uint64_t replay::FrameSerial() {
    return TheClock().frameSerial;
}
std::uint32_t replay::FrameTimer() {
    return TheClock().frameTimer;
}

bool replay::SoundOpeningAllowed(long* opening) {
    *opening = ++TheClock().soundOpenings;
    const RuntimeOptions& options = Options();
    return !(options.hasScript && options.script.SoundOpeningFails(*opening));
}
void replay::SoundOpeningFailed(long opening) {
    replay::recording::SoundFailed(opening);
}

}  // namespace platform
