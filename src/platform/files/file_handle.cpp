// Opening the game's data files without blocking on what is not a file.
#include "platform/files/file_handle.h"

#include "platform/common/owner.h"
#include "platform/runtime.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace platform::files {
namespace {

// The run's language folder and data folder.
struct DataPlace {
    std::string language = kJapanese;
    std::string folder;
};

DataPlace& TheDataPlace() {
    return owner::Part<DataPlace>(owner::Life::Run);
}

}  // namespace

const std::string& DataFolder() {
    return TheDataPlace().folder;
}
void SetDataFolder(const std::string& folder) {
    TheDataPlace().folder = folder;
}

bool IsRegularFile(const std::string& name) {
#ifdef _WIN32
    struct _stat64 st;
    return _wstat64(PathOfUtf8(name).wstring().c_str(), &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG;
#else
    struct stat st;
    return stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}

void SetDataLanguage(const std::string& language) {
    TheDataPlace().language = language.empty() ? kJapanese : language;
}

const std::string& DataLanguage() {
    return TheDataPlace().language;
}

std::string Overlaid(const char* name) {
    if (!name) return {};
    const std::string n = name;
    const bool relative = !n.empty() && n[0] != '/' && n[0] != '\\' && (n.size() < 2 || n[1] != ':');
    // A file the web page is still fetching is waited for, the language's copy first.
    const std::string& language = TheDataPlace().language;
    if (language == kJapanese || !relative) {
        WaitWhileComing(n);
        return n;
    }
    const std::string there = "lang/" + language + "/" + n;
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
    return OpenRegularFileAsNamed(Overlaid(given));
}

FilePtr OpenRegularFileAsNamed(const std::string& name) {
#ifdef _WIN32
    // No FIFOs in the file system here: a look at the kind of file before opening it does. Wide
    // names, so that a UTF-8 name is the file's whatever the system's code page.
    const std::wstring wide = PathOfUtf8(name).wstring();
    struct _stat64 st;
    if (_wstat64(wide.c_str(), &st) != 0) return nullptr;
    if ((st.st_mode & _S_IFMT) != _S_IFREG) {
        errno = EINVAL;
        return nullptr;
    }
    // Opened so that a writer may still replace the file meanwhile (a new settings.ini renamed over
    // the old one), and tried again for a moment while one is doing so.
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < 50; ++tries) {
        h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (h != INVALID_HANDLE_VALUE || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            break;
        Sleep(10);
    }
    if (h == INVALID_HANDLE_VALUE) {
        errno = GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND ? ENOENT
                                                                                                 : EACCES;
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        return nullptr;
    }
    std::FILE* f = _fdopen(fd, "rb");
    if (!f) _close(fd);
    return FilePtr(f);
#else
    // Opened without waiting (a FIFO's open would wait for a writer), then looked at.
    const int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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

namespace {

bool ReadWhole(FilePtr f, std::vector<unsigned char>* out, std::size_t max) {
    out->clear();
    if (!f) return false;
    unsigned char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
        if (out->size() + got > max) {
            out->clear();
            errno = EFBIG;
            return false;
        }
        out->insert(out->end(), chunk, chunk + got);
    }
    if (std::ferror(f.get())) {
        out->clear();
        errno = EIO;
        return false;
    }
    return true;
}

}  // namespace

bool ReadRegularFile(const char* name, std::vector<unsigned char>* out, std::size_t max) {
    return ReadWhole(OpenRegularFile(name), out, max);
}

bool ReadRegularFileAsNamed(const std::string& name, std::vector<unsigned char>* out, std::size_t max) {
    return ReadWhole(OpenRegularFileAsNamed(name), out, max);
}

std::string ReadFailure(int error, std::size_t max) {
    switch (error) {
        case ENOENT:
            return "it is not there";
        case EFBIG: {
            const bool megabytes = max >= (std::size_t(1) << 20);
            return "it is over " + std::to_string(megabytes ? max >> 20 : max >> 10) +
                   (megabytes ? " MB" : " KB");
        }
        case EINVAL:
            return "it is not a regular file";
        case EACCES:
            return "it may not be read";
        default:
            return std::strerror(error);
    }
}

FilePtr OpenOutputFile(const std::string& name, std::string* why) {
#ifdef _WIN32
    const std::wstring wide = PathOfUtf8(name).wstring();
    struct _stat64 st;
    if (_wstat64(wide.c_str(), &st) == 0 && (st.st_mode & _S_IFMT) != _S_IFREG &&
        (st.st_mode & _S_IFMT) != _S_IFCHR) {
        *why = "it is not a regular file";
        return nullptr;
    }
    FilePtr f(_wfopen(wide.c_str(), L"wb"));
    if (!f) *why = std::strerror(errno);
    return f;
#else
    // Not emptied before it is known to be a file: O_NONBLOCK makes a pipe's open fail at once
    // (ENXIO) when nobody reads it, instead of waiting for a reader.
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        *why = errno == ENXIO ? "it is a named pipe or a socket, not a file" : std::strerror(errno);
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISCHR(st.st_mode))) {
        close(fd);
        *why = "it is a named pipe or a socket, not a file";
        return nullptr;
    }
    if (S_ISREG(st.st_mode) && ftruncate(fd, 0) != 0) {
        *why = std::strerror(errno);
        close(fd);
        return nullptr;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags != -1) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* f = fdopen(fd, "wb");
    if (!f) {
        *why = std::strerror(errno);
        close(fd);
    }
    return FilePtr(f);
#endif
}

std::filesystem::path PathOfUtf8(const std::string& name) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
}

std::string Utf8OfPath(const std::filesystem::path& path) {
    const std::u8string u = path.u8string();
    return std::string(u.begin(), u.end());
}

}  // namespace platform::files
