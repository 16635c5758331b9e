#include "platform/input_script.h"

#include "platform/win32.h"
#include "platform/common/text.h"
#include "platform/files/file_handle.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cerrno>
#include <set>
#include <sstream>
#include <system_error>

namespace platform {

namespace {

// The keys a script names, as the keyboard gives them to the game: the game's own keys first, then
// the others a recorded run may hold (Tab, the function keys, Shift, Ctrl and Alt with each of the
// pair apart).
const struct {
    const char* name;
    int vk;
} kNamedKeys[] = {{"RETURN", VK_RETURN},
                  {"ESCAPE", VK_ESCAPE},
                  {"SPACE", VK_SPACE},
                  {"BACK", VK_BACK},
                  {"UP", VK_UP},
                  {"DOWN", VK_DOWN},
                  {"LEFT", VK_LEFT},
                  {"RIGHT", VK_RIGHT},
                  {"F1", VK_F1},
                  {"F2", VK_F2},
                  {"F3", VK_F3},
                  {"F4", VK_F4},
                  {"F5", VK_F5},
                  {"F6", VK_F6},
                  {"F7", VK_F7},
                  {"F8", VK_F8},
                  {"F9", VK_F9},
                  {"F10", VK_F10},
                  {"F11", VK_F11},
                  {"F12", VK_F12},
                  {"TAB", VK_TAB},
                  {"SHIFT", VK_SHIFT},
                  {"LSHIFT", VK_LSHIFT},
                  {"RSHIFT", VK_RSHIFT},
                  {"CONTROL", VK_CONTROL},
                  {"LCONTROL", VK_LCONTROL},
                  {"RCONTROL", VK_RCONTROL},
                  {"MENU", VK_MENU},
                  {"LMENU", VK_LMENU},
                  {"RMENU", VK_RMENU}};

}  // namespace

int VirtualKeyFromName(const std::string& name) {
    for (const auto& k : kNamedKeys)
        if (name == k.name) return k.vk;
    if (name.size() == 1) {
        char c = name[0];
        if (c >= 'A' && c <= 'Z') return c;
        if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
        if (c >= '0' && c <= '9') return c;
    }
    return 0;
}

const char* VirtualKeyName(int vk) {
    for (const auto& k : kNamedKeys)
        if (vk == k.vk) return k.name;
    // A letter or a digit is its own name.
    static const auto singles = [] {
        std::array<char[2], 128> names{};
        for (int c = '0'; c <= '9'; ++c) names[std::size_t(c)][0] = char(c);
        for (int c = 'A'; c <= 'Z'; ++c) names[std::size_t(c)][0] = char(c);
        return names;
    }();
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return singles[std::size_t(vk)];
    return nullptr;
}

namespace {

// A whole number of plain decimal digits (no sign, no spaces) up to max.
using text::ParseDecimal;

// A value of a joystick token: decimal digits, or 0x and one to eight hexadecimal digits.
bool ParseValue(const std::string& s, std::int64_t* out) {
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        if (s.size() > 10) return false;
        std::int64_t v = 0;
        for (std::size_t i = 2; i < s.size(); ++i) {
            const int d = platform::text::HexDigit(s[i]);
            if (d < 0) return false;
            v = v * 16 + d;
        }
        *out = v;
        return true;
    }
    return ParseDecimal(s, 0xFFFFFFFF, out);
}

// Calls f with every key of the set.
template <typename F>
void ForEachKey(const KeySet& keys, F f) {
    for (std::size_t w = 0; w < keys.size(); ++w)
        for (std::uint64_t bits = keys[w]; bits; bits &= bits - 1)
            f(int(w * 64 + std::size_t(std::countr_zero(bits))));
}

}  // namespace

bool ParseScreenSize(const std::string& text, int minWidth, int minHeight, int max, int* width, int* height) {
    const auto x = text.find('x');
    std::int64_t w, h;
    if (x == std::string::npos || !ParseDecimal(text.substr(0, x), max, &w) ||
        !ParseDecimal(text.substr(x + 1), max, &h) || w < minWidth || h < minHeight)
        return false;
    *width = int(w);
    *height = int(h);
    return true;
}

bool InputScript::Parse(const std::string& text, const std::string& fileName, std::string* error) {
    std::vector<ScriptRange> ranges;
    const bool ok = ParseLines(text, fileName, &ranges, error);
    IndexFrames(ranges);
    return ok;
}

bool InputScript::ParseLines(const std::string& text, const std::string& fileName,
                             std::vector<ScriptRange>* ranges, std::string* error) {
    usesJoystick_ = false;
    screenWidth_ = screenHeight_ = 0;
    seeds_.clear();
    hasTimes_ = false;
    timerStart_ = kTimerStart;
    times_.clear();
    soundFails_.clear();
    lowestSpeed_ = 100;
    bool timerStartGiven = false;
    std::istringstream in(text);
    std::string line;
    long lineNo = 0;
    auto fail = [&](const std::string& what) {
        *error = fileName + ":" + std::to_string(lineNo) + ": " + what;
        return false;
    };
    // "A" or "A-B" into first and last; what is wrong with it otherwise.
    auto readFrames = [](const std::string& frames, long* first, long* last) -> std::string {
        const auto dash = frames.find('-');
        std::int64_t a = 0, b = 0;
        if (!ParseDecimal(frames.substr(0, dash), kMaxFrame, &a) ||
            (dash != std::string::npos && !ParseDecimal(frames.substr(dash + 1), kMaxFrame, &b)))
            return "expected frames as A or A-B, numbered from 1 to " + std::to_string(kMaxFrame) +
                   ", got \"" + frames + "\"";
        *first = long(a);
        *last = dash == std::string::npos ? *first : long(b);
        if (*first < 1) return "frames are numbered from 1";
        if (*last < *first) return "the range " + frames + " ends before it starts";
        return "";
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string frames;
        if (!(words >> frames)) continue;
        if (frames == "SCREEN") {
            std::string size, rest;
            if (!(words >> size) || (words >> rest) ||
                !ParseScreenSize(size, 640, 480, 16384, &screenWidth_, &screenHeight_))
                return fail("expected SCREEN WxH of at least 640x480");
            continue;
        }
        if (frames == "SEED") {
            std::string value, rest;
            std::int64_t seed = 0;
            if (!(words >> value) || (words >> rest) || !ParseDecimal(value, 0xFFFFFFFF, &seed))
                return fail("expected SEED N with N from 0 to 4294967295");
            seeds_.push_back(std::uint32_t(seed));
            continue;
        }
        if (frames == "SPEED") {
            // The game's speed the run was played at: the replay is the same frame by frame at any.
            std::string value, rest;
            std::int64_t percent = 0;
            if (!(words >> value) || (words >> rest) || !ParseDecimal(value, 100, &percent) || percent < 50)
                return fail("expected SPEED N with N from 50 to 100 (percent)");
            lowestSpeed_ = std::min(lowestSpeed_, int(percent));
            continue;
        }
        if (frames == "NOSOUND") {
            std::string which, rest;
            long first = 0, last = 0;
            if (!(words >> which) || (words >> rest))
                return fail("expected NOSOUND A[-B], the openings of the sound device that failed");
            if (std::string wrong = readFrames(which, &first, &last); !wrong.empty())
                return fail("NOSOUND: " + wrong);
            soundFails_.emplace_back(first, last);
            continue;
        }
        if (frames == "TIME") {
            std::string when, value, rest;
            std::int64_t ms = 0;
            if (!(words >> when) || !(words >> value) || (words >> rest) ||
                !ParseDecimal(value, 0xFFFFFFFF, &ms))
                return fail("expected TIME START MS or TIME A[-B] MS, with MS from 0 to 4294967295");
            hasTimes_ = true;
            if (when == "START") {
                if (timerStartGiven) return fail("TIME START is given twice");
                timerStartGiven = true;
                timerStart_ = std::uint32_t(ms);
                continue;
            }
            TimedFrames t{0, 0, std::uint32_t(ms), lineNo};
            if (std::string wrong = readFrames(when, &t.first, &t.last); !wrong.empty()) return fail(wrong);
            times_.push_back(t);
            continue;
        }
        ScriptRange r;
        if (std::string wrong = readFrames(frames, &r.first, &r.last); !wrong.empty()) return fail(wrong);
        std::string token;
        bool any = false;
        while (words >> token) {
            any = true;
            auto eq = token.find('=');
            if (eq != std::string::npos) {
                std::string name = token.substr(0, eq), value = token.substr(eq + 1);
                std::int64_t v = 0;
                if (!ParseValue(value, &v)) return fail("bad value in \"" + token + "\"");
                if (name == "JX" || name == "JY") {
                    if (v > 65535) return fail(name + " must be 0..65535");
                    (name == "JX" ? r.hasJoyX : r.hasJoyY) = true;
                    (name == "JX" ? r.joyX : r.joyY) = unsigned(v);
                } else if (name == "JB") {
                    r.hasJoyButtons = true;
                    r.joyButtons = unsigned(v);
                } else {
                    return fail("unknown token \"" + token + "\"");
                }
                usesJoystick_ = true;
            } else if (token == "CLOSE") {
                r.close = true;
            } else if (token == "YES") {
                r.answer = IDYES;
            } else if (token == "NO") {
                r.answer = IDNO;
            } else if (token == "OK") {
                r.answer = IDOK;
            } else if (int vk = VirtualKeyFromName(token)) {
                if (token.size() == 1 && std::islower(static_cast<unsigned char>(token[0])))
                    return fail("key letters are written in capitals: \"" + token + "\"");
                r.keys[std::size_t(vk) / 64] |= std::uint64_t(1) << (vk % 64);
            } else {
                return fail("unknown token \"" + token + "\"");
            }
        }
        if (!any) return fail("no token after the frames");
        ranges->push_back(r);
    }
    // A frame lasts one time: two TIME lines that both name it are a mistake.
    std::stable_sort(times_.begin(), times_.end(),
                     [](const TimedFrames& a, const TimedFrames& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < times_.size(); ++i)
        if (const TimedFrames& a = times_[i - 1], &b = times_[i]; b.first <= a.last) {
            lineNo = std::max(a.line, b.line);
            return fail("frame " + std::to_string(b.first) + " is given its time twice (also on line " +
                        std::to_string(std::min(a.line, b.line)) + ")");
        }
    return true;
}

std::uint32_t InputScript::FrameMs(long frame) const {
    auto after = std::upper_bound(times_.begin(), times_.end(), frame,
                                  [](long f, const TimedFrames& t) { return f < t.first; });
    if (after == times_.begin() || frame > (after - 1)->last) return kFrameMs;
    return (after - 1)->ms;
}

bool InputScript::SoundOpeningFails(long opening) const {
    return std::any_of(soundFails_.begin(), soundFails_.end(),
                       [opening](const auto& r) { return opening >= r.first && opening <= r.second; });
}

bool InputScript::Load(const std::string& path, std::string* error) {
    // Only a plain file: a folder, a device or a pipe is no script, and /dev/zero would never end.
    // Read up to the bound, so that a file that grows while it is read is caught too.
    std::vector<unsigned char> bytes;
    if (!platform::files::ReadRegularFileAsNamed(path, &bytes, kMaxBytes)) {
        *error = errno == EINVAL ? path + ": the input script is not a regular file"
                 : errno == EFBIG
                     ? path + ": the input script is larger than " + std::to_string(kMaxBytes >> 20) + " MB"
                     : path + ": cannot read the input script";
        return false;
    }
    const std::string text(bytes.begin(), bytes.end());
    return Parse(text, path, error);
}

void InputScript::IndexFrames(const std::vector<ScriptRange>& ranges) {
    states_.clear();
    std::vector<long> starts;
    starts.reserve(2 * ranges.size());
    for (const ScriptRange& r : ranges) {
        starts.push_back(r.first);
        starts.push_back(r.last + 1);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::vector<std::size_t> byFirst(ranges.size()), byEnd(ranges.size());
    for (std::size_t i = 0; i < ranges.size(); ++i) byFirst[i] = byEnd[i] = i;
    std::stable_sort(byFirst.begin(), byFirst.end(),
                     [&](std::size_t a, std::size_t b) { return ranges[a].first < ranges[b].first; });
    std::stable_sort(byEnd.begin(), byEnd.end(),
                     [&](std::size_t a, std::size_t b) { return ranges[a].last < ranges[b].last; });
    // Sweep the run starts, keeping counts of what the directives holding there give: how many hold
    // each key, each button bit and CLOSE, and, for the joystick axes and the answer, which of them
    // do, in the order of the file (the latest line wins).
    int keyCount[256] = {}, buttonCount[32] = {}, closeCount = 0;
    std::set<std::size_t> joyX, joyY, answers;
    ScriptFrameState held;
    auto change = [&](std::size_t i, int by) {
        const ScriptRange& r = ranges[i];
        ForEachKey(r.keys, [&](int k) {
            const std::uint64_t bit = std::uint64_t(1) << (k % 64);
            std::uint64_t& word = held.keys[std::size_t(k) / 64];
            word = (keyCount[k] += by) > 0 ? word | bit : word & ~bit;
        });
        if (r.hasJoyButtons)
            for (int b = 0; b < 32; ++b)
                if (r.joyButtons >> b & 1u) {
                    buttonCount[b] += by;
                    held.joyButtons = (held.joyButtons & ~(1u << b)) | (buttonCount[b] > 0 ? 1u << b : 0u);
                }
        if (r.close) held.close = (closeCount += by) > 0;
        const std::pair<bool, std::set<std::size_t>*> latest[] = {
            {r.hasJoyX, &joyX}, {r.hasJoyY, &joyY}, {r.answer != 0, &answers}};
        for (const auto& [has, set] : latest) {
            if (has && by > 0) set->insert(i);
            if (has && by < 0) set->erase(i);
        }
    };
    std::size_t nextFirst = 0, nextEnd = 0;
    for (long start : starts) {
        for (; nextFirst < byFirst.size() && ranges[byFirst[nextFirst]].first <= start; ++nextFirst)
            change(byFirst[nextFirst], 1);
        for (; nextEnd < byEnd.size() && ranges[byEnd[nextEnd]].last < start; ++nextEnd)
            change(byEnd[nextEnd], -1);
        held.first = start;
        held.joyX = joyX.empty() ? 32767 : ranges[*joyX.rbegin()].joyX;
        held.joyY = joyY.empty() ? 32767 : ranges[*joyY.rbegin()].joyY;
        held.answer = answers.empty() ? 0 : ranges[*answers.rbegin()].answer;
        // A run that gives just what the one before gave is part of it.
        if (!states_.empty()) {
            const ScriptFrameState& p = states_.back();
            if (p.keys == held.keys && p.joyX == held.joyX && p.joyY == held.joyY &&
                p.joyButtons == held.joyButtons && p.close == held.close && p.answer == held.answer)
                continue;
        }
        states_.push_back(held);
    }
}

const ScriptFrameState* InputScript::StateAt(long frame) const {
    auto after = std::upper_bound(states_.begin(), states_.end(), frame,
                                  [](long f, const ScriptFrameState& s) { return f < s.first; });
    return after == states_.begin() ? nullptr : &*(after - 1);
}

void InputScript::KeysAt(long frame, std::uint8_t keys[256]) const {
    if (const ScriptFrameState* s = StateAt(frame)) ForEachKey(s->keys, [&](int k) { keys[k] = 0x80; });
}

void InputScript::JoystickAt(long frame, unsigned* x, unsigned* y, unsigned* buttons) const {
    const ScriptFrameState* s = StateAt(frame);
    *x = s ? s->joyX : 32767;
    *y = s ? s->joyY : 32767;
    *buttons = s ? s->joyButtons : 0;
}

bool InputScript::CloseAt(long frame) const {
    const ScriptFrameState* s = StateAt(frame);
    return s && s->close;
}

int InputScript::AnswerAt(long frame) const {
    const ScriptFrameState* s = StateAt(frame);
    return s ? s->answer : 0;
}

}  // namespace platform
