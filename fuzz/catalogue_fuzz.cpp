// libFuzzer target: any text as a language's catalogue (texts.txt). Reading takes every line of the
// form "Japanese => translation" and tells the rest in a few warnings, each short and with nothing a
// terminal would act on; no text is taken empty, and a plain line is taken as it stands.
#include "platform/locale/language.h"
#include "text_file_checks.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> warnings;
    const auto texts = platform::locale::ReadCatalogue(text, "texts.txt", &warnings);
    CheckWarnings(warnings);
    for (const auto& [from, to] : texts) Check(!from.empty() && !to.empty());
    // The first line, when it is a plain entry of letters whose text comes nowhere else, is in the
    // catalogue as it was written.
    const std::size_t end = text.find('\n');
    const std::string first = text.substr(0, end);
    const std::size_t arrow = first.find(" => ");
    if (arrow != std::string::npos && arrow > 0 && arrow + 4 < first.size()) {
        const std::string from = first.substr(0, arrow), to = first.substr(arrow + 4);
        auto plain = [](const std::string& s) {
            for (char c : s)
                if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
            return true;
        };
        // (A later line of the same text would go over it.)
        if (plain(from) && plain(to) && text.find(from, from.size()) == std::string::npos)
            Check(texts.count(from) && texts.at(from) == to);
    }
    return 0;
}
