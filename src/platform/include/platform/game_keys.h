// The game's keys that a player may move to other keys, as the game declares them (src/actions): the
// platform reads and writes the player's settings by this table and plays each moved key as the key
// the game reads. It is handed over at Start (RuntimeOptions::gameKeys), or by a program that works
// on the settings without running the game (UseGameKeys).
#pragma once

#include <vector>

namespace platform {

struct GameKey {
    const char* name;        // the settings file's name of it: "jump"
    int virtualKey;          // the key the game reads: 'A'
    const char* defaultKey;  // the key that plays it unless the player moves it, as SDL names keys: "A"
    int padButton;           // the game's pad button (1 to 10) that does it, 0 for none
    const char* japanese;    // what it does
    const char* english;
};

// A sound of the game that a pad able to rumble rumbles with as it starts (RuntimeOptions::rumbles):
// the wave file's name as the game opens it, how strongly (percent) and how long.
struct SoundRumble {
    const char* sound;
    int strength;
    int milliseconds;
};

// The table the platform goes by from now on, for the program's life. A default key SDL does not
// know is no key: that game key has none until the player gives it one.
void UseGameKeys(const std::vector<GameKey>& keys);
const std::vector<GameKey>& GameKeys();

}  // namespace platform
