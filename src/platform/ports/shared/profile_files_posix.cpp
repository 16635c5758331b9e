// The profile's file work on POSIX systems (Linux, and the web's file system).
#include "platform/files/profile_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace platform::files {

long long ProcessId() {
    return getpid();
}

bool ProcessRuns(long long pid) {
    if (pid <= 0 || pid > 0x7FFFFFFF) return false;
    return kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

std::string LinkTarget(const std::string& file) {
    std::string path = file;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::vector<char> buf(std::size_t(st.st_size > 0 ? st.st_size : 255) + 2);
        const ssize_t n = readlink(path.c_str(), buf.data(), buf.size() - 1);
        if (n < 0) return path;
        std::string to(buf.data(), std::size_t(n));
        if (to.empty()) return path;
        if (to[0] != '/') {
            const auto slash = path.rfind('/');
            if (slash != std::string::npos) to = path.substr(0, slash + 1) + to;
        }
        path = to;
    }
    return path;
}

bool Inspect(const std::string& file, Existing* e) {
    struct stat st;
    if (stat(file.c_str(), &st) != 0) {
        e->exists = false;
        return errno == ENOENT;
    }
    if (!S_ISREG(st.st_mode)) return false;
    e->exists = true;
    // A file nobody may write is read-only, for its owner and the superuser alike.
    e->writable = (st.st_mode & 0222) != 0 && access(file.c_str(), W_OK) == 0;
    e->mode = st.st_mode & 07777;
    e->owner = st.st_uid;
    e->group = st.st_gid;
    return true;
}

// Writes text to a new temporary file beside the file, with the old file's mode and owner where
// this process may give them, and renames it over the file.
bool ReplaceFile(const std::string& file, const std::string& text, const Existing& existing) {
    const std::string temp = TemporaryOf(file);
    unlink(temp.c_str());
    // Made anew (O_EXCL): a link planted under the temporary's name is never written through.
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = true;
    if (existing.exists) {
        // The owner first: changing it may clear the set-id bits that the mode then puts back.
        if (fchown(fd, existing.owner, existing.group) != 0) (void)!fchown(fd, uid_t(-1), existing.group);
        ok = fchmod(fd, existing.mode) == 0;
    }
    for (std::size_t at = 0; ok && at < text.size();) {
        const ssize_t n = write(fd, text.data() + at, text.size() - at);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) at += std::size_t(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    std::error_code renamed;
    if (ok) std::filesystem::rename(temp, file, renamed);
    if (!ok || renamed) {
        unlink(temp.c_str());
        return false;
    }
    return true;
}

FileLock::FileLock(const std::string& file) {
    const std::string name = file + ".lock";
    const int fd = open(name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return;
    handle_ = fd;
    // Waited for in small steps, so that a writer that hangs cannot hold the others for ever; by the
    // clock, not by the tries (a loaded machine sleeps longer than asked).
    const auto giveUpAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockWaitMs);
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return;
        if (std::chrono::steady_clock::now() >= giveUpAt) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

FileLock::~FileLock() {
    if (handle_ >= 0) close(int(handle_));  // lets go of the lock too
}

}  // namespace platform::files
