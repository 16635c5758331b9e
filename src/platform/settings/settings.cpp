#include "platform/settings/settings.h"

#include "platform/common/owner.h"
#include "platform/common/text.h"
#include "platform/files/file_handle.h"
#include "platform/files/file_warnings.h"
#include "platform/settings/settings_folder.h"
#include "platform/runtime.h"
#include "platform/win32.h"
#include "platform/files/profile_files.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <system_error>

namespace platform::settings {
namespace {

constexpr std::array<SDL_GameControllerButton, 10> kPadDefaults = {SDL_CONTROLLER_BUTTON_A,
                                                                   SDL_CONTROLLER_BUTTON_B,
                                                                   SDL_CONTROLLER_BUTTON_X,
                                                                   SDL_CONTROLLER_BUTTON_Y,
                                                                   SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                                                   SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                                                   SDL_CONTROLLER_BUTTON_BACK,
                                                                   SDL_CONTROLLER_BUTTON_START,
                                                                   SDL_CONTROLLER_BUTTON_LEFTSTICK,
                                                                   SDL_CONTROLLER_BUTTON_RIGHTSTICK};

using text::Lower;
using text::Trim;

bool WholeNumber(const std::string& s, long low, long high, long* out) {
    std::int64_t v = 0;
    if (!text::ParseDecimal(s, high, &v) || v < low) return false;
    *out = long(v);
    return true;
}

// A whole number that may have a minus sign (a place left of or above the first display).
bool SignedWhole(const std::string& s, long limit, long* out) {
    const bool minus = !s.empty() && s[0] == '-';
    if (!WholeNumber(minus ? s.substr(1) : s, 0, limit, out)) return false;
    if (minus) *out = -*out;
    return true;
}

// A yes or a no, as a player writes one by hand (yes, on, true, 1 / no, off, false, 0).
bool YesOrNo(const std::string& s, bool* out) {
    const std::string v = Lower(s);
    if (v == "yes" || v == "on" || v == "true" || v == "1") {
        *out = true;
        return true;
    }
    if (v == "no" || v == "off" || v == "false" || v == "0") {
        *out = false;
        return true;
    }
    return false;
}

// The program's: the game's keys as it handed them over, their default keys, and the settings of
// the run (made at the first need, from the keys of then).
struct SettingsState {
    std::vector<GameKey> gameKeys;
    std::vector<SDL_Scancode> defaultKeys;
    std::optional<Settings> current;
};

SettingsState& TheSettings() {
    return owner::Part<SettingsState>(owner::Life::Program);
}

Settings& Current() {
    SettingsState& state = TheSettings();
    if (!state.current) state.current.emplace();
    return *state.current;
}

}  // namespace

const std::vector<SDL_Scancode>& DefaultKeys() {
    return TheSettings().defaultKeys;
}

Settings::Settings() : keys(TheSettings().defaultKeys), padButtons(kPadDefaults) {}

bool Settings::KeysAsAlways() const {
    return keys == TheSettings().defaultKeys;
}

void ConfirmWithA(Settings* settings) {
    settings->padButtons = kPadDefaults;
    std::swap(settings->padButtons[0], settings->padButtons[1]);
}

bool AssignKey(Settings* settings, int gameKey, SDL_Scancode key, int* takenBy) {
    const int count = int(settings->keys.size());
    if (gameKey < 0 || gameKey >= count || key == SDL_SCANCODE_UNKNOWN) return false;
    for (int i = 0; i < count; ++i) {
        if (i != gameKey && settings->keys[std::size_t(i)] == key) {
            *takenBy = i;
            return false;
        }
    }
    settings->keys[std::size_t(gameKey)] = key;
    return true;
}

bool AssignPadButton(Settings* settings, int gameButton, SDL_GameControllerButton button, int* takenBy) {
    if (gameButton < 0 || gameButton >= 10 || button == SDL_CONTROLLER_BUTTON_INVALID) return false;
    for (int i = 0; i < 10; ++i) {
        if (i != gameButton && settings->padButtons[std::size_t(i)] == button) {
            *takenBy = i;
            return false;
        }
    }
    settings->padButtons[std::size_t(gameButton)] = button;
    return true;
}

Settings ReadSettings(const std::string& text, const std::string& file, std::vector<std::string>* warnings) {
    Settings s;
    std::istringstream in(files::WithoutByteOrderMark(text));
    std::string line, section;
    int number = 0;
    files::FileWarnings told(file, warnings);
    auto warn = [&](const std::string& what) {
        told.Add(file + ":" + std::to_string(number) + ": " + what + "; its default is used");
    };
    while (std::getline(in, line)) {
        ++number;
        const std::string t = Trim(line);
        if (t.empty() || t[0] == ';' || t[0] == '#') continue;
        if (t.front() == '[') {
            if (t.back() != ']') {
                warn(files::Quoted(t) + " is not a section");
                section.clear();
                continue;
            }
            section = Lower(Trim(t.substr(1, t.size() - 2)));
            if (section != "keys" && section != "pad" && section != "sound" && section != "screen" &&
                section != "game" && section != "access")
                warn("unknown section " + files::Quoted("[" + section + "]"));
            continue;
        }
        const std::size_t eq = t.find('=');
        if (eq == std::string::npos) {
            warn(files::Quoted(t) + " is not an entry (name=value)");
            continue;
        }
        const std::string key = Lower(Trim(t.substr(0, eq)));
        std::string value = Trim(t.substr(eq + 1));
        if (const std::size_t comment = value.find(" ;"); comment != std::string::npos)
            value = Trim(value.substr(0, comment));
        long n = 0;
        if (section == "keys") {
            const std::vector<GameKey>& gameKeys = TheSettings().gameKeys;
            auto it = std::find_if(gameKeys.begin(), gameKeys.end(),
                                   [&](const GameKey& k) { return key == k.name; });
            if (it == gameKeys.end()) {
                warn("unknown key " + files::Quoted(key));
                continue;
            }
            const SDL_Scancode sc = SDL_GetScancodeFromName(value.c_str());
            if (sc == SDL_SCANCODE_UNKNOWN) {
                warn(files::Quoted(value) + " is no key");
                continue;
            }
            s.keys[std::size_t(it - gameKeys.begin())] = sc;
        } else if (section == "pad") {
            if (key == "dead-zone") {
                if (!WholeNumber(value, 5, 90, &n))
                    warn("the dead zone " + files::Quoted(value) + " is not 5 to 90");
                else
                    s.deadZone = int(n);
                continue;
            }
            if (key == "rumble") {
                if (!YesOrNo(value, &s.rumble)) warn("rumble " + files::Quoted(value) + " is not yes or no");
                continue;
            }
            if (key == "preset") {
                if (Lower(value) == "confirm-with-a")
                    ConfirmWithA(&s);
                else if (Lower(value) != "as-always")
                    warn("unknown preset " + files::Quoted(value) + " (confirm-with-a or as-always)");
                continue;
            }
            long button = 0;
            const SDL_GameControllerButton b = SDL_GameControllerGetButtonFromString(Lower(value).c_str());
            if (key.rfind("button", 0) != 0 || !WholeNumber(key.substr(6), 1, 10, &button)) {
                warn("unknown pad entry " + files::Quoted(key) + " (button1 to button10, dead-zone, rumble)");
            } else if (b == SDL_CONTROLLER_BUTTON_INVALID) {
                warn(files::Quoted(value) + " is no pad button (a, b, x, y, leftshoulder, back, ...)");
            } else {
                s.padButtons[std::size_t(button - 1)] = b;
            }
        } else if (section == "sound") {
            if (key != "music" && key != "effects")
                warn("unknown sound entry " + files::Quoted(key) + " (music, effects)");
            else if (!WholeNumber(value, 0, 100, &n))
                warn("the " + key + " volume " + files::Quoted(value) + " is not 0 to 100");
            else
                (key == "music" ? s.musicVolume : s.effectsVolume) = int(n);
        } else if (section == "screen") {
            if (key == "scale") {
                char* end = nullptr;
                const double v = std::strtod(value.c_str(), &end);
                if (Lower(value) == "system")
                    s.scale = 0;
                else if (value.empty() || *end || !std::isfinite(v) || v < 0.5 || v > 4)
                    warn("the scale " + files::Quoted(value) + " is not 0.5 to 4 (or system)");
                else
                    s.scale = v;
            } else if (key == "language") {
                if (value == kJapanese || value == kEnglish)
                    s.language = value;
                else
                    warn("the language " + files::Quoted(value) + " is not ja or en");
            } else if (key == "window") {
                long w = 0, h = 0;
                const std::size_t x = Lower(value).find('x');
                if (Lower(value) == "fullscreen") {
                    s.windowWidth = s.windowHeight = 0;
                } else if (x == std::string::npos || !WholeNumber(value.substr(0, x), 320, 16384, &w) ||
                           !WholeNumber(value.substr(x + 1), 240, 16384, &h)) {
                    warn("the window " + files::Quoted(value) + " is not fullscreen or WxH");
                } else {
                    s.windowWidth = int(w);
                    s.windowHeight = int(h);
                }
            } else if (key == "place") {
                long x = 0, y = 0;
                const std::size_t comma = value.find(',');
                if (Lower(value) == "centred") {
                    s.windowPlaced = false;
                } else if (comma == std::string::npos ||
                           !SignedWhole(Trim(value.substr(0, comma)), 32767, &x) ||
                           !SignedWhole(Trim(value.substr(comma + 1)), 32767, &y)) {
                    warn("the place " + files::Quoted(value) + " is not centred or X,Y");
                } else {
                    s.windowPlaced = true;
                    s.windowX = int(x);
                    s.windowY = int(y);
                }
            } else {
                warn("unknown screen entry " + files::Quoted(key) + " (scale, language, window, place)");
            }
        } else if (section == "game") {
            if (key != "pause-when-away")
                warn("unknown game entry " + files::Quoted(key) + " (pause-when-away)");
            else if (!YesOrNo(value, &s.pauseWhenAway))
                warn("pause-when-away " + files::Quoted(value) + " is not yes or no");
        } else if (section == "access") {
            bool* flag = key == "reduce-motion"     ? &s.reduceMotion
                         : key == "reduce-flashing" ? &s.reduceFlashing
                                                    : nullptr;
            if (flag) {
                if (!YesOrNo(value, flag)) warn(key + " " + files::Quoted(value) + " is not yes or no");
            } else if (key == "dash" || key == "power") {
                bool& toggle = key == "dash" ? s.toggleDash : s.togglePower;
                if (Lower(value) == "hold" || Lower(value) == "toggle")
                    toggle = Lower(value) == "toggle";
                else
                    warn(key + " " + files::Quoted(value) + " is not hold or toggle");
            } else if (key == "game-speed") {
                if (!WholeNumber(value, 50, 100, &n))
                    warn("the game speed " + files::Quoted(value) + " is not 50 to 100");
                else
                    s.gameSpeed = int(n);
            } else {
                warn("unknown access entry " + files::Quoted(key) +
                     " (reduce-motion, reduce-flashing, dash, power, game-speed)");
            }
        } else if (section.empty()) {
            warn(files::Quoted(key) + " comes before any section");
        }
        // Entries of an unknown section were told with the section.
    }
    told.Finish();
    return s;
}

std::string SettingsText(const Settings& s) {
    std::string t = "; Rushmora's settings (KeyConfig1.exe writes them; defaults after each ';')\n[keys]\n";
    const SettingsState& state = TheSettings();
    for (std::size_t i = 0; i < state.gameKeys.size() && i < s.keys.size(); ++i)
        t += std::string(state.gameKeys[i].name) + "=" + SDL_GetScancodeName(s.keys[i]) + " ; " +
             SDL_GetScancodeName(state.defaultKeys[i]) + "\n";
    t += "[pad]\n";
    for (int i = 0; i < 10; ++i)
        t += "button" + std::to_string(i + 1) + "=" +
             SDL_GameControllerGetStringForButton(s.padButtons[std::size_t(i)]) + " ; " +
             SDL_GameControllerGetStringForButton(kPadDefaults[std::size_t(i)]) + "\n";
    t += "dead-zone=" + std::to_string(s.deadZone) + " ; 25\n";
    t += std::string("rumble=") + (s.rumble ? "yes" : "no") + " ; yes\n";
    t += "[sound]\nmusic=" + std::to_string(s.musicVolume) +
         " ; 100\neffects=" + std::to_string(s.effectsVolume) + " ; 100\n";
    // As short as reads back the same (1.5, not 1.50000; 1.3333333333333333 whole).
    char scale[32] = "";
    for (int digits = 6; digits <= 17; ++digits) {
        std::snprintf(scale, sizeof scale, "%.*g", digits, s.scale);
        if (std::strtod(scale, nullptr) == s.scale) break;
    }
    t += "[screen]\nscale=" + (s.scale > 0 ? std::string(scale) : std::string("system")) + " ; system\n";
    t += "language=" + s.language + " ; ja\n";
    t += "window=" +
         (s.windowWidth > 0 ? std::to_string(s.windowWidth) + "x" + std::to_string(s.windowHeight)
                            : std::string("fullscreen")) +
         " ; fullscreen\n";
    t += "place=" +
         (s.windowPlaced ? std::to_string(s.windowX) + "," + std::to_string(s.windowY)
                         : std::string("centred")) +
         " ; centred\n";
    t += std::string("[game]\npause-when-away=") + (s.pauseWhenAway ? "yes" : "no") + " ; yes\n";
    t += std::string("[access]\nreduce-motion=") + (s.reduceMotion ? "yes" : "no") + " ; no\n";
    t += std::string("reduce-flashing=") + (s.reduceFlashing ? "yes" : "no") + " ; no\n";
    t += std::string("dash=") + (s.toggleDash ? "toggle" : "hold") + " ; hold\n";
    t += std::string("power=") + (s.togglePower ? "toggle" : "hold") + " ; hold\n";
    t += "game-speed=" + std::to_string(s.gameSpeed) + " ; 100\n";
    return t;
}

namespace {

// What `mine` changed from `base`, put over `there`. Keys and buttons go one by one; where that would
// give one key two of the game's keys (another writer moved one meanwhile), `mine`'s whole table.
Settings Merged(const Settings& there, const Settings& base, const Settings& mine) {
    Settings out = there;
    auto pick = [](auto& to, const auto& b, const auto& m) {
        if (!(m == b)) to = m;
    };
    for (std::size_t i = 0; i < out.keys.size(); ++i) pick(out.keys[i], base.keys[i], mine.keys[i]);
    for (std::size_t i = 0; i < out.padButtons.size(); ++i)
        pick(out.padButtons[i], base.padButtons[i], mine.padButtons[i]);
    auto unique = [](auto table) {
        std::sort(table.begin(), table.end());
        return std::adjacent_find(table.begin(), table.end()) == table.end();
    };
    if (!unique(out.keys)) out.keys = mine.keys;
    if (!unique(out.padButtons)) out.padButtons = mine.padButtons;
    pick(out.musicVolume, base.musicVolume, mine.musicVolume);
    pick(out.effectsVolume, base.effectsVolume, mine.effectsVolume);
    pick(out.scale, base.scale, mine.scale);
    pick(out.language, base.language, mine.language);
    if (mine.windowWidth != base.windowWidth || mine.windowHeight != base.windowHeight) {
        out.windowWidth = mine.windowWidth;
        out.windowHeight = mine.windowHeight;
    }
    if (mine.windowPlaced != base.windowPlaced || mine.windowX != base.windowX ||
        mine.windowY != base.windowY) {
        out.windowPlaced = mine.windowPlaced;
        out.windowX = mine.windowX;
        out.windowY = mine.windowY;
    }
    pick(out.pauseWhenAway, base.pauseWhenAway, mine.pauseWhenAway);
    pick(out.deadZone, base.deadZone, mine.deadZone);
    pick(out.rumble, base.rumble, mine.rumble);
    pick(out.reduceMotion, base.reduceMotion, mine.reduceMotion);
    pick(out.reduceFlashing, base.reduceFlashing, mine.reduceFlashing);
    pick(out.toggleDash, base.toggleDash, mine.toggleDash);
    pick(out.togglePower, base.togglePower, mine.togglePower);
    pick(out.gameSpeed, base.gameSpeed, mine.gameSpeed);
    return out;
}

// Reads a settings file: a missing one is the defaults; one that is there and cannot be read is
// false, with why.
bool ReadSettingsFile(const std::string& file, Settings* out, std::vector<std::string>* warnings,
                      std::string* why) {
    std::vector<unsigned char> bytes;
    *out = Settings();
    if (files::ReadRegularFileAsNamed(file, &bytes, kMaxSettingsBytes)) {
        *out = ReadSettings(std::string(bytes.begin(), bytes.end()), file, warnings);
        return true;
    }
    if (errno == ENOENT) return true;
    *why = file + ": " + files::ReadFailure(errno, kMaxSettingsBytes);
    return false;
}

// Under the file's lock: the settings `change` makes of what the file holds, written whole through a
// new file renamed over the old one (a reader sees the one or the other, never a part).
bool Replace(const std::string& file, const std::function<Settings(const Settings&)>& change, Settings* saved,
             std::string* why) {
    std::string ignored;
    if (!why) why = &ignored;
    const std::filesystem::path path = files::PathOfUtf8(file);
    std::error_code error;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
    // A link is written through: the file it names changes, and the link stays.
    const std::string target = files::LinkTarget(file);
    const files::FileLock lock(target);
    if (!lock.Held()) {
        *why = target + ": another program keeps the settings busy (" + target + ".lock)";
        return false;
    }
    files::Existing existing;
    if (!files::Inspect(target, &existing)) {
        *why = target + ": it is not a regular file";
        return false;
    }
    if (existing.exists && !existing.writable) {
        *why = target + ": it may not be written";
        return false;
    }
    Settings there;
    std::vector<std::string> warnings;
    if (!ReadSettingsFile(target, &there, &warnings, why)) return false;
    const Settings now = change(there);
    files::RemoveStaleTemporaries(target);
    if (!files::ReplaceFile(target, SettingsText(now), existing)) {
        *why = target + ": cannot write it";
        return false;
    }
    if (saved) *saved = now;
    return true;
}

}  // namespace

bool WriteSettings(const std::string& file, const Settings& settings, std::string* why) {
    return Replace(
        file, [&](const Settings&) { return settings; }, nullptr, why);
}

bool SaveSettingsChanges(const std::string& file, const Settings& base, const Settings& mine, Settings* saved,
                         std::string* why) {
    return Replace(
        file, [&](const Settings& there) { return Merged(there, base, mine); }, saved, why);
}

std::string PlayerSettingsFile() {
    const std::string folder = SettingsFolder();
    return folder.empty() ? folder : folder + "/settings.ini";
}

const Settings& CurrentSettings() {
    return Current();
}

void LoadSettings(const std::string& namedFile, bool headless) {
    Current() = Settings();
    const std::string file = !namedFile.empty() ? namedFile : headless ? std::string() : PlayerSettingsFile();
    if (file.empty()) return;
    std::vector<unsigned char> bytes;
    if (!files::ReadRegularFileAsNamed(file, &bytes, kMaxSettingsBytes)) {
        // No settings yet is the usual case; a file named on the command line must be there.
        if (errno != ENOENT || !namedFile.empty())
            Warn("cannot read the settings " + file + " (" + files::ReadFailure(errno, kMaxSettingsBytes) +
                 "); the defaults are used");
        return;
    }
    std::vector<std::string> warnings;
    Current() = ReadSettings(std::string(bytes.begin(), bytes.end()), file, &warnings);
    // A damaged file is the player's to mend: in a window it is said on screen too.
    for (const std::string& w : warnings) WarnPlayer(w);
}

}  // namespace platform::settings

namespace platform {

void UseGameKeys(const std::vector<GameKey>& keys) {
    settings::SettingsState& state = settings::TheSettings();
    state.gameKeys = keys;
    state.defaultKeys.clear();
    for (const GameKey& k : keys) state.defaultKeys.push_back(SDL_GetScancodeFromName(k.defaultKey));
    state.current.emplace();
}

const std::vector<GameKey>& GameKeys() {
    return settings::TheSettings().gameKeys;
}

}  // namespace platform
