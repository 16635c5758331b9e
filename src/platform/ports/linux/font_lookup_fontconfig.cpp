// The Japanese user-interface font found through fontconfig.
#include "platform/desktop/font_lookup.h"

#include <fontconfig/fontconfig.h>

namespace platform::desktop {

const char* const kFontAdvice = "install fonts-ipafont-gothic";

std::string FindJapaneseFontFile() {
    std::string found;
    if (!FcInit()) return found;
    // A Japanese gothic face; the first family that has kana wins.
    const char* wanted[] = {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic", ":lang=ja"};
    for (const char* name : wanted) {
        FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(name));
        FcConfigSubstitute(nullptr, pat, FcMatchPattern);
        FcDefaultSubstitute(pat);
        FcResult result;
        FcPattern* match = FcFontMatch(nullptr, pat, &result);
        if (match) {
            FcChar8* file = nullptr;
            FcCharSet* cs = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
                FcPatternGetCharSet(match, FC_CHARSET, 0, &cs) == FcResultMatch &&
                FcCharSetHasChar(cs, 0x3042) && FcCharSetHasChar(cs, 0x7D42)) {
                found = reinterpret_cast<const char*>(file);
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pat);
        if (!found.empty()) break;
    }
    return found;
}

}  // namespace platform::desktop
