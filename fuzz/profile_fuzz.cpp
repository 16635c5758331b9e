// libFuzzer target: the INI file functions on a file of any content, with any section, key and
// value. The input's first three lines are the section, the key and the value; the rest is the
// file. Reads stay inside the caller's buffer and end in a NUL; a write keeps the file readable, and
// a plain entry written reads back as written.
#include "platform/shellapi.h"
#include "scratch_folder.h"

#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

// The writer syncs every file it writes: in memory that costs nothing.
const std::string& IniFile() {
    static const std::string path = ScratchFolder() + "/fuzz.ini";
    return path;
}

void WriteFile(const std::string& bytes) {
    std::FILE* f = std::fopen(IniFile().c_str(), "wb");
    if (!f) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
}

// Reads an entry into a heap buffer of exactly size bytes, so that a byte written past it is caught.
std::string Read(const char* section, const char* key, DWORD size) {
    std::unique_ptr<char[]> out(new char[size ? size : 1]);
    std::memset(out.get(), 'X', size ? size : 1);
    const DWORD n = GetPrivateProfileStringA(section, key, "default", out.get(), size, IniFile().c_str());
    if (size == 0) {
        if (n != 0) std::abort();
        return std::string();
    }
    if (n >= size || out[n] != 0) std::abort();  // (a NUL in the file may end the text earlier)
    return std::string(out.get(), n);
}

// Letters, digits and '_' only: a name or value that no INI line can take for anything else.
bool Plain(const std::string& s) {
    if (s.empty() || s.size() > 64) return false;
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string fields[3];
    std::size_t at = 0;
    for (std::string& f : fields) {
        while (at < size && data[at] != '\n') f += char(data[at++]);
        if (at < size) ++at;
    }
    // NULs end the C strings early, as they would for the game.
    for (std::string& f : fields) f = f.c_str();
    const std::string& section = fields[0];
    const std::string& key = fields[1];
    const std::string& value = fields[2];
    WriteFile(std::string(reinterpret_cast<const char*>(data) + at, size - at));

    for (DWORD n : {0u, 1u, 2u, 7u, 300u}) Read(section.c_str(), key.c_str(), n);
    (void)GetPrivateProfileIntA(section.c_str(), key.c_str(), -3, IniFile().c_str());

    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), IniFile().c_str())) return 0;
    // A plain entry reads back as written, also where the file held the key more than once.
    const std::string file(reinterpret_cast<const char*>(data) + at, size - at);
    const std::string back = Read(section.c_str(), key.c_str(), 300);
    if (Plain(section) && Plain(key) && Plain(value) && back != value) std::abort();
    if (WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, IniFile().c_str()))
        Read(section.c_str(), key.c_str(), 300);
    if (WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, IniFile().c_str()))
        Read(section.c_str(), key.c_str(), 300);
    return 0;
}
