#include "harness/cli.h"

#include "app/game_windows.h"
#include "shell/start_fields.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

using platform::RuntimeOptions;

// A whole number of plain decimal digits within [min, max]: no sign, no spaces, no other base. 64 bits
// wide everywhere, so that 4294967295 fits where a long has 32 bits.
bool ParseNumber(const std::string& s, std::int64_t min, std::int64_t max, std::int64_t* out) {
    if (s.empty() || s.size() > 18) return false;
    std::int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < min || v > max) return false;
    *out = v;
    return true;
}

bool ParseSize(const std::string& s, int* w, int* h) {
    return platform::ParseScreenSize(s, 640, 480, 16384, w, h);
}

// A plain decimal number such as 2, 1.5 or 0.75, within [min, max].
bool ParseScale(const std::string& s, double min, double max, double* out) {
    if (s.empty() || s.size() > 12 || s.front() == '.' || s.back() == '.') return false;
    int points = 0;
    for (char c : s) {
        if (c == '.')
            ++points;
        else if (c < '0' || c > '9')
            return false;
    }
    if (points > 1) return false;
    const double v = std::strtod(s.c_str(), nullptr);
    if (!(v >= min && v <= max)) return false;
    *out = v;
    return true;
}

// The game works inside its data folder: files named on the command line are taken from where the
// command was given.
std::string Absolute(const std::string& path) {
    // Names are UTF-8 (a narrow path would be read in the system's code page on Windows).
    const std::filesystem::path given(std::u8string(path.begin(), path.end()));
    if (path.empty() || given.is_absolute()) return path;
    std::error_code error;
    const std::u8string full = std::filesystem::absolute(given, error).u8string();
    return error ? path : std::string(full.begin(), full.end());
}

constexpr std::int64_t kMaxFrames = std::int64_t(1) << 30;
constexpr std::int64_t kMaxSeed = 4294967295;
const char kSceneNames[] = "Logo, Title, CharaSelect, Option, Help, Game or GameClear";

// What the options have read so far.
struct Reading {
    CommandLine* out;
    bool screenGiven = false, windowGiven = false;
};

// One option: its name (and another spelling, if any), the argument it takes (none for a switch),
// whether it may be given again to add another, what --help says of it (a line break in that text
// starts a line of its own) and what it does with its argument.
struct Option {
    const char* name;
    const char* alias;
    const char* argument;
    bool repeats;
    std::string help;
    bool (*apply)(const std::string& value, Reading* r, std::string* error);
};

bool ReadSize(const char* option, const std::string& v, int* w, int* h, std::string* error) {
    if (ParseSize(v, w, h)) return true;
    *error = std::string(option) + ": expected WxH of at least 640x480, got \"" + v + "\"";
    return false;
}

std::string SetHelp() {
    std::string help = "set a field of the game before the first scene, within what the game can hold:";
    const char* separator = " ";
    for (const StartField& field : StartFields()) {
        help += separator + std::string(field.name) + " " + std::to_string(field.min) + " to " +
                std::to_string(field.max);
        separator = ", ";
    }
    return help;
}

std::string FieldNames() {
    std::string names;
    for (const StartField& field : StartFields())
        names += (names.empty() ? "" : ", ") + std::string(field.name);
    return names;
}

// The command line, one entry an option; --help lists them in this order.
const std::vector<Option>& Options() {
    static const std::vector<Option> options = {
        {"--window", nullptr, "WxH", false, "play in a plain window of that size instead of the full screen",
         [](const std::string& v, Reading* r, std::string* error) {
             RuntimeOptions& run = r->out->runtime;
             return r->windowGiven = ReadSize("--window", v, &run.windowWidth, &run.windowHeight, error);
         }},
        {"--headless", nullptr, nullptr, false,
         "run without display or sound device, on virtual time (16 ms a frame)",
         [](const std::string&, Reading* r, std::string*) {
             r->out->runtime.headless = true;
             return true;
         }},
        {"--screen", nullptr, "WxH", false,
         "the screen of a headless run, in its own pixels (default: the script's SCREEN times the scale, or "
         "1280x720)",
         [](const std::string& v, Reading* r, std::string* error) {
             RuntimeOptions& run = r->out->runtime;
             return r->screenGiven = ReadSize("--screen", v, &run.screenWidth, &run.screenHeight, error);
         }},
        {"--scale", nullptr, "S", false,
         "draw the game's windows S times their size (0.5 to 4; default: the system's own setting, "
         "1 headless); the game sees the screen's size over S, so 3840x2160 at 2 plays as 1920x1080",
         [](const std::string& v, Reading* r, std::string* error) {
             if (ParseScale(v, 0.5, 4.0, &r->out->runtime.scale)) return true;
             *error = "--scale: expected a number from 0.5 to 4 such as 2 or 1.5, got \"" + v + "\"";
             return false;
         }},
        {"--frames", nullptr, "N", false,
         "end after frame N (1 to " + std::to_string(kMaxFrames) + ") has been presented",
         [](const std::string& v, Reading* r, std::string* error) {
             std::int64_t n;
             if (!ParseNumber(v, 1, kMaxFrames, &n)) {
                 *error = "--frames: expected a number of frames from 1 to " + std::to_string(kMaxFrames) +
                          ", got \"" + v + "\"";
                 return false;
             }
             r->out->runtime.frames = n;
             return true;
         }},
        {"--seed", nullptr, "N", false,
         "seed the game's random numbers with N (0 to " + std::to_string(kMaxSeed) + ") instead of the clock",
         [](const std::string& v, Reading* r, std::string* error) {
             std::int64_t n;
             if (!ParseNumber(v, 0, kMaxSeed, &n)) {
                 *error = "--seed: expected a number from 0 to " + std::to_string(kMaxSeed) + ", got \"" + v +
                          "\"";
                 return false;
             }
             r->out->runtime.hasSeed = true;
             r->out->runtime.seed = std::uint32_t(n);
             return true;
         }},
        {"--input", nullptr, "FILE", false,
         "scripted input: lines \"A[-B] TOKEN...\" hold their tokens in frames A to B;\n"
         "keys: RETURN ESCAPE SPACE BACK UP DOWN LEFT RIGHT F2 F5, A to Z, 0 to 9;\n"
         "also TAB, F1 to F12, SHIFT CONTROL MENU (Alt), also with L or R before them;\n"
         "joystick: JX=n JY=n (0..65535) JB=mask; CLOSE asks the window to close;\n"
         "YES NO OK answer a message box;\n"
         "a line \"SCREEN WxH\" names the screen the script was made for;\n"
         "\"SEED N\" is the next seed the game takes from the clock;\n"
         "\"TIME START MS\" sets the timer of frame 1, \"TIME A[-B] MS\" how long frames A to B last;\n"
         "\"NOSOUND A[-B]\": the run's openings A to B of the sound device fail;\n"
         "\"SPEED N\": the run was played at N % of the game's speed (50 to 100)",
         [](const std::string& v, Reading* r, std::string* error) {
             if (!r->out->runtime.script.Load(v, error)) return false;
             r->out->runtime.hasScript = true;
             return true;
         }},
        {"--scene", nullptr, "NAME", false, std::string("start in ") + kSceneNames,
         [](const std::string& v, Reading* r, std::string* error) {
             if (!KnownScene(v)) {
                 *error = "--scene: unknown scene \"" + v + "\" (" + kSceneNames + ")";
                 return false;
             }
             r->out->start.scene = v;
             return true;
         }},
        {"--set", nullptr, "FIELD=VALUE", true, SetHelp(),
         [](const std::string& v, Reading* r, std::string* error) {
             const auto eq = v.find('=');
             const std::string name = v.substr(0, eq);
             const StartField* field = eq == std::string::npos ? nullptr : FindStartField(name);
             if (!field) {
                 *error =
                     "--set: expected FIELD=VALUE with FIELD one of " + FieldNames() + "; got \"" + v + "\"";
                 return false;
             }
             const std::string num = v.substr(eq + 1);
             const bool negative = !num.empty() && num[0] == '-';
             std::int64_t n;
             if (!ParseNumber(negative ? num.substr(1) : num, 0, std::int64_t(1) << 40, &n)) {
                 *error = "--set: " + name + " needs a whole number, got \"" + num + "\"";
                 return false;
             }
             if (negative) n = -n;
             if (n < field->min || n > field->max) {
                 *error = "--set: " + name + "=" + num + " is out of range; " + name + " goes from " +
                          std::to_string(field->min) + " to " + std::to_string(field->max);
                 return false;
             }
             r->out->start.fields.push_back({name, int(n)});
             return true;
         }},
        {"--dump-state", nullptr, nullptr, false, "print the game's state as JSON when the run ends",
         [](const std::string&, Reading* r, std::string*) {
             r->out->dumpState = true;
             return true;
         }},
        {"--screenshot", nullptr, "N:FILE", true, "write the whole screen after frame N to a PNG file",
         [](const std::string& v, Reading* r, std::string* error) {
             const auto colon = v.find(':');
             std::int64_t n;
             if (colon == std::string::npos || !ParseNumber(v.substr(0, colon), 1, kMaxFrames, &n) ||
                 colon + 1 >= v.size()) {
                 *error = "--screenshot: expected N:FILE with a frame number from 1, got \"" + v + "\"";
                 return false;
             }
             r->out->runtime.screenshots.push_back({long(n), Absolute(v.substr(colon + 1))});
             return true;
         }},
        {"--audio-out", nullptr, "FILE.wav", false,
         "headless: write the mixed sound of the run to a WAV file",
         [](const std::string& v, Reading* r, std::string*) {
             r->out->runtime.audioOut = Absolute(v);
             return true;
         }},
        {"--record", nullptr, "FILE", false,
         "write what the run saw (keys, joystick, box answers, close requests, seeds, the screen, the "
         "timer) to FILE as an input script, which --headless --input FILE plays the same way",
         [](const std::string& v, Reading* r, std::string*) {
             r->out->runtime.recordFile = Absolute(v);
             return true;
         }},
        {"--stats", nullptr, nullptr, false,
         "at the end, print frames shown, frames late and CPU time per frame",
         [](const std::string&, Reading* r, std::string*) {
             r->out->runtime.stats = true;
             return true;
         }},
        {"--lang", nullptr, "ja|en", false,
         "the language of the words the player reads (pictures, boxes, captions); default: the "
         "player's setting in a window, ja headless",
         [](const std::string& v, Reading* r, std::string* error) {
             if (v != platform::kJapanese && v != platform::kEnglish) {
                 *error = "--lang: expected ja or en, got \"" + v + "\"";
                 return false;
             }
             r->out->runtime.language = v;
             return true;
         }},
        {"--settings", nullptr, "FILE", false,
         "take the player's settings (keys, pad buttons, volumes, scale, window) from FILE; without it "
         "a window reads the player's own settings.ini and a headless run none",
         [](const std::string& v, Reading* r, std::string*) {
             r->out->runtime.settingsFile = Absolute(v);
             return true;
         }},
        {"--help", "-h", nullptr, false, "print this text",
         [](const std::string&, Reading* r, std::string*) {
             r->out->help = true;
             return true;
         }},
        {"--version", nullptr, nullptr, false, "print the version",
         [](const std::string&, Reading* r, std::string*) {
             r->out->version = true;
             return true;
         }},
    };
    return options;
}

// What a recorded run's replay needs on its command line besides the script: where the run started
// and where it was to end.
std::string ReplayOptions(const CommandLine& cl) {
    std::string options;
    if (cl.start.scene != StartRequest().scene) options += " --scene " + cl.start.scene;
    for (const auto& [name, value] : cl.start.fields)
        options += " --set " + name + "=" + std::to_string(value);
    if (cl.runtime.frames >= 0) options += " --frames " + std::to_string(cl.runtime.frames);
    return options.empty() ? options : options.substr(1);
}

// The widest line of --help.
constexpr std::size_t kWidth = 100;

// The words of text after lead, which is padded to indent columns, in lines of at most kWidth columns,
// each further line indented as far; a line break in text always starts a new line.
std::string Laid(std::string lead, const std::string& text, std::size_t indent) {
    lead.resize(std::max(lead.size(), indent), ' ');
    std::string out = lead;
    std::size_t column = lead.size();
    bool empty = true;  // nothing of text on this line yet
    for (std::size_t pos = 0; pos < text.size();) {
        if (text[pos] == ' ' || text[pos] == '\n') {
            if (text[pos++] == '\n') out += '\n' + std::string(indent, ' '), column = indent, empty = true;
            continue;
        }
        std::size_t end = text.find_first_of(" \n", pos);
        if (end == std::string::npos) end = text.size();
        if (!empty && column + 1 + (end - pos) > kWidth)
            out += '\n' + std::string(indent, ' '), column = indent, empty = true;
        if (!empty) out += ' ', ++column;
        out.append(text, pos, end - pos);
        column += end - pos;
        empty = false;
        pos = end;
    }
    return out + '\n';
}

// How --help shows an option: its names and its argument.
std::string Synopsis(const Option& option) {
    std::string s = option.name;
    if (option.alias) s += std::string(", ") + option.alias;
    if (option.argument) s += std::string(" ") + option.argument;
    return s;
}

}  // namespace

std::string UsageText() {
    std::string usage, list;
    std::size_t column = 0;
    for (const Option& option : Options()) column = std::max(column, Synopsis(option).size());
    column += 4;  // two spaces before the names, two after the longest
    for (const Option& option : Options()) {
        usage += std::string(usage.empty() ? "" : " ") + "[" + option.name +
                 (option.argument ? std::string(" ") + option.argument : "") + "]" +
                 (option.repeats ? "..." : "");
        list += Laid("  " + Synopsis(option), option.help, column);
    }
    const std::string lead = "usage: rushmora ";
    return Laid(lead, usage, lead.size()) + "\n" + list;
}

bool ParseCommandLine(int argc, const char* const* argv, CommandLine* out, std::string* error) {
    Reading reading{out};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const Option* option = nullptr;
        for (const Option& o : Options())
            if (arg == o.name || (o.alias && arg == o.alias)) option = &o;
        if (!option) {
            *error = "unknown option \"" + arg + "\" (see --help)";
            return false;
        }
        std::string value;
        if (option->argument) {
            if (i + 1 >= argc) {
                *error = arg + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!option->apply(value, &reading, error)) return false;
    }
    const bool screenGiven = reading.screenGiven, windowGiven = reading.windowGiven;
    if (screenGiven && !out->runtime.headless) {
        *error = "--screen is for headless runs; use --window WxH for a window of that size";
        return false;
    }
    if (windowGiven && out->runtime.headless) {
        *error = "--window and --headless do not go together; a headless run takes --screen WxH";
        return false;
    }
    if (!out->runtime.audioOut.empty() && !out->runtime.headless) {
        *error = "--audio-out is for headless runs";
        return false;
    }
    if (!out->runtime.recordFile.empty()) out->runtime.recordOptions = ReplayOptions(*out);
    // Knocked-away passers-by bounce at the screen's edges, so a replay plays out as it was made only
    // on the screen it was made on: a script that names its screen gets it, unless --screen says
    // otherwise.
    // The frame window stands whole on the game's screen: a scale that would leave less shrinks.
    RuntimeOptions& run = out->runtime;
    run.leastScreenWidth = kFrameWindowX + kFrameWindowWidth;
    run.leastScreenHeight = kFrameWindowY + kFrameWindowHeight;
    const platform::InputScript& script = run.script;
    if (run.hasScript && script.ScreenWidth() > 0 && run.headless) {
        if (!screenGiven) {
            // The script names the game's screen: the display is that times the scale, as it is.
            const double scale = run.scale > 0 ? run.scale : 1.0;
            run.screenWidth = int(std::ceil(script.ScreenWidth() * scale - 1e-6));
            run.screenHeight = int(std::ceil(script.ScreenHeight() * scale - 1e-6));
            run.leastScreenWidth = run.leastScreenHeight = 0;
        }
        const platform::ScreenFit fit = platform::FitScreen(run.screenWidth, run.screenHeight, run.scale,
                                                            run.leastScreenWidth, run.leastScreenHeight);
        const std::string warning = ScreenWarning(run, fit.width, fit.height);
        if (!warning.empty()) out->warnings.push_back(warning);
    }
    return true;
}

std::string ScreenWarning(const platform::RuntimeOptions& runtime, int width, int height) {
    const platform::InputScript& script = runtime.script;
    if (!runtime.hasScript || script.ScreenWidth() == 0 ||
        (script.ScreenWidth() == width && script.ScreenHeight() == height))
        return "";
    return "the input script was made for a " + std::to_string(script.ScreenWidth()) + "x" +
           std::to_string(script.ScreenHeight()) + " screen and this run's is " + std::to_string(width) +
           "x" + std::to_string(height) +
           ": passers-by bounce at the screen's edges, so the run may not go as it did";
}
