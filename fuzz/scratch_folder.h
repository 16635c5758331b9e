// A folder of its own for a fuzz target's files, made once: in memory (/dev/shm) where there is
// one, as a target writes a file for every input and a disk makes that the slowest part of a run.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <string>

inline const std::string& ScratchFolder() {
    static std::string path;
    if (path.empty()) {
        char shm[] = "/dev/shm/rushmora-fuzz-XXXXXX", tmp[] = "/tmp/rushmora-fuzz-XXXXXX";
        const char* dir = mkdtemp(shm);
        if (!dir) dir = mkdtemp(tmp);
        if (!dir) std::abort();
        path = dir;
    }
    return path;
}
