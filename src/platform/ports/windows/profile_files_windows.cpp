// The profile's file work on Windows.
#include "platform/files/profile_files.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// windows.h names its own ReplaceFile (ReplaceFileA): ours is the profile's.
#undef ReplaceFile

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>

namespace platform::files {

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
    namespace fs = std::filesystem;
    const fs::path target(std::u8string(file.begin(), file.end()));
    const fs::path temp = fs::path(target).concat(".tmp" + std::to_string(ProcessId()));
    std::error_code ignored;
    fs::remove(temp, ignored);
    // Made anew (_O_EXCL), never through something planted under its name.
    const int fd = _wopen(temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return false;
    bool ok = true;
    for (std::size_t at = 0; ok && at < text.size();) {
        const int n =
            _write(fd, text.data() + at, unsigned(std::min<std::size_t>(text.size() - at, 1u << 20)));
        ok = n > 0;
        if (ok) at += std::size_t(n);
    }
    ok = ok && _commit(fd) == 0;
    ok = _close(fd) == 0 && ok;
    // Windows refuses to rename over a file that a reader has open without letting it be replaced
    // (an editor, an antivirus): tried again for a second before the save is given up.
    std::error_code renamed;
    for (int tries = 0; ok && tries < 50; ++tries) {
        fs::rename(temp, target, renamed);
        if (!renamed) break;
        Sleep(20);
    }
    if (!ok || renamed) {
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

FileLock::FileLock(const std::string& file) {
    const std::wstring name =
        std::filesystem::path(std::u8string(file.begin(), file.end())).wstring() + L".lock";
    const HANDLE h =
        CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    handle_ = static_cast<long long>(reinterpret_cast<std::intptr_t>(h));
    // Waited for in small steps, so that a writer that hangs cannot hold the others for ever; by the
    // clock, not by the tries: on a loaded machine (or under Wine) a step sleeps far longer than asked,
    // and several writers saving at once wait their turns one after another.
    const ULONGLONG giveUpAt = GetTickCount64() + kLockWaitMs;
    for (;;) {
        OVERLAPPED at{};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
            held_ = true;
            return;
        }
        if (GetTickCount64() >= giveUpAt) return;
        Sleep(5);
    }
}

FileLock::~FileLock() {
    if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(handle_)));
}

}  // namespace platform::files
