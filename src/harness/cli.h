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
const char* UsageText();
