// The keys the pictures show: the caps keycaps.txt lists, drawn anew with the player's keys or the
// pad's buttons. A cap's label says which of the game's keys it stands for by the key it was drawn
// with (a game key's default key, the arrows, or the pad's button "ボタン3"/"Button 3"); a label that
// is none of them (F1, F5, "スティック") stays as drawn. On a pad, the caps of the stick's directions
// show the pad's cross with the arms they stand for, and a key the pad has no button for stays.
#include "platform/desktop/key_prompts.h"

#include "platform/common/owner.h"
#include "platform/common/text.h"
#include "platform/desktop/desktop_state.h"
#include "platform/files/file_handle.h"
#include "platform/files/file_warnings.h"
#include "platform/pictures/picture_cache.h"
#include "platform/raster/draw_list.h"
#include "platform/settings/settings.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace platform::desktop {
namespace {

constexpr std::size_t kMaxListBytes = std::size_t(1) << 20;  // the game's lists are a few KB
constexpr std::size_t kMaxCaps = 4096;
constexpr std::int64_t kMaxTexel = 1 << 16;  // wider than any texture
// The face drawn anew stays this far inside the cap's edge, so that its outline and rounded corners
// stay the picture's own.
constexpr int kInset = 3;
constexpr int kSmallestText = 6;

constexpr std::array<const char*, 10> kSteamDeckNames = {"A",  "B",    "X",    "Y",  "L1",
                                                         "R1", "View", "Menu", "L3", "R3"};
constexpr Uint16 kValve = 0x28de;

// ---- the lists ----------------------------------------------------------------------------------------

struct LiveTexture {
    std::weak_ptr<raster::TextureData> texture;
    std::shared_ptr<const pictures::Picture> picture;  // its texels as decoded, never written
    std::string file;
    unsigned version = 0;  // the texture's version when its caps were last drawn: another means the
                           // game wrote on it, and it is left alone from then on
};

struct Prompts {
    std::map<std::string, std::vector<KeyCap>> lists;  // by the list's file, read at the first need
    std::set<std::string> told;                        // caps told once to lie outside their picture
    PromptFamily family = PromptFamily::kKeyboard;
    // What the live textures show: the family and settings they were drawn for.
    bool shown = false;
    PromptFamily shownFamily = PromptFamily::kKeyboard;
    std::vector<SDL_Scancode> shownKeys;
    std::array<SDL_GameControllerButton, 10> shownButtons{};
    unsigned version = 0;
    std::vector<LiveTexture> live;
};

Prompts& ThePrompts() {
    return owner::Part<Prompts>(owner::Life::Run);
}

// The fields of a line, apart by spaces or tabs; one in double quotes holds spaces and ends at the next
// quote. quoted[i] says whether field i was.
bool SplitFields(const std::string& line, std::vector<std::string>* fields, std::vector<bool>* quoted) {
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        if (line[i] == '"') {
            const std::size_t end = line.find('"', i + 1);
            if (end == std::string::npos) return false;
            if (end + 1 < line.size() && line[end + 1] != ' ' && line[end + 1] != '\t') return false;
            fields->push_back(line.substr(i + 1, end - i - 1));
            quoted->push_back(true);
            i = end + 1;
            continue;
        }
        std::size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
        fields->push_back(line.substr(i, end - i));
        quoted->push_back(false);
        i = end;
    }
    return true;
}

bool ParseColour(const std::string& s, std::uint32_t* out) {
    if (s.size() != 7 || s[0] != '#') return false;
    std::uint32_t v = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        const int d = text::HexDigit(s[i]);
        if (d < 0) return false;
        v = v << 4 | std::uint32_t(d);
    }
    *out = 0xFF000000u | v;
    return true;
}

// A size such as "12" or "5.6", from 1 to 200.
bool ParseSize(const std::string& s, double* out) {
    const std::size_t dot = s.find('.');
    std::int64_t whole = 0, part = 0;
    if (!text::ParseDecimal(s.substr(0, dot), 200, &whole)) return false;
    double v = double(whole);
    if (dot != std::string::npos) {
        const std::string digits = s.substr(dot + 1);
        if (digits.empty() || digits.size() > 6 || !text::ParseDecimal(digits, 999999, &part)) return false;
        v += double(part) / std::pow(10.0, double(digits.size()));
    }
    if (v < 1 || v > 200) return false;
    *out = v;
    return true;
}

bool ParseCap(const std::string& line, KeyCap* cap, std::string* why) {
    std::vector<std::string> f;
    std::vector<bool> quoted;
    if (!SplitFields(line, &f, &quoted)) {
        *why = "a quote that does not end where a field ends";
        return false;
    }
    if (f.size() != 9) {
        *why = std::to_string(f.size()) + " fields where a cap has 9";
        return false;
    }
    if (!quoted[0] || !quoted[8] || f[0].empty() || f[8].empty()) {
        *why = "the picture and the label go in double quotes";
        return false;
    }
    std::int64_t n[4];
    for (int i = 0; i < 4; ++i)
        if (!text::ParseDecimal(f[std::size_t(1 + i)], kMaxTexel, &n[i])) {
            *why = "its rectangle is not four numbers of texels";
            return false;
        }
    if (n[2] == 0 || n[3] == 0) {
        *why = "its rectangle is empty";
        return false;
    }
    if (!ParseColour(f[5], &cap->faceColour) || !ParseColour(f[6], &cap->textColour)) {
        *why = "a colour that is not #rrggbb";
        return false;
    }
    if (!ParseSize(f[7], &cap->px)) {
        *why = "a text size that is not a number from 1 to 200";
        return false;
    }
    cap->picture = f[0];
    cap->face = SDL_Rect{int(n[0]), int(n[1]), int(n[2]), int(n[3])};
    cap->label = f[8];
    return true;
}

// The list of the folder, read at its first need (a list that is not there is told once).
const std::vector<KeyCap>& ListAt(const std::string& file) {
    auto [it, made] = ThePrompts().lists.try_emplace(file);
    if (!made) return it->second;
    files::WaitWhileComing(file);
    std::vector<unsigned char> bytes;
    if (!files::ReadRegularFileAsNamed(file, &bytes, kMaxListBytes)) {
        platform::Warn("cannot read the key caps " + file + " (" + files::ReadFailure(errno, kMaxListBytes) +
                       "); the pictures' keys stay as they were drawn");
        return it->second;
    }
    std::vector<std::string> warnings;
    it->second = ReadKeyCaps(std::string(bytes.begin(), bytes.end()), file, &warnings);
    for (const std::string& w : warnings) platform::Warn(w);
    return it->second;
}

bool SameName(const std::string& a, const std::string& b) {
    return text::Lower(a) == text::Lower(b);
}

// A file's name split at its last slash (either kind): its folder with the slash, and its own name.
std::pair<std::string, std::string> FolderAndName(std::string file) {
    std::replace(file.begin(), file.end(), '\\', '/');
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos) return {"", file};
    return {file.substr(0, slash + 1), file.substr(slash + 1)};
}

// The caps of a picture file that lie inside its texture (w x h). The list is keycaps.txt beside the
// picture as the game names it, through the language folder as every data file; it speaks of the
// pictures of the folder it is read from only (an English list of the English pictures, not of the
// Japanese ones an English run shows where it has no picture of its own, and the other way round).
std::vector<const KeyCap*> CapsOf(const std::string& pictureFile, int w, int h) {
    const auto [folder, name] = FolderAndName(files::Overlaid(pictureFile.c_str()));
    const std::string list = files::Overlaid((FolderAndName(pictureFile).first + "keycaps.txt").c_str());
    if (FolderAndName(list).first != folder) return {};
    std::vector<const KeyCap*> caps;
    for (const KeyCap& cap : ListAt(list)) {
        if (!SameName(cap.picture, name)) continue;
        const SDL_Rect& r = cap.face;
        if (r.x + r.w <= w && r.y + r.h <= h && r.w > 2 * kInset + 2 && r.h > 2 * kInset + 2) {
            caps.push_back(&cap);
            continue;
        }
        const std::string what = list + ": the cap " + files::Quoted(cap.label) + " of " + cap.picture +
                                 " at " + std::to_string(r.x) + " " + std::to_string(r.y) + " " +
                                 std::to_string(r.w) + " " + std::to_string(r.h);
        if (ThePrompts().told.insert(what).second)
            platform::Warn(what + " does not fit in its " + std::to_string(w) + " x " + std::to_string(h) +
                           " texels; it stays as drawn");
    }
    return caps;
}

// ---- what a cap shows ---------------------------------------------------------------------------------

// Which of the game's keys a label stands for: the default keys it names, or a pad button.
struct Meaning {
    std::vector<int> keys;  // indices of GameKeys()
    int padButton = 0;      // 1 to 10
    bool cross = false;     // four arrows as a cross
};

constexpr const char* kArrowText[4] = {"←", "→", "↑", "↓"};
constexpr SDL_Scancode kArrowKeys[4] = {SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UP,
                                        SDL_SCANCODE_DOWN};

// A label of arrows only ("←→", "↑↓", "←→↑↓"): their keys.
bool ArrowKeys(const std::string& label, std::vector<SDL_Scancode>* keys) {
    for (std::size_t i = 0; i < label.size();) {
        if (label[i] == ' ') {
            ++i;
            continue;
        }
        bool found = false;
        for (int a = 0; a < 4 && !found; ++a)
            if (label.compare(i, 3, kArrowText[a]) == 0) {
                keys->push_back(kArrowKeys[a]);
                i += 3;
                found = true;
            }
        if (!found) return false;
    }
    return !keys->empty();
}

// "ボタン3", "Button 3": the game's pad button 3.
int PadButtonOf(const std::string& label) {
    std::string rest;
    if (label.rfind("ボタン", 0) == 0)
        rest = label.substr(std::strlen("ボタン"));
    else if (text::Lower(label).rfind("button", 0) == 0)
        rest = text::Trim(label.substr(6));
    else
        return 0;
    std::int64_t n = 0;
    return text::ParseDecimal(rest, 10, &n) && n >= 1 ? int(n) : 0;
}

std::optional<Meaning> MeaningOf(const std::string& label) {
    Meaning m;
    if ((m.padButton = PadButtonOf(label))) return m;
    std::vector<SDL_Scancode> keys;
    if (!ArrowKeys(label, &keys)) {
        // The pictures write a few keys their own way.
        const std::string l = text::Lower(label);
        const char* name = l == "enter" ? "Return" : l == "esc" ? "Escape" : label.c_str();
        for (unsigned char c : label)
            if (c >= 0x80) return std::nullopt;
        const SDL_Scancode key = SDL_GetScancodeFromName(name);
        if (key == SDL_SCANCODE_UNKNOWN) return std::nullopt;
        keys.push_back(key);
    }
    const std::vector<SDL_Scancode>& defaults = settings::DefaultKeys();
    for (SDL_Scancode key : keys) {
        const auto at = std::find(defaults.begin(), defaults.end(), key);
        if (at == defaults.end()) return std::nullopt;  // a key the player does not move
        m.keys.push_back(int(at - defaults.begin()));
    }
    m.cross = keys.size() == 4;
    return m;
}

enum class Mark { kText, kArrow, kCross, kCircle, kSquare, kTriangle, kPadCross };

struct Glyph {
    Mark mark = Mark::kText;
    std::string text;    // kText
    int arrow = 0;       // kArrow: left, right, up, down
    unsigned arms = 0;   // kPadCross: the arms it stands for (bit of each arrow)
    bool round = false;  // a pad's face button, in its ring
};

struct Shown {
    std::vector<Glyph> glyphs;  // side by side, or four as a cross
    bool cross = false;
};

Glyph Text(std::string s, bool round = false) {
    Glyph g;
    g.text = std::move(s);
    g.round = round;
    return g;
}

std::string ShortKeyName(SDL_Scancode key) {
    switch (key) {
        case SDL_SCANCODE_UNKNOWN:
            return "-";
        case SDL_SCANCODE_RETURN:
            return "Enter";
        case SDL_SCANCODE_ESCAPE:
            return "Esc";
        case SDL_SCANCODE_BACKSPACE:
            return "BS";
        default:
            break;
    }
    std::string name = SDL_GetScancodeName(key);
    for (const auto& [from, to] :
         {std::pair<const char*, const char*>{"Left ", "L"}, {"Right ", "R"}, {"Keypad ", "Num "}})
        if (name.rfind(from, 0) == 0) name = to + name.substr(std::strlen(from));
    return name.empty() ? "?" : name;
}

Glyph KeyGlyph(SDL_Scancode key) {
    for (int a = 0; a < 4; ++a)
        if (key == kArrowKeys[a]) {
            Glyph g;
            g.mark = Mark::kArrow;
            g.arrow = a;
            return g;
        }
    return Text(ShortKeyName(key));
}

SDL_GameControllerType TypeOf(PromptFamily family) {
    switch (family) {
        case PromptFamily::kPlayStation:
            return SDL_CONTROLLER_TYPE_PS4;
        case PromptFamily::kNintendo:
            return SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO;
        default:
            return SDL_CONTROLLER_TYPE_XBOXONE;
    }
}

// The game's pad button (1 to 10) as the pad's family calls the button the player's settings put it on.
Glyph PadGlyph(PromptFamily family, int number, const settings::Settings& settings) {
    // A joystick SDL does not know as a pad: the game's button n is its button n.
    if (family == PromptFamily::kOtherPad) return Text(std::to_string(number), true);
    const SDL_GameControllerButton button = settings.padButtons[std::size_t(number - 1)];
    Glyph g;
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            g.mark = Mark::kPadCross;
            g.arms = button == SDL_CONTROLLER_BUTTON_DPAD_LEFT    ? 1u
                     : button == SDL_CONTROLLER_BUTTON_DPAD_RIGHT ? 2u
                     : button == SDL_CONTROLLER_BUTTON_DPAD_UP    ? 4u
                                                                  : 8u;
            return g;
        default:
            break;
    }
    // The game's pad buttons 1 to 10 by position, as the settings have them unless moved.
    const auto positions = settings::Settings().padButtons;
    const auto at = std::find(positions.begin(), positions.end(), button);
    if (at == positions.end()) {
        const char* name = SDL_GameControllerGetStringForButton(button);
        return Text(name ? name : "?");
    }
    const int position = int(at - positions.begin());
    const bool face = position < 4;
    if (family == PromptFamily::kPlayStation && face) {
        constexpr Mark kShapes[4] = {Mark::kCross, Mark::kCircle, Mark::kSquare, Mark::kTriangle};
        g.mark = kShapes[position];
        g.round = true;
        return g;
    }
    return Text(family == PromptFamily::kSteamDeck ? kSteamDeckNames[std::size_t(position)]
                                                   : PadButtonName(position + 1, TypeOf(family)),
                face);
}

// The arm of the pad's cross a game key stands for (its virtual key is an arrow), or -1.
int ArmOf(int virtualKey) {
    switch (virtualKey) {
        case VK_LEFT:
            return 0;
        case VK_RIGHT:
            return 1;
        case VK_UP:
            return 2;
        case VK_DOWN:
            return 3;
        default:
            return -1;
    }
}

// What the cap shows for the family and settings, or nothing when it stays as drawn.
std::optional<Shown> ShownFor(const Meaning& m, PromptFamily family, const settings::Settings& s) {
    const bool pad = family != PromptFamily::kKeyboard;
    if (m.padButton) {
        if (!pad) return std::nullopt;
        return Shown{{PadGlyph(family, m.padButton, s)}, false};
    }
    const std::vector<GameKey>& keys = GameKeys();
    const std::vector<SDL_Scancode>& defaults = settings::DefaultKeys();
    for (int k : m.keys)
        if (std::size_t(k) >= keys.size() || std::size_t(k) >= s.keys.size() ||
            std::size_t(k) >= defaults.size())
            return std::nullopt;
    Shown shown;
    if (!pad) {
        bool asDrawn = true;
        for (int k : m.keys) asDrawn = asDrawn && s.keys[std::size_t(k)] == defaults[std::size_t(k)];
        if (asDrawn) return std::nullopt;
        for (int k : m.keys) shown.glyphs.push_back(KeyGlyph(s.keys[std::size_t(k)]));
        shown.cross = m.cross;
        return shown;
    }
    unsigned arms = 0;
    for (int k : m.keys) {
        const GameKey& key = keys[std::size_t(k)];
        if (key.padButton >= 1 && key.padButton <= 10)
            shown.glyphs.push_back(PadGlyph(family, key.padButton, s));
        else if (const int arm = ArmOf(key.virtualKey); arm >= 0)
            arms |= 1u << arm;
        else
            return std::nullopt;  // a key the pad has no button for
    }
    if (arms) {
        if (!shown.glyphs.empty()) return std::nullopt;
        Glyph g;
        g.mark = Mark::kPadCross;
        g.arms = arms;
        shown.glyphs.push_back(g);
    }
    return shown;
}

std::string Describe(const Shown& shown) {
    std::string out;
    bool lastText = false;
    for (const Glyph& g : shown.glyphs) {
        std::string body;
        switch (g.mark) {
            case Mark::kText:
                body = g.text;
                break;
            case Mark::kArrow:
                body = kArrowText[g.arrow];
                break;
            case Mark::kCross:
                body = "✕";
                break;
            case Mark::kCircle:
                body = "○";
                break;
            case Mark::kSquare:
                body = "□";
                break;
            case Mark::kTriangle:
                body = "△";
                break;
            case Mark::kPadCross:
                body = "✚";
                for (int a = 0; a < 4; ++a)
                    if (g.arms & (1u << a)) body += kArrowText[a];
                break;
        }
        const bool text = g.mark == Mark::kText && !g.round;
        if (!out.empty() && (text || lastText)) out += ' ';
        out += g.round ? "(" + body + ")" : body;
        lastText = text;
    }
    return out;
}

// ---- drawing ------------------------------------------------------------------------------------------

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int t /* 0..255 of b */) {
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = int(a >> shift & 0xFF), cb = int(b >> shift & 0xFF);
        out |= std::uint32_t((ca * (255 - t) + cb * t + 127) / 255) << shift;
    }
    return out;
}

// Pixels to draw on: only inside `clip` (the face drawn anew).
struct Pixels {
    std::uint32_t* argb;
    int pitch;
    SDL_Rect clip;
    std::uint32_t& At(int x, int y) const {
        return argb[std::size_t(y) * std::size_t(pitch) + std::size_t(x)];
    }
    // Blends the colour over a pixel by `cover` (0 to 255), keeping the pixel's alpha.
    void Blend(int x, int y, std::uint32_t colour, int cover) const {
        if (cover <= 0 || x < clip.x || y < clip.y || x >= clip.x + clip.w || y >= clip.y + clip.h) return;
        std::uint32_t& p = At(x, y);
        p = (p & 0xFF000000u) | (Mix(p, colour, std::min(cover, 255)) & 0xFFFFFFu);
    }
};

using Inside = std::function<bool(float, float)>;

// Fills a shape (inside, around its centre) by its coverage of each pixel, 4 x 4 samples a pixel.
void FillShape(const Pixels& p, float cx, float cy, float half, std::uint32_t colour, const Inside& inside) {
    const int x0 = int(std::floor(cx - half)), x1 = int(std::ceil(cx + half));
    const int y0 = int(std::floor(cy - half)), y1 = int(std::ceil(cy + half));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            int n = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    n += inside(float(x) + (float(sx) + 0.5f) / 4 - cx,
                                float(y) + (float(sy) + 0.5f) / 4 - cy);
            p.Blend(x, y, colour, n * 255 / 16);
        }
}

bool InTriangle(float x, float y, const float (&t)[6]) {
    auto side = [&](int a, int b) {
        return (t[2 * b] - t[2 * a]) * (y - t[2 * a + 1]) - (t[2 * b + 1] - t[2 * a + 1]) * (x - t[2 * a]);
    };
    const float d0 = side(0, 1), d1 = side(1, 2), d2 = side(2, 0);
    return (d0 >= 0 && d1 >= 0 && d2 >= 0) || (d0 <= 0 && d1 <= 0 && d2 <= 0);
}

// A triangle pointing up with its corners r from its middle.
bool InUpTriangle(float x, float y, float r) {
    const float t[6] = {0, -r, 0.866f * r, 0.5f * r, -0.866f * r, 0.5f * r};
    return InTriangle(x, y, t);
}

// One glyph, ready to be drawn: its size and how.
struct Placed {
    const Glyph* glyph = nullptr;
    int w = 0, h = 0;
    std::shared_ptr<SDL_Surface> text;  // the text's own pixels, cut to its ink
    SDL_Rect ink{};
    int ring = 0;  // the ring's diameter, for a round one
};

// The text at a size, cut to its ink; null when there is no font.
bool RenderInk(const std::string& s, int size, std::uint32_t colour, Placed* out) {
    SDL_Surface* t =
        RenderText(s, size, SDL_Color{Uint8(colour >> 16), Uint8(colour >> 8), Uint8(colour), 255}, true);
    if (!t) return false;
    out->text.reset(t, SDL_FreeSurface);
    int x0 = t->w, y0 = t->h, x1 = -1, y1 = -1;
    const auto* px = static_cast<const std::uint32_t*>(t->pixels);
    const int pitch = t->pitch / 4;
    for (int y = 0; y < t->h; ++y)
        for (int x = 0; x < t->w; ++x)
            if (px[y * pitch + x] >> 24) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    if (x1 < 0) x0 = y0 = 0, x1 = y1 = -1;
    out->ink = SDL_Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
    return true;
}

// A glyph's size at a size of text (pixels of the font), in its ring when `rings`; false when its text
// cannot be drawn.
bool Measure(const Glyph& g, int size, bool rings, std::uint32_t colour, Placed* out) {
    *out = Placed{};
    out->glyph = &g;
    if (g.round && rings) {
        out->ring = std::max(7, int(std::lround(size * 1.3)));
        out->w = out->h = out->ring;
        return g.mark != Mark::kText ||
               RenderInk(g.text, std::max(5, int(std::lround(out->ring * 0.6))), colour, out);
    }
    switch (g.mark) {
        case Mark::kText:
            if (!RenderInk(g.text, size, colour, out)) return false;
            out->w = out->ink.w, out->h = out->ink.h;
            return true;
        case Mark::kPadCross:
            out->w = out->h = std::max(7, int(std::lround(size * 1.1)));
            return true;
        case Mark::kArrow:
            out->w = out->h = std::max(4, int(std::lround(size * 0.7)));
            return true;
        default:
            out->w = out->h = std::max(5, int(std::lround(size * 0.85)));
            return true;
    }
}

void DrawMark(const Pixels& p, Mark mark, float cx, float cy, float side, const Glyph& g,
              std::uint32_t colour, std::uint32_t face) {
    const float h = side / 2, t = std::max(1.2f, side * 0.16f);
    switch (mark) {
        case Mark::kArrow: {
            const float s = h;
            const float pts[4][6] = {{-s, 0, 0.6f * s, -s, 0.6f * s, s},
                                     {s, 0, -0.6f * s, -s, -0.6f * s, s},
                                     {0, -s, s, 0.6f * s, -s, 0.6f * s},
                                     {0, s, s, -0.6f * s, -s, -0.6f * s}};
            const auto& tri = pts[g.arrow];
            FillShape(p, cx, cy, h + 1, colour, [&](float x, float y) { return InTriangle(x, y, tri); });
            break;
        }
        case Mark::kCross:
            FillShape(p, cx, cy, h + 1, colour, [&](float x, float y) {
                return std::abs(x) <= h && std::abs(y) <= h &&
                       (std::abs(x - y) <= t * 0.707f || std::abs(x + y) <= t * 0.707f);
            });
            break;
        case Mark::kCircle:
            FillShape(p, cx, cy, h + 1, colour, [&](float x, float y) {
                return std::abs(std::sqrt(x * x + y * y) - (h - t / 2)) <= t / 2;
            });
            break;
        case Mark::kSquare: {
            const float outer = h * 0.85f;
            FillShape(p, cx, cy, h + 1, colour, [&](float x, float y) {
                const float m = std::max(std::abs(x), std::abs(y));
                return m <= outer && m > outer - t;
            });
            break;
        }
        case Mark::kTriangle: {
            const float r = h * 1.05f, dy = r * 0.12f;
            FillShape(p, cx, cy, h + 2, colour, [&](float x, float y) {
                return InUpTriangle(x, y - dy, r) && !InUpTriangle(x, y - dy, r - 2 * t);
            });
            break;
        }
        case Mark::kPadCross: {
            // The cross whole, faint, and the arms the cap stands for in the text's colour.
            const float arm = std::max(2.0f, side * 0.34f) / 2;
            auto in = [&](float x, float y, unsigned arms) {
                const bool across = std::abs(y) <= arm && std::abs(x) <= h,
                           down = std::abs(x) <= arm && std::abs(y) <= h;
                if (!across && !down) return false;
                if (arms == 15) return true;
                return ((arms & 1) && across && x < -arm) || ((arms & 2) && across && x > arm) ||
                       ((arms & 4) && down && y < -arm) || ((arms & 8) && down && y > arm);
            };
            if (g.arms != 15)
                FillShape(p, cx, cy, h + 1, Mix(face, colour, 90),
                          [&](float x, float y) { return in(x, y, 15); });
            FillShape(p, cx, cy, h + 1, colour, [&](float x, float y) { return in(x, y, g.arms); });
            break;
        }
        case Mark::kText:
            break;
    }
}

void DrawInk(const Pixels& p, const Placed& placed, int left, int top, std::uint32_t colour) {
    const SDL_Surface* t = placed.text.get();
    const auto* px = static_cast<const std::uint32_t*>(t->pixels);
    const int pitch = t->pitch / 4;
    for (int y = 0; y < placed.ink.h; ++y)
        for (int x = 0; x < placed.ink.w; ++x)
            p.Blend(left + x, top + y, colour, int(px[(placed.ink.y + y) * pitch + placed.ink.x + x] >> 24));
}

// Draws a placed glyph with its middle at (cx, cy).
void DrawPlaced(const Pixels& p, const Placed& placed, float cx, float cy, std::uint32_t colour,
                std::uint32_t face) {
    const Glyph& g = *placed.glyph;
    if (placed.ring) {
        const float r = float(placed.ring) / 2, t = std::max(1.0f, float(placed.ring) * 0.09f);
        FillShape(p, cx, cy, r + 1, colour, [&](float x, float y) {
            return std::abs(std::sqrt(x * x + y * y) - (r - t / 2)) <= t / 2;
        });
        if (g.mark == Mark::kText)
            DrawInk(p, placed, int(std::lround(cx - float(placed.ink.w) / 2)),
                    int(std::lround(cy - float(placed.ink.h) / 2)), colour);
        else
            DrawMark(p, g.mark, cx, cy, float(placed.ring) * 0.52f, g, colour, face);
        return;
    }
    if (g.mark == Mark::kText)
        DrawInk(p, placed, int(std::lround(cx - float(placed.w) / 2)),
                int(std::lround(cy - float(placed.h) / 2)), colour);
    else
        DrawMark(p, g.mark, cx, cy, float(placed.w), g, colour, face);
}

// The label's ink that reaches past the face drawn anew into the edge between it and the outline (the
// tips of the arrows on the title's cross do): along each straight stretch of that edge, which is of
// one colour where no label reaches, the few texels of another colour take the stretch's colour. The
// corners, and a stretch that is not mostly of one colour, stay as they are.
void CleanEdges(std::uint32_t* argb, int pitch, const SDL_Rect& face) {
    constexpr int kCorner = 5;  // the corners' radius: no stretch of the edge is straight there
    auto clean = [&](int x, int y, int dx, int dy, int n) {
        if (n <= 0) return;
        std::map<std::uint32_t, int> count;
        for (int i = 0; i < n; ++i)
            ++count[argb[std::size_t(y + i * dy) * std::size_t(pitch) + std::size_t(x + i * dx)]];
        const auto most = std::max_element(count.begin(), count.end(),
                                           [](const auto& a, const auto& b) { return a.second < b.second; });
        if (most->second * 4 < n * 3) return;
        for (int i = 0; i < n; ++i)
            argb[std::size_t(y + i * dy) * std::size_t(pitch) + std::size_t(x + i * dx)] = most->first;
    };
    for (int k = 1; k < kInset; ++k) {
        const int across = face.w - 2 * kCorner, down = face.h - 2 * kCorner;
        clean(face.x + kCorner, face.y + k, 1, 0, across);
        clean(face.x + kCorner, face.y + face.h - 1 - k, 1, 0, across);
        clean(face.x + k, face.y + kCorner, 0, 1, down);
        clean(face.x + face.w - 1 - k, face.y + kCorner, 0, 1, down);
    }
}

// Draws what the cap shows over its face; false (nothing drawn) when its text cannot be drawn.
bool DrawCap(std::uint32_t* argb, int pitch, const KeyCap& cap, const Shown& shown) {
    const SDL_Rect inside{cap.face.x + kInset, cap.face.y + kInset, cap.face.w - 2 * kInset,
                          cap.face.h - 2 * kInset};
    const int areaW = inside.w - 2, areaH = inside.h - 2;
    // The largest size at which it fits, from the label's own (or one the face is made for, when the
    // picture drew small arrows): with the pad's face buttons in their rings while those are not much
    // smaller than that, else without.
    std::vector<Placed> placed(shown.glyphs.size());
    const int largest = std::max({kSmallestText, int(std::lround(cap.px)), areaH * 3 / 4});
    auto fits = [&](int size, bool rings) {
        for (std::size_t i = 0; i < shown.glyphs.size(); ++i)
            if (!Measure(shown.glyphs[i], size, rings, cap.textColour, &placed[i]))
                return std::optional<bool>();
        bool in = true;
        if (shown.cross && placed.size() == 4) {
            for (const Placed& q : placed) in = in && q.w * 3 <= areaW && q.h * 2 <= areaH;
        } else {
            int width = (int(placed.size()) - 1) * std::max(1, size / 5);
            for (const Placed& q : placed) width += q.w, in = in && q.h <= areaH;
            in = in && width <= areaW;
        }
        return std::optional<bool>(in);
    };
    int size = largest;
    bool found = false;
    for (const bool rings : {true, false}) {
        // (a ring smaller than 16 pixels leaves its letter too small to read)
        const int smallest = rings ? std::max({12, kSmallestText, largest * 4 / 5}) : kSmallestText;
        for (size = largest; size >= smallest && !found; --size) {
            const std::optional<bool> in = fits(size, rings);
            if (!in) return false;
            found = *in;
        }
        if (found) {
            ++size;
            break;
        }
    }
    if (!found && !fits(size = kSmallestText, false)) return false;  // the smallest, cut to the face
    const Pixels p{argb, pitch, inside};
    CleanEdges(argb, pitch, cap.face);
    for (int y = inside.y; y < inside.y + inside.h; ++y)
        for (int x = inside.x; x < inside.x + inside.w; ++x)
            p.At(x, y) = (p.At(x, y) & 0xFF000000u) | (cap.faceColour & 0xFFFFFFu);
    const float cx = float(inside.x) + float(inside.w) / 2, cy = float(inside.y) + float(inside.h) / 2;
    if (shown.cross && placed.size() == 4) {
        const float dx = float(areaW) / 3, dy = float(areaH) / 4;
        const float at[4][2] = {{cx - dx, cy}, {cx + dx, cy}, {cx, cy - dy}, {cx, cy + dy}};
        for (std::size_t i = 0; i < 4; ++i)
            DrawPlaced(p, placed[i], at[i][0], at[i][1], cap.textColour, cap.faceColour);
        return true;
    }
    const int gap = std::max(1, size / 5);
    int width = 0;
    for (const Placed& q : placed) width += q.w;
    width += (int(placed.size()) - 1) * gap;
    float x = cx - float(width) / 2;
    for (const Placed& q : placed) {
        DrawPlaced(p, q, x + float(q.w) / 2, cy, cap.textColour, cap.faceColour);
        x += float(q.w + gap);
    }
    return true;
}

// Draws the caps that show something else over pixels holding the picture's own texels.
bool DrawCaps(std::uint32_t* argb, int pitch, const std::vector<const KeyCap*>& caps) {
    const Prompts& prompts = ThePrompts();
    bool drawn = false;
    for (const KeyCap* cap : caps) {
        const std::optional<Meaning> m = MeaningOf(cap->label);
        if (!m) continue;
        const std::optional<Shown> shown = ShownFor(*m, prompts.family, settings::CurrentSettings());
        if (shown && DrawCap(argb, pitch, *cap, *shown)) drawn = true;
    }
    return drawn;
}

bool AnyShownOtherwise(const std::vector<const KeyCap*>& caps) {
    for (const KeyCap* cap : caps)
        if (const std::optional<Meaning> m = MeaningOf(cap->label);
            m && ShownFor(*m, ThePrompts().family, settings::CurrentSettings()))
            return true;
    return false;
}

// The texture shows its picture's texels with the caps of now.
void DrawOnTexture(raster::TextureData& texture, const std::shared_ptr<const pictures::Picture>& picture,
                   const std::vector<const KeyCap*>& caps) {
    const int w = picture->width, h = picture->height;
    if (!AnyShownOtherwise(caps)) {
        // As drawn: the picture's own pixels again, shared when they can be.
        if (texture.sharedPixels || texture.ShareFrom(picture, picture->pixels.get(), w, h)) return;
    }
    if (!texture.MakeOwn()) return;
    SDL_Surface* s = texture.surface.get();
    if (!s || s->w != w || s->h != h || s->format->format != SDL_PIXELFORMAT_ARGB8888) return;
    for (int y = 0; y < h; ++y)
        std::memcpy(static_cast<Uint8*>(s->pixels) + std::size_t(y) * std::size_t(s->pitch),
                    picture->pixels.get() + std::size_t(y) * std::size_t(w), std::size_t(w) * 4);
    DrawCaps(static_cast<std::uint32_t*>(s->pixels), s->pitch / 4, caps);
    texture.Changed();
}

// The family of the game's pad, when the event's device is it. A pad SDL knows is told by its own
// events (its joystick's raw axes may rest far from the middle: a trigger at -32768), a joystick of
// another kind by the joystick's.
std::optional<PromptFamily> FamilyOfGamePad(SDL_JoystickID which, bool padEvent) {
    State& s = TheScreen();
    if (SDL_GameController* c = s.controller.get()) {
        if (!padEvent || SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c)) != which)
            return std::nullopt;
        return PadFamily(SDL_GameControllerGetType(c), SDL_GameControllerGetVendor(c),
                         SDL_GameControllerName(c));
    }
    if (SDL_Joystick* j = s.joystick.get())
        if (!padEvent && SDL_JoystickInstanceID(j) == which) return PromptFamily::kOtherPad;
    return std::nullopt;
}

}  // namespace

std::vector<KeyCap> ReadKeyCaps(const std::string& text, const std::string& file,
                                std::vector<std::string>* warnings) {
    std::vector<KeyCap> caps;
    files::FileWarnings told(file, warnings);
    std::istringstream in(files::WithoutByteOrderMark(text));
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string t = text::Trim(line);
        if (t.empty() || t[0] == '#') continue;
        if (caps.size() >= kMaxCaps) {
            told.Add(file + ":" + std::to_string(number) + ": more than " + std::to_string(kMaxCaps) +
                     " caps; the rest are left out");
            break;
        }
        KeyCap cap;
        std::string why;
        if (ParseCap(t, &cap, &why))
            caps.push_back(std::move(cap));
        else
            told.Add(file + ":" + std::to_string(number) + ": " + files::Quoted(t) + " is not a key cap (" +
                     why + "); it is left out");
    }
    told.Finish();
    return caps;
}

PromptFamily PadFamily(SDL_GameControllerType type, std::uint16_t vendor, const char* name) {
    if (vendor == kValve || (name && std::strstr(name, "Steam Deck"))) return PromptFamily::kSteamDeck;
    switch (type) {
        case SDL_CONTROLLER_TYPE_PS3:
        case SDL_CONTROLLER_TYPE_PS4:
        case SDL_CONTROLLER_TYPE_PS5:
            return PromptFamily::kPlayStation;
        case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
        case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
            return PromptFamily::kNintendo;
        default:
            return PromptFamily::kXbox;
    }
}

void PromptInputSeen(const SDL_Event& e) {
    constexpr int kHalf = 16384;
    std::optional<PromptFamily> from;
    switch (e.type) {
        case SDL_KEYDOWN:
            from = PromptFamily::kKeyboard;
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            from = FamilyOfGamePad(e.cbutton.which, true);
            break;
        case SDL_JOYBUTTONDOWN:
            from = FamilyOfGamePad(e.jbutton.which, false);
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (std::abs(int(e.caxis.value)) > kHalf) from = FamilyOfGamePad(e.caxis.which, true);
            break;
        case SDL_JOYAXISMOTION:
            if (std::abs(int(e.jaxis.value)) > kHalf) from = FamilyOfGamePad(e.jaxis.which, false);
            break;
        case SDL_JOYHATMOTION:
            if (e.jhat.value != SDL_HAT_CENTERED) from = FamilyOfGamePad(e.jhat.which, false);
            break;
        default:
            break;
    }
    if (!from) return;
    ThePrompts().family = *from;
    RefreshKeyPrompts();
}

PromptFamily PromptInput() {
    return ThePrompts().family;
}

std::string CapShows(const std::string& label, PromptFamily family, const settings::Settings& settings) {
    const std::optional<Meaning> m = MeaningOf(label);
    if (!m) return "";
    const std::optional<Shown> shown = ShownFor(*m, family, settings);
    return shown ? Describe(*shown) : "";
}

std::string PadButtonText(int number) {
    const PromptFamily family = ThePrompts().family;
    if (family == PromptFamily::kKeyboard || number < 1 || number > 10) return "";
    Shown shown;
    shown.glyphs.push_back(PadGlyph(family, number, settings::CurrentSettings()));
    shown.glyphs.back().round = false;  // its name alone, without the ring the caps draw
    std::string text = Describe(shown);
    // Text drawn by the font, not by the caps' shapes: the font's own cross.
    if (const std::size_t at = text.find("✕"); at != std::string::npos)
        text.replace(at, std::strlen("✕"), "×");
    return text;
}

std::string CapShows(const std::string& label) {
    return CapShows(label, ThePrompts().family, settings::CurrentSettings());
}

void PatchKeyCaps(const std::string& pictureFile, std::uint32_t* argbPixels, int width, int height,
                  int pitchPixels) {
    if (Headless() || !argbPixels || width <= 0 || height <= 0 || pitchPixels < width) return;
    RefreshKeyPrompts();
    DrawCaps(argbPixels, pitchPixels, CapsOf(pictureFile, width, height));
}

unsigned KeyPromptsVersion() {
    return ThePrompts().version;
}

void KeyCapsOnTexture(const std::string& pictureFile, const std::shared_ptr<const pictures::Picture>& picture,
                      const std::shared_ptr<raster::TextureData>& texture) {
    if (Headless() || !picture || !texture || !picture->pixels) return;
    const std::vector<const KeyCap*> caps = CapsOf(pictureFile, picture->width, picture->height);
    if (caps.empty()) return;
    // The textures made before show the keys of now first, then this one is drawn for them.
    RefreshKeyPrompts();
    Prompts& p = ThePrompts();
    std::erase_if(p.live, [](const LiveTexture& l) { return l.texture.expired(); });
    if (AnyShownOtherwise(caps)) DrawOnTexture(*texture, picture, caps);
    p.live.push_back(LiveTexture{texture, picture, pictureFile, texture->version});
}

void RefreshKeyPrompts() {
    if (Headless()) return;
    Prompts& p = ThePrompts();
    const settings::Settings& s = settings::CurrentSettings();
    if (p.shown && p.shownFamily == p.family && p.shownKeys == s.keys && p.shownButtons == s.padButtons)
        return;
    p.shown = true;
    p.shownFamily = p.family;
    p.shownKeys = s.keys;
    p.shownButtons = s.padButtons;
    ++p.version;
    for (auto it = p.live.begin(); it != p.live.end();) {
        const std::shared_ptr<raster::TextureData> texture = it->texture.lock();
        // Gone, or written by the game since: left alone.
        if (!texture || texture->version != it->version) {
            it = p.live.erase(it);
            continue;
        }
        DrawOnTexture(*texture, it->picture, CapsOf(it->file, it->picture->width, it->picture->height));
        it->version = texture->version;
        ++it;
    }
}

}  // namespace platform::desktop
