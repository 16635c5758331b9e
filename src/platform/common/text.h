// Small pieces of reading text that the platform's readers of files share (settings.ini, the
// language's catalogue, the profiles, input scripts).
#pragma once

#include <cstdint>
#include <string>

namespace platform::text {

// The text without spaces, tabs and carriage returns at either end.
std::string Trim(const std::string& s);
// The text with its ASCII letters made small.
std::string Lower(std::string s);
// A file's name in the data folder as the game may write it, made comparable: separators as '/',
// ASCII letters small ("SE\\Eva.WAV" and "SE/eva.wav" are the same).
std::string PlainDataName(std::string s);
// A plain decimal number, digits only (no sign, no spaces, at most 18 of them), of at most max.
bool ParseDecimal(const std::string& s, std::int64_t max, std::int64_t* out);
// The value of a hexadecimal digit (either case), -1 for any other character.
int HexDigit(char c);

}  // namespace platform::text
