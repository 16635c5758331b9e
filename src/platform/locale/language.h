// The texts the platform shows for the game (message boxes, window captions, the window's title)
// in the run's language: a catalogue per language, lang/<language>/texts.txt in the data folder,
// read when first needed. A text with no entry shows as the game wrote it (in Japanese).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace platform::locale {

// The catalogue's text: "Japanese => English" a line ("\n" in either is a line break; a line that
// starts with # is a comment). Every line it cannot take is told in warnings, with file:line.
std::map<std::string, std::string> ReadCatalogue(const std::string& text, const std::string& file,
                                                 std::vector<std::string>* warnings);

// The run's language (set by Start: --lang, else the player's setting in a window, else "ja").
void SetLanguage(const std::string& language);
// The run's language ("ja", "en", ...).
std::string CurrentLanguage();
// The text in the run's language.
std::string Translated(const std::string& text);

}  // namespace platform::locale
