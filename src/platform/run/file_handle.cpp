// Opening the game's data files without blocking on what is not a file.
#include "platform/run/file_handle.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace platform {
namespace {

std::string g_language = "ja";

}  // namespace

bool IsRegularFile(const std::string& name) {
#ifdef _WIN32
    struct _stat64 st;
    return _stat64(name.c_str(), &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG;
#else
    struct stat st;
    return stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}

void SetDataLanguage(const std::string& language) {
    g_language = language.empty() ? "ja" : language;
}

const std::string& DataLanguage() {
    return g_language;
}

std::string Overlaid(const char* name) {
    if (!name) return {};
    const std::string n = name;
    const bool relative = !n.empty() && n[0] != '/' && n[0] != '\\' && (n.size() < 2 || n[1] != ':');
    // A file the web page is still fetching is waited for, the language's copy first.
    if (g_language == "ja" || !relative) {
        WaitWhileComing(n);
        return n;
    }
    const std::string there = "lang/" + g_language + "/" + n;
    WaitWhileComing(there);
    if (IsRegularFile(there)) return there;
    WaitWhileComing(n);
    return n;
}

FilePtr OpenRegularFile(const char* given) {
    if (!given) {
        errno = EINVAL;
        return nullptr;
    }
    const std::string overlaid = Overlaid(given);
    const char* name = overlaid.c_str();
#ifdef _WIN32
    // No FIFOs in the file system here: a look at the kind of file before opening it does.
    struct _stat64 st;
    if (_stat64(name, &st) != 0) return nullptr;
    if ((st.st_mode & _S_IFMT) != _S_IFREG) {
        errno = EINVAL;
        return nullptr;
    }
    return FilePtr(std::fopen(name, "rb"));
#else
    // Opened without waiting (a FIFO's open would wait for a writer), then looked at.
    const int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = EINVAL;
        return nullptr;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags != -1) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* f = fdopen(fd, "rb");
    if (!f) close(fd);
    return FilePtr(f);
#endif
}

bool ReadRegularFile(const char* name, std::vector<unsigned char>* out, std::size_t max) {
    out->clear();
    const FilePtr f = OpenRegularFile(name);
    if (!f) return false;
    unsigned char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
        if (out->size() + got > max) {
            out->clear();
            return false;
        }
        out->insert(out->end(), chunk, chunk + got);
    }
    if (std::ferror(f.get())) {
        out->clear();
        return false;
    }
    return true;
}

std::filesystem::path PathOfUtf8(const std::string& name) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
}

std::string Utf8OfPath(const std::filesystem::path& path) {
    const std::u8string u = path.u8string();
    return std::string(u.begin(), u.end());
}

}  // namespace platform
