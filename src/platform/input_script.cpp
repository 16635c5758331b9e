#include "platform/input_script.h"

#include "platform/win32.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace platform {

int VirtualKeyFromName(const std::string& name) {
    static const struct {
        const char* name;
        int vk;
    } keys[] = {{"RETURN", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"SPACE", VK_SPACE}, {"BACK", VK_BACK},
                {"UP", VK_UP},         {"DOWN", VK_DOWN},     {"LEFT", VK_LEFT},   {"RIGHT", VK_RIGHT},
                {"F2", VK_F2},         {"F5", VK_F5}};
    for (const auto& k : keys)
        if (name == k.name) return k.vk;
    if (name.size() == 1) {
        char c = name[0];
        if (c >= 'A' && c <= 'Z') return c;
        if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
        if (c >= '0' && c <= '9') return c;
    }
    return 0;
}

namespace {

bool ParseNumber(const std::string& s, long* out) {
    if (s.empty() || s.size() > 10) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    *out = std::stol(s);
    return true;
}

}  // namespace

bool InputScript::Parse(const std::string& text, const std::string& fileName, std::string* error) {
    const bool ok = ParseLines(text, fileName, error);
    IndexFrames();
    return ok;
}

bool InputScript::ParseLines(const std::string& text, const std::string& fileName, std::string* error) {
    ranges_.clear();
    usesJoystick_ = false;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& what) {
        *error = fileName + ":" + std::to_string(lineNo) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string frames;
        if (!(words >> frames)) continue;
        ScriptRange r;
        auto dash = frames.find('-');
        if (!ParseNumber(frames.substr(0, dash), &r.first) ||
            (dash != std::string::npos && !ParseNumber(frames.substr(dash + 1), &r.last)))
            return fail("expected frames as A or A-B, got \"" + frames + "\"");
        if (dash == std::string::npos) r.last = r.first;
        if (r.first < 1) return fail("frames are numbered from 1");
        if (r.last < r.first) return fail("the range " + frames + " ends before it starts");
        std::string token;
        bool any = false;
        while (words >> token) {
            any = true;
            auto eq = token.find('=');
            if (eq != std::string::npos) {
                std::string name = token.substr(0, eq), value = token.substr(eq + 1);
                long v = 0;
                bool ok = false;
                if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
                    char* end = nullptr;
                    v = std::strtol(value.c_str() + 2, &end, 16);
                    ok = end && *end == 0 && value.size() <= 10;
                } else {
                    ok = ParseNumber(value, &v);
                }
                if (!ok) return fail("bad value in \"" + token + "\"");
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
                r.keys.push_back(std::uint8_t(vk));
            } else {
                return fail("unknown token \"" + token + "\"");
            }
        }
        if (!any) return fail("no token after the frames");
        ranges_.push_back(r);
    }
    return true;
}

bool InputScript::Load(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": cannot read the input script";
        return false;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    return Parse(ss.str(), path, error);
}

void InputScript::IndexFrames() {
    states_.clear();
    std::vector<long> starts;
    for (const ScriptRange& r : ranges_) {
        starts.push_back(r.first);
        starts.push_back(r.last + 1);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::vector<std::size_t> byFirst(ranges_.size()), byEnd(ranges_.size());
    for (std::size_t i = 0; i < ranges_.size(); ++i) byFirst[i] = byEnd[i] = i;
    std::sort(byFirst.begin(), byFirst.end(),
              [&](std::size_t a, std::size_t b) { return ranges_[a].first < ranges_[b].first; });
    std::sort(byEnd.begin(), byEnd.end(),
              [&](std::size_t a, std::size_t b) { return ranges_[a].last < ranges_[b].last; });
    // Sweep the run starts with the directives holding at each, kept in the order of the file.
    std::set<std::size_t> holding;
    std::size_t nextFirst = 0, nextEnd = 0;
    states_.reserve(starts.size());
    for (long start : starts) {
        for (; nextFirst < byFirst.size() && ranges_[byFirst[nextFirst]].first <= start; ++nextFirst)
            holding.insert(byFirst[nextFirst]);
        for (; nextEnd < byEnd.size() && ranges_[byEnd[nextEnd]].last < start; ++nextEnd)
            holding.erase(byEnd[nextEnd]);
        ScriptFrameState state;
        state.first = start;
        bool held[256] = {};
        for (std::size_t i : holding) {
            const ScriptRange& r = ranges_[i];
            for (std::uint8_t k : r.keys)
                if (!held[k]) {
                    held[k] = true;
                    state.keys.push_back(k);
                }
            if (r.hasJoyX) state.joyX = r.joyX;
            if (r.hasJoyY) state.joyY = r.joyY;
            if (r.hasJoyButtons) state.joyButtons |= r.joyButtons;
            if (r.close) state.close = true;
            if (r.answer) state.answer = r.answer;
        }
        states_.push_back(std::move(state));
    }
}

const ScriptFrameState* InputScript::StateAt(long frame) const {
    auto after = std::upper_bound(states_.begin(), states_.end(), frame,
                                  [](long f, const ScriptFrameState& s) { return f < s.first; });
    return after == states_.begin() ? nullptr : &*(after - 1);
}

void InputScript::KeysAt(long frame, std::uint8_t keys[256]) const {
    if (const ScriptFrameState* s = StateAt(frame))
        for (std::uint8_t k : s->keys) keys[k] = 0x80;
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
