// Where the Japanese user-interface font is: each kind of system finds its fonts its own way, in a
// file of its own (font_lookup_fontconfig.cpp, font_lookup_windows.cpp); the build takes one of them.
#pragma once

#include <string>

namespace platform::desktop {

// The file of a Japanese gothic face that has kana and kanji, or empty when there is none.
std::string FindJapaneseFontFile();
// What a player without it can do.
extern const char* const kFontAdvice;

// The font the game ships ("fonts/ipagp.ttf"), looked for in the "fonts" folder inside the program's
// folder (UTF-8) or beside it (KeyConfig1.exe runs from the data folder, one below); empty when
// neither has it. The name found is UTF-8, for SDL's file functions.
std::string FindShippedFont(const std::string& programFolder);

}  // namespace platform::desktop
