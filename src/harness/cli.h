// The command line of the game: how tests, replays and players set a run up.
#pragma once

#include "platform/runtime.h"
#include "shell/start_scene.h"

#include <string>
#include <vector>

struct CommandLine {
    platform::RuntimeOptions runtime;
    StartRequest start;
    bool dumpState = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> warnings;  // things to say before the run that do not stop it
};

// Parses argv; on a mistake returns false with a message naming what is wrong.
bool ParseCommandLine(int argc, const char* const* argv, CommandLine* out, std::string* error);
// What --help prints: the usage line, then each option with what it does.
std::string UsageText();
// What to say when the run's screen is not the one its input script was made for (knocked-away
// passers-by bounce at the screen's edges, so a replay holds only on its own screen); empty if it is,
// or if the script does not say.
std::string ScreenWarning(const platform::RuntimeOptions& runtime, int width, int height);
