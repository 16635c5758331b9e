#include "platform/locale/language.h"
#include "platform/common/owner.h"

#include "platform/common/text.h"
#include "platform/files/file_handle.h"
#include "platform/files/file_warnings.h"
#include "platform/runtime.h"

#include <cerrno>
#include <sstream>

namespace platform::locale {
namespace {

// The catalogue of the game's texts is some 10 KB; a file far larger is none.
constexpr std::size_t kMaxCatalogueBytes = std::size_t(1) << 20;

struct Catalogue {
    bool read = false;
    std::map<std::string, std::string> texts;
};

Catalogue& TheCatalogue() {
    return owner::Part<Catalogue>(owner::Life::Run);
}

std::string Unescaped(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

using text::Trim;

}  // namespace

std::map<std::string, std::string> ReadCatalogue(const std::string& text, const std::string& file,
                                                 std::vector<std::string>* warnings) {
    std::map<std::string, std::string> texts;
    std::istringstream in(files::WithoutByteOrderMark(text));
    std::string line;
    int number = 0;
    files::FileWarnings told(file, warnings);
    while (std::getline(in, line)) {
        ++number;
        const std::string t = Trim(line);
        if (t.empty() || t[0] == '#') continue;
        const std::size_t arrow = t.find("=>");
        const std::string from = arrow == std::string::npos ? "" : Trim(t.substr(0, arrow));
        const std::string to = arrow == std::string::npos ? "" : Trim(t.substr(arrow + 2));
        if (from.empty() || to.empty()) {
            told.Add(file + ":" + std::to_string(number) + ": " + files::Quoted(t) +
                     " is not a text of the catalogue (\"Japanese => translation\"); it is left out");
            continue;
        }
        texts[Unescaped(from)] = Unescaped(to);
    }
    told.Finish();
    return texts;
}

void SetLanguage(const std::string& language) {
    files::SetDataLanguage(language);
    TheCatalogue() = Catalogue();
}

std::string CurrentLanguage() {
    return files::DataLanguage();
}

std::string Translated(const std::string& text) {
    Catalogue& c = TheCatalogue();
    if (files::DataLanguage() == kJapanese) return text;
    if (!c.read) {
        c.read = true;
        const std::string file = "lang/" + files::DataLanguage() + "/texts.txt";
        std::vector<unsigned char> bytes;
        if (files::ReadRegularFile(file.c_str(), &bytes, kMaxCatalogueBytes)) {
            std::vector<std::string> warnings;
            c.texts = ReadCatalogue(std::string(bytes.begin(), bytes.end()), file, &warnings);
            for (const std::string& w : warnings) Warn(w);
        } else if (errno == ENOENT) {
            Warn(file + " is missing: the texts stay in Japanese");
        } else {
            Warn("cannot read " + file + " (" + files::ReadFailure(errno, kMaxCatalogueBytes) +
                 "): the texts stay in Japanese");
        }
    }
    const auto it = c.texts.find(text);
    return it == c.texts.end() ? text : it->second;
}

}  // namespace platform::locale
