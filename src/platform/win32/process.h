// Starting another program and leaving it to run: each kind of system does it its own way, in a file
// of its own (process_posix.cpp, process_windows.cpp); the build takes one of them.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Starts the program at args[0] with the rest as its arguments and does not wait for it. When quiet,
// its standard output goes nowhere; extraEnv entries ("NAME=value") are added to its environment.
bool StartProgram(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv, bool quiet);

// Whether the file is there for starting as a program.
bool IsProgram(const std::string& path);

}  // namespace platform
