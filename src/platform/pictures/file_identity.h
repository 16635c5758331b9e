// Which version of a file is on disk: its size and modification time, to tell an edited file from
// the one read before.
#pragma once

#include <string>

namespace platform::pictures {

// The file's size and modification time as text; empty when there is no such file.
std::string FileVersion(const char* file);

}  // namespace platform::pictures
