// The profile's file work on Windows.
#include "platform/win32/profile_files.h"

#include <process.h>

#include <filesystem>
#include <fstream>

namespace platform::profile {

long long ProcessId() {
    return _getpid();
}

// Without a way to ask here, a temporary file is stale only by its age.
bool ProcessRuns(long long) {
    return true;
}

std::string LinkTarget(const std::string& file) {
    namespace fs = std::filesystem;
    fs::path path(file);
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(path, ec); ++hops) {
        const fs::path to = fs::read_symlink(path, ec);
        if (ec || to.empty()) break;
        path = to.is_absolute() ? to : path.parent_path() / to;
    }
    return path.string();
}

bool Inspect(const std::string& file, Existing* e) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(file, ec);
    if (!fs::exists(st)) {
        e->exists = false;
        return true;
    }
    if (!fs::is_regular_file(st)) return false;
    e->exists = true;
    e->writable = (st.permissions() & fs::perms::owner_write) != fs::perms::none;
    return true;
}

bool ReplaceFile(const std::string& file, const std::string& text, const Existing&) {
    const std::string temp = TemporaryOf(file);
    bool ok;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        ok = bool(out.write(text.data(), std::streamsize(text.size())));
        out.close();
        ok = ok && !out.fail();
    }
    std::error_code renamed;
    if (ok) std::filesystem::rename(temp, file, renamed);
    if (!ok || renamed) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return false;
    }
    return true;
}

}  // namespace platform::profile
