// The player's own settings: which key plays each of the game's keys, which pad button each of the
// game's button numbers is, the volumes, the scale, the language, the window, whether the game
// pauses by itself when the player is away from it, the pad's stick and rumble, and the access
// settings. Kept in
// settings.ini in the settings folder (platform::SettingsFolder), or in the file --settings names;
// headless runs read only the latter, so that a replay never depends on who runs it. The platform
// applies them where it samples keys and buttons and where it mixes: the game reads none of them.
#pragma once

#include "platform/game_keys.h"
#include "platform/runtime.h"

#include <SDL.h>

#include <array>
#include <string>
#include <vector>

namespace platform::settings {

struct Settings {
    std::vector<SDL_Scancode> keys;  // the physical key of each of GameKeys()
    // The pad button (SDL's, by position) of each of the game's buttons 1 to 10.
    std::array<SDL_GameControllerButton, 10> padButtons{};
    int musicVolume = 100, effectsVolume = 100;  // percent
    double scale = 0;                            // 0: the system's own
    std::string language = kJapanese;            // kJapanese or kEnglish
    int windowWidth = 0, windowHeight = 0;       // 0: full screen
    // Where the window was last left, its top-left corner on the desktop (not placed: centred).
    bool windowPlaced = false;
    int windowX = 0, windowY = 0;
    // The game pauses by itself when its window loses the focus or is minimized, or when the
    // process was stopped and goes on again; false: it plays on ([game] pause-when-away).
    bool pauseWhenAway = true;
    // The pad: how far (percent of the stick's reach) the left stick must go before it counts
    // ([pad] dead-zone), and whether a pad that can rumbles on kicks and the special move.
    int deadZone = 25;
    bool rumble = true;
    // For every body ([access]); all off by default. They change what is shown and how the player's
    // input reaches the game, never what the game does with what it saw.
    bool reduceMotion = false;    // the windows' shaking and the desktop's jolts drawn calmer
    bool reduceFlashing = false;  // no full-screen flash more than three times a second
    bool toggleDash = false;      // a press of dash holds it until the next press
    bool togglePower = false;     // the same for power mode
    int gameSpeed = 100;          // percent of the game's pace, 50 to 100

    Settings();  // the game as it always was (the keys of the GameKeys() of now)
    bool operator==(const Settings&) const = default;
    bool KeysAsAlways() const;
};

// Reads the text of a settings file over the defaults. Every line it cannot take (an unknown
// section or entry, a value out of range) is told in warnings (with file:line) and left at its
// default; the rest is taken.
Settings ReadSettings(const std::string& text, const std::string& file, std::vector<std::string>* warnings);
// The file's text for these settings, every entry with its default noted.
std::string SettingsText(const Settings& settings);
// The most a settings file may hold (the game's own is under 1 KB).
constexpr std::size_t kMaxSettingsBytes = std::size_t(64) << 10;

// Writes the settings to the file, whole or not at all: under the file's lock ("<file>.lock"), a new
// file made beside it (never through a link planted there) and renamed over it, so that a reader sees
// the old file or the new one. False, with why, when it cannot: the file is a folder, may not be
// written, is kept busy by another writer, ...
bool WriteSettings(const std::string& file, const Settings& settings, std::string* why = nullptr);
// Saves what one writer changed: `base` is what it read (or saved last), `mine` what it has now.
// Under the lock the file is read again and only what `mine` changed from `base` goes over it, so
// that what another writer saved meanwhile stays; `saved` gets what the file now holds. A file that
// is there and cannot be read (over kMaxSettingsBytes, not a regular file) is left as it is: false.
bool SaveSettingsChanges(const std::string& file, const Settings& base, const Settings& mine, Settings* saved,
                         std::string* why);

// The file a player's settings live in ("" where there is none).
std::string PlayerSettingsFile();
// The settings of this run (the defaults until Start has read them).
const Settings& CurrentSettings();
// Reads them for the run: the named file, or in a real window the player's; warnings printed once.
void LoadSettings(const std::string& namedFile, bool headless);

// The pad buttons a ready choice gives: "confirm with A" swaps buttons 1 and 2.
void ConfirmWithA(Settings* settings);

// The key that plays each of GameKeys() unless the player moves it.
const std::vector<SDL_Scancode>& DefaultKeys();

// Gives the game's key (an index of GameKeys()) the physical key, or the game's button (0 to 9) the
// pad's button. Refused (false, with the index that has it in takenBy) when another of the game's
// keys or buttons has it already: one key never plays two of the game's keys.
bool AssignKey(Settings* settings, int gameKey, SDL_Scancode key, int* takenBy);
bool AssignPadButton(Settings* settings, int gameButton, SDL_GameControllerButton button, int* takenBy);

}  // namespace platform::settings
