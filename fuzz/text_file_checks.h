// What the fuzz targets of the game's text files (settings.ini, texts.txt) check alike: a failed
// check aborts, which libFuzzer reports with the input; a file's warnings are few, short, and hold
// nothing a terminal would act on. The run's own warnings are not these targets' business.
#pragma once

#include "platform/files/file_warnings.h"

#include <cstdlib>
#include <string>
#include <vector>

// Defined here, not inline: the platform's files that call it need it emitted (each target is one
// file of its own that includes this header once).
namespace platform {
void Warn(const std::string&) {}
void WarnPlayer(const std::string&) {}
}  // namespace platform

inline void Check(bool ok) {
    if (!ok) std::abort();
}

inline void CheckWarnings(const std::vector<std::string>& warnings) {
    Check(warnings.size() <= platform::files::kWarningsShown + 1);
    for (const std::string& w : warnings) {
        Check(w.size() < 600);
        for (char c : w) Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    }
}
