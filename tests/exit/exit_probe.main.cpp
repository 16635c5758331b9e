// A program that plays the game the way a careless caller would: it starts the platform, runs the
// game with its music and effects, and returns from main without platform::Stop. Whatever the sound
// device's thread can reach must outlive the program's objects (tools/soak runs it under the
// sanitizers; a test runs it a few times and wants exit status 0).
#include "harness/cli.h"
#include "platform/runtime.h"
#include "shell/win_main.h"

#include <cstdio>

int main(int argc, char** argv) {
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(argc, argv, &cl, &error)) {
        std::fprintf(stderr, "rushmora_exit_probe: %s\n", error.c_str());
        return 2;
    }
    int exitCode = 1;
    if (!platform::Start(cl.runtime, &error, &exitCode)) {
        std::fprintf(stderr, "rushmora_exit_probe: %s\n", error.c_str());
        return exitCode;
    }
    SetStartRequest(cl.start);
    return WinMain(GetModuleHandleA(nullptr), nullptr, argv[0], SW_SHOWDEFAULT);
}
