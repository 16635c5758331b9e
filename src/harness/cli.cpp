#include "harness/cli.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

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

// The values --set takes: what the game itself can come to, and what the result screen can show.
struct FieldRange {
    std::int64_t min, max;
};
FieldRange RangeOf(const std::string& field) {
    if (field == "gameMode") return {0, 1};  // the first leg, or the second
    if (field == "arrivalRank") return {0, 6};
    if (field == "elapsedClock") return {-1440000, 1440000};  // a day of the game clock either way
    if (field == "resultCount") return {0, 9999};             // the four places of the count line
    return {-999999, 999999};                                 // totalScore: the six places of the score line
}

bool ParseSize(const std::string& s, int* w, int* h) {
    return platform::ParseScreenSize(s, 640, 480, 16384, w, h);
}

// The game works inside its data folder: files named on the command line are taken from where the
// command was given.
std::string Absolute(const std::string& path) {
    if (path.empty() || std::filesystem::path(path).is_absolute()) return path;
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.string();
}

}  // namespace

const char* UsageText() {
    return "usage: rushmora [--window WxH] [--headless] [--screen WxH] [--frames N] [--seed N] [--input "
           "FILE]\n"
           "                [--scene NAME] [--set FIELD=VALUE]... [--dump-state] [--screenshot N:FILE]...\n"
           "                [--audio-out FILE.wav] [--stats] [--help] [--version]\n"
           "\n"
           "  --window WxH         play in a plain window of that size instead of the full screen\n"
           "  --headless           run without display or sound device, on virtual time (16 ms a frame)\n"
           "  --screen WxH         the screen of a headless run (default: the script's SCREEN, or 1280x720)\n"
           "  --frames N           end after frame N has been presented\n"
           "  --seed N             seed the game's random numbers with N instead of the clock\n"
           "  --input FILE         scripted input: lines \"A[-B] TOKEN...\" holding tokens in frames A to "
           "B;\n"
           "                       tokens: RETURN ESCAPE SPACE BACK UP DOWN LEFT RIGHT F2 F5, a letter or "
           "digit,\n"
           "                       JX=n JY=n (0..65535) JB=mask, CLOSE, YES NO OK (answers to message "
           "boxes);\n"
           "                       a line \"SCREEN WxH\" names the screen the script was made for\n"
           "  --scene NAME         start in Logo, Title, CharaSelect, Option, Help, Game or GameClear\n"
           "  --set FIELD=VALUE    set gameMode, arrivalRank, elapsedClock, resultCount or totalScore first\n"
           "  --dump-state         print the game's state as JSON when the run ends\n"
           "  --screenshot N:FILE  write the whole screen after frame N to a PNG file\n"
           "  --audio-out FILE     headless: write the mixed sound of the run to a WAV file\n"
           "  --stats              at the end, print frames shown, frames late and CPU time per frame\n"
           "  --help, --version    print this text, or the version\n";
}

bool ParseCommandLine(int argc, const char* const* argv, CommandLine* out, std::string* error) {
    bool screenGiven = false, windowGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string* v) {
            if (i + 1 >= argc) {
                *error = arg + " needs a value";
                return false;
            }
            *v = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            out->help = true;
        } else if (arg == "--version") {
            out->version = true;
        } else if (arg == "--headless") {
            out->runtime.headless = true;
        } else if (arg == "--dump-state") {
            out->dumpState = true;
        } else if (arg == "--stats") {
            out->runtime.stats = true;
        } else if (arg == "--window" || arg == "--screen") {
            if (!value(&v)) return false;
            int w, h;
            if (!ParseSize(v, &w, &h)) {
                *error = arg + ": expected WxH of at least 640x480, got \"" + v + "\"";
                return false;
            }
            if (arg == "--window") {
                out->runtime.windowWidth = w, out->runtime.windowHeight = h, windowGiven = true;
            } else {
                out->runtime.screenWidth = w, out->runtime.screenHeight = h, screenGiven = true;
            }
        } else if (arg == "--frames") {
            std::int64_t n;
            if (!value(&v)) return false;
            if (!ParseNumber(v, 1, std::int64_t(1) << 30, &n)) {
                *error = "--frames: expected a number of frames from 1 to 1073741824, got \"" + v + "\"";
                return false;
            }
            out->runtime.frames = n;
        } else if (arg == "--seed") {
            std::int64_t n;
            if (!value(&v)) return false;
            if (!ParseNumber(v, 0, 4294967295, &n)) {
                *error = "--seed: expected a number from 0 to 4294967295, got \"" + v + "\"";
                return false;
            }
            out->runtime.hasSeed = true;
            out->runtime.seed = std::uint32_t(n);
        } else if (arg == "--input") {
            if (!value(&v)) return false;
            if (!out->runtime.script.Load(v, error)) return false;
            out->runtime.hasScript = true;
        } else if (arg == "--scene") {
            if (!value(&v)) return false;
            if (!KnownScene(v)) {
                *error = "--scene: unknown scene \"" + v +
                         "\" (Logo, Title, CharaSelect, Option, Help, Game or GameClear)";
                return false;
            }
            if (!SceneAvailable(v)) {
                *error = "--scene: the " + v + " scene is not in this build yet";
                return false;
            }
            out->start.scene = v;
        } else if (arg == "--set") {
            if (!value(&v)) return false;
            auto eq = v.find('=');
            std::int64_t n;
            std::string name = v.substr(0, eq);
            if (eq == std::string::npos || !KnownAppField(name)) {
                *error =
                    "--set: expected FIELD=VALUE with FIELD one of gameMode, arrivalRank, elapsedClock, "
                    "resultCount, totalScore; got \"" +
                    v + "\"";
                return false;
            }
            std::string num = v.substr(eq + 1);
            bool negative = !num.empty() && num[0] == '-';
            if (!ParseNumber(negative ? num.substr(1) : num, 0, std::int64_t(1) << 40, &n)) {
                *error = "--set: " + name + " needs a whole number, got \"" + num + "\"";
                return false;
            }
            if (negative) n = -n;
            const FieldRange range = RangeOf(name);
            if (n < range.min || n > range.max) {
                *error = "--set: " + name + "=" + num + " is out of range; " + name + " goes from " +
                         std::to_string(range.min) + " to " + std::to_string(range.max);
                return false;
            }
            out->start.fields.push_back({name, int(n)});
        } else if (arg == "--screenshot") {
            if (!value(&v)) return false;
            auto colon = v.find(':');
            std::int64_t n;
            if (colon == std::string::npos ||
                !ParseNumber(v.substr(0, colon), 1, std::int64_t(1) << 30, &n) || colon + 1 >= v.size()) {
                *error = "--screenshot: expected N:FILE with a frame number from 1, got \"" + v + "\"";
                return false;
            }
            out->runtime.screenshots.push_back({long(n), Absolute(v.substr(colon + 1))});
        } else if (arg == "--audio-out") {
            if (!value(&v)) return false;
            out->runtime.audioOut = Absolute(v);
        } else {
            *error = "unknown option \"" + arg + "\" (see --help)";
            return false;
        }
    }
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
    // Knocked-away passers-by bounce at the screen's edges, so a replay plays out as it was made only
    // on the screen it was made on: a script that names its screen gets it, unless --screen says
    // otherwise.
    const platform::InputScript& script = out->runtime.script;
    if (out->runtime.hasScript && script.ScreenWidth() > 0 && out->runtime.headless) {
        if (!screenGiven) {
            out->runtime.screenWidth = script.ScreenWidth();
            out->runtime.screenHeight = script.ScreenHeight();
        }
        const std::string warning =
            ScreenWarning(out->runtime, out->runtime.screenWidth, out->runtime.screenHeight);
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
