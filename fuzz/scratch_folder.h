// A folder of its own for a fuzz target's files, made once: in memory (/dev/shm) where there is
// one, as a target writes a file for every input and a disk makes that the slowest part of a run.
// It goes with the process, when that ends normally (a run's end, a crash found and written).
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

inline const std::string& ScratchFolder() {
    static std::string path;
    if (path.empty()) {
        char shm[] = "/dev/shm/rushmora-fuzz-XXXXXX", tmp[] = "/tmp/rushmora-fuzz-XXXXXX";
        const char* dir = mkdtemp(shm);
        if (!dir) dir = mkdtemp(tmp);
        if (!dir) std::abort();
        path = dir;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        });
    }
    return path;
}
