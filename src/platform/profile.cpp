// The profile (.ini) files: the key configuration the options and the key-configuration program share.
#include "platform/shellapi.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#else
#include <process.h>
#endif

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r"), e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// A line that opens a section: "[name]", giving the name.
bool SectionOf(const std::string& line, std::string* name) {
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    size_t close = t.find(']');
    if (close == std::string::npos) return false;
    *name = Trim(t.substr(1, close - 1));
    return true;
}

// A line that holds an entry: "key=value", giving the key and the value.
bool EntryOf(const std::string& line, std::string* key, std::string* value) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '[') return false;
    size_t eq = t.find('=');
    if (eq == std::string::npos) return false;
    *key = Trim(t.substr(0, eq));
    if (value) *value = Trim(t.substr(eq + 1));
    return !key->empty();
}

bool ReadLines(const std::string& file, std::vector<std::string>* lines) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines->push_back(line);
    }
    return true;
}

bool Find(const std::vector<std::string>& lines, const std::string& section, const std::string& key,
          std::string* value) {
    bool inSection = false;
    for (const std::string& line : lines) {
        std::string name, k, v;
        if (SectionOf(line, &name)) {
            inSection = SameName(name, section);
        } else if (inSection && EntryOf(line, &k, &v) && SameName(k, key)) {
            *value = v;
            return true;
        }
    }
    return false;
}

// What there is to replace: whether the file exists, whether this process may change it, and the
// mode and owner to give its replacement.
struct Existing {
    bool exists = false;
    bool writable = true;
    unsigned mode = 0;
    unsigned owner = 0, group = 0;
};

long long ProcessId();
bool ProcessRuns(long long pid);
std::string LinkTarget(const std::string& file);
bool Inspect(const std::string& file, Existing* e);
bool ReplaceFile(const std::string& file, const std::string& text, const Existing& existing);

// The temporary file a writer puts beside the profile: "<name>.tmp<process id>".
std::string TemporaryOf(const std::string& file) {
    return file + ".tmp" + std::to_string(ProcessId());
}

// A temporary file left by a writer that was interrupted: one of ours for the same profile, whose
// process no longer runs or that is older than any write could take. Others are left alone.
constexpr auto kStaleAfter = std::chrono::minutes(10);

void RemoveStaleTemporaries(const std::string& file) {
    namespace fs = std::filesystem;
    const fs::path path(file);
    const std::string prefix = path.filename().string() + ".tmp";
    const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.size() > prefix.size() + 10 ||
            name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string digits = name.substr(prefix.size());
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
        std::error_code e;
        if (!it->is_regular_file(e) || e) continue;
        const long long pid = std::stoll(digits);
        const auto written = fs::last_write_time(it->path(), e);
        const bool old = !e && fs::file_time_type::clock::now() - written > kStaleAfter;
        if (pid == ProcessId() || old || !ProcessRuns(pid)) fs::remove(it->path(), e);
    }
}

#ifndef _WIN32

long long ProcessId() {
    return getpid();
}

bool ProcessRuns(long long pid) {
    if (pid <= 0 || pid > 0x7FFFFFFF) return false;
    return kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// Follows symbolic links to the file they name (a link may name a file not made yet).
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
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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

#else

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

#endif

}  // namespace

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    if (!section || !fileName || !*fileName) return FALSE;
    // A link is written through: the file it names changes, and the link stays.
    const std::string target = LinkTarget(fileName);
    Existing existing;
    if (!Inspect(target, &existing) || (existing.exists && !existing.writable)) return FALSE;
    std::vector<std::string> lines;
    ReadLines(target, &lines);
    // Find the section and the entry in it.
    int sectionLine = -1, entryLine = -1, sectionEnd = int(lines.size());
    for (int i = 0; i < int(lines.size()); ++i) {
        std::string name, k;
        if (SectionOf(lines[i], &name)) {
            if (sectionLine >= 0) {
                sectionEnd = i;
                break;
            }
            if (SameName(name, section)) sectionLine = i;
        } else if (sectionLine >= 0 && entryLine < 0 && key && EntryOf(lines[i], &k, nullptr) &&
                   SameName(k, key)) {
            entryLine = i;  // the first of a key given twice: the one the readers take
        }
    }
    if (!key) {
        // No key: the whole section goes.
        if (sectionLine >= 0) lines.erase(lines.begin() + sectionLine, lines.begin() + sectionEnd);
    } else if (!value) {
        if (entryLine >= 0) lines.erase(lines.begin() + entryLine);
    } else {
        const std::string entry = std::string(key) + "=" + value;
        if (entryLine >= 0) {
            lines[entryLine] = entry;
        } else if (sectionLine >= 0) {
            // After the section's last non-blank line.
            int at = sectionEnd;
            while (at > sectionLine + 1 && Trim(lines[at - 1]).empty()) --at;
            lines.insert(lines.begin() + at, entry);
        } else {
            lines.push_back("[" + std::string(section) + "]");
            lines.push_back(entry);
        }
    }
    // Write beside the file, then put it in place in one step.
    RemoveStaleTemporaries(target);
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return ReplaceFile(target, text, existing) ? TRUE : FALSE;
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
    std::vector<std::string> lines;
    std::string value;
    if (!section || !key || !fileName || !ReadLines(fileName, &lines) || !Find(lines, section, key, &value))
        return UINT(defaultValue);
    // Leading digits count; anything else, or a negative number, reads as 0.
    long v = 0;
    size_t i = 0;
    bool negative = i < value.size() && value[i] == '-';
    if (negative) ++i;
    for (; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i) {
        v = v * 10 + (value[i] - '0');
        if (v > 0x7FFFFFFF) v = 0x7FFFFFFF;
    }
    return negative ? 0u : UINT(v);
}

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR out, DWORD size,
                               LPCSTR fileName) {
    if (!out || size == 0) return 0;
    std::vector<std::string> lines;
    std::string value = defaultValue ? defaultValue : "";
    if (section && key && fileName && ReadLines(fileName, &lines)) Find(lines, section, key, &value);
    const DWORD n = std::min<DWORD>(DWORD(value.size()), size - 1);
    std::memcpy(out, value.data(), n);
    out[n] = 0;
    return DWORD(std::strlen(out));  // what the caller can read: a NUL in the value ends it
}
