// The program: reads the command line, sets the platform up, and runs the game.
#include "harness/cli.h"
#include "harness/state_dump.h"
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
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (cl.version) {
        std::printf("rushmora %s\n", RUSHMORA_VERSION);
        return 0;
    }
    int exitCode = 1;
    if (!platform::Start(cl.runtime, &error, &exitCode)) {
        std::fprintf(stderr, "rushmora: %s\n", error.c_str());
        return exitCode;
    }
    SetStartRequest(cl.start);
    const int result = WinMain(GetModuleHandleA(nullptr), nullptr, argv[0], SW_SHOWDEFAULT);
    if (cl.dumpState) std::printf("%s\n", DumpState().c_str());
    if (cl.runtime.stats) std::fputs(platform::FrameStatsReport().c_str(), stderr);
    platform::Stop();
    return result;
}
