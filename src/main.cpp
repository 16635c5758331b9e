// The program: reads the command line, sets the platform up, and runs the game.
#include "actions/actions.h"
#include "harness/cli.h"
#include "harness/state_dump.h"
#include "platform/runtime.h"
#include "shell/win_main.h"

#include <cstdio>

int main(int argc, char** argv) {
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(argc, argv, &cl, &error)) {
        std::fprintf(stderr, "rushmora: %s\n", error.c_str());
        return 2;
    }
    if (cl.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (cl.version) {
        std::printf("rushmora %s\n", RUSHMORA_VERSION);
        return 0;
    }
#ifdef RUSHMORA_WINDOWED
    // Started from Explorer, nobody reads this program's messages: what the player must know of
    // the start-up is shown in a box too.
    cl.runtime.warningsInBox = true;
#endif
    for (const std::string& warning : cl.warnings) std::fprintf(stderr, "rushmora: %s\n", warning.c_str());
    // The keys the player may move are the game's actions.
    cl.runtime.gameKeys = GameActions();
    cl.runtime.rumbles = GameRumbles();
    cl.runtime.calmPictures = GameCalmPictures();
    int exitCode = 1;
    if (!platform::Start(cl.runtime, &error, &exitCode)) {
        std::fprintf(stderr, "rushmora: %s\n", error.c_str());
        return exitCode;
    }
    // A window's screen is known only now: a replay made for another one is told of, as a headless
    // run's is when its command line is read.
    if (!cl.runtime.headless) {
        const std::string warning =
            ScreenWarning(cl.runtime, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        if (!warning.empty()) std::fprintf(stderr, "rushmora: %s\n", warning.c_str());
    }
    SetStartRequest(cl.start);
    int result = WinMain(GetModuleHandleA(nullptr), nullptr, argv[0], SW_SHOWDEFAULT);
    if (cl.dumpState &&
        (std::printf("%s\n", DumpState().c_str()) < 0 || std::fflush(stdout) != 0 || std::ferror(stdout)))
        platform::OutputFailed("cannot write the state dump to standard output");
    if (cl.runtime.stats) std::fputs(platform::FrameStatsReport().c_str(), stderr);
    platform::Stop();
    // The game ends its start-up without a frame only when it failed (its graphics device): it said
    // why in a box, and the program's status says so too.
    if (result == 0 && platform::CurrentFrame() == 0) result = 1;
    // Everything asked for was written, or the run says it was not.
    if (result == 0 && platform::AnyOutputFailed()) result = 1;
    return result;
}
