#include "platform/files/file_warnings.h"

#include <cstdio>

namespace platform::files {
namespace {

// The length of the UTF-8 sequence that starts at i, or 0 when the bytes there are none.
std::size_t Utf8Length(const std::string& s, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return 0;
    // Overlong forms and surrogates are no text either.
    const unsigned char d = n > 1 ? static_cast<unsigned char>(s[i + 1]) : 0;
    if ((n == 2 && c < 0xC2) || (n == 3 && c == 0xE0 && d < 0xA0) || (n == 3 && c == 0xED && d >= 0xA0) ||
        (n == 4 && c == 0xF0 && d < 0x90) || (n == 4 && (c > 0xF4 || (c == 0xF4 && d >= 0x90))))
        return 0;
    return n;
}

}  // namespace

std::string Quoted(const std::string& text, std::size_t keep) {
    std::string out = "\"";
    std::size_t shown = 0, i = 0;
    for (; i < text.size() && shown < keep; ++shown) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t n = Utf8Length(text, i);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c == '\t') {
            out += "\\t";
        } else if (n == 0 || c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out.append(text, i, n);
            i += n;
            continue;
        }
        ++i;
    }
    if (i < text.size()) out += "...";
    return out + "\"";
}

void FileWarnings::Add(std::string warning) {
    if (added_ < kWarningsShown) {
        out_->push_back(std::move(warning));
        ++added_;
    } else {
        ++more_;
    }
}

void FileWarnings::Finish() {
    if (more_ > 0)
        out_->push_back(file_ + ": and " + std::to_string(more_) + " more line" + (more_ == 1 ? "" : "s") +
                        " that could not be taken");
    more_ = 0;
}

std::string WithoutByteOrderMark(std::string text) {
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    return text;
}

}  // namespace platform::files
