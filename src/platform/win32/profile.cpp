// The profile (.ini) files: the key configuration the options and the key-configuration program share.
#include "platform/common/text.h"
#include "platform/win32.h"
#include "platform/files/profile_files.h"

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

namespace {

using namespace platform::files;

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

using platform::text::Trim;

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
            lines.push_back(std::string("[").append(section).append("]"));
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
