// Where the Japanese user-interface font is: each kind of system finds its fonts its own way, in a
// file of its own (font_lookup_fontconfig.cpp, font_lookup_windows.cpp); the build takes one of them.
#pragma once

#include <string>

namespace desktop {

// The file of a Japanese gothic face that has kana and kanji, or empty when there is none.
std::string FindJapaneseFontFile();

}  // namespace desktop
