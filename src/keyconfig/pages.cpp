// The settings program's pages on the screen: tabs on top, the page's rows or the controls table
// with the tester under it, the message at the bottom.
#include "keyconfig/pages.h"

#include "platform/desktop/desktop.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace sdl = platform::sdl;

namespace desktop = platform::desktop;

namespace keyconfig {
namespace {

// The page's layout, in its units (kBaseWidth x kBaseHeight).
constexpr int kTop = 56, kNoteY = 52, kRowHeight = 34, kTableLineHeight = 22, kMessageY = 604;
constexpr int kLabelX = 20, kLessX = 392, kValueX = 424, kValueW = 232, kMoreX = 656, kArrowW = 32;
constexpr int kTextSize = 16, kSmallSize = 14;
constexpr SDL_Color kInk{0x20, 0x20, 0x30, 255}, kHot{0xC0, 0x28, 0x28, 255}, kPaper{0xFF, 0xFF, 0xFF, 255},
    kBackground{0xF4, 0xF1, 0xE6, 255}, kBlue{0x24, 0x45, 0x7A, 255}, kGrey{0x9A, 0xA5, 0xAE, 255},
    kChosen{0xFF, 0xE8, 0xA0, 255}, kLit{0xFF, 0xD2, 0x4A, 255}, kBox{0xFF, 0xFD, 0xF6, 255};

// The tabs share the page's width.
constexpr int kTabStep = (kBaseWidth - 24) / kPageCount;
SDL_Rect TabRect(int page) {
    return SDL_Rect{12 + page * kTabStep, 8, kTabStep - 8, 34};
}

// The rows start lower when the page says something above them.
int RowsTop(const Model& m) {
    return m.PageNote().empty() ? kTop : kTop + 26;
}

SDL_Rect RowRect(const Model& m, int row) {
    return SDL_Rect{8, RowsTop(m) + row * kRowHeight, kBaseWidth - 16, kRowHeight - 2};
}

// The question's box and its two answers.
constexpr SDL_Rect kQuestionBox{60, 200, kBaseWidth - 120, 200};
SDL_Rect AnswerRect(int answer) {
    return SDL_Rect{kQuestionBox.x + 60 + answer * 250, kQuestionBox.y + 130, 230, 44};
}

// False with SDL's reason when an SDL call did not succeed (its result is not 0).
bool Done(int result, std::string* why) {
    if (result == 0) return true;
    *why = SDL_GetError();
    return false;
}

}  // namespace

bool TestedPad::Open(int index) {
    Close();
    if (SDL_IsGameController(index))
        pad_.reset(SDL_GameControllerOpen(index));
    else
        joystick_.reset(SDL_JoystickOpen(index));
    if (!pad_ && !joystick_)
        std::fprintf(stderr, "KeyConfig1: cannot open pad %d (%s)\n", index, SDL_GetError());
    return pad_ || joystick_;
}

void TestedPad::OpenFirst() {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (Open(i)) return;
}

void TestedPad::Close() {
    pad_.reset();
    joystick_.reset();
}

SDL_JoystickID TestedPad::Id() const {
    if (pad_) return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad_.get()));
    if (joystick_) return SDL_JoystickInstanceID(joystick_.get());
    return -1;
}

SDL_GameControllerType TestedPad::Type() const {
    return pad_ ? SDL_GameControllerGetType(pad_.get()) : SDL_CONTROLLER_TYPE_UNKNOWN;
}

std::string TestedPad::Line(const Model& model) const {
    if (!pad_ && !joystick_) return "";
    std::string line = model.Say("パッド: ", "Pad: ");
    const char* name = pad_ ? SDL_GameControllerName(pad_.get()) : SDL_JoystickName(joystick_.get());
    line += name ? name : "?";
    line += model.Say("  ボタン:", "  buttons:");
    if (pad_) {
        const unsigned buttons = desktop::PadButtons(pad_.get());
        for (int i = 0; i < 10; ++i)
            if (buttons & (1u << i)) {
                line.append(" ").append(std::to_string(i + 1)).append(" (");
                line.append(desktop::PadButtonName(i + 1, SDL_GameControllerGetType(pad_.get()))).append(")");
            }
    } else {
        for (int i = 0; i < SDL_JoystickNumButtons(joystick_.get()) && i < 32; ++i)
            if (SDL_JoystickGetButton(joystick_.get(), i)) line.append(" ").append(std::to_string(i + 1));
    }
    return line;
}

void Pages::OpenPad() {
    pad_.OpenFirst();
    PadChanged();
}

void Pages::PadChanged() {
    model_->SetPad(pad_.Present(), pad_.Type());
}

void Pages::Event(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            model_->Close();
            break;
        case SDL_JOYDEVICEADDED:
            if (pad_.Id() < 0) {
                pad_.Open(e.jdevice.which);
                PadChanged();
            }
            break;
        case SDL_JOYDEVICEREMOVED:
            if (e.jdevice.which == pad_.Id()) {
                pad_.Close();
                pad_.OpenFirst();
                PadChanged();
            }
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) model_->ReleaseAll();
            break;
        case SDL_KEYDOWN:
            if (e.key.repeat) break;
            lastKey_ = ShortKeyName(e.key.keysym.scancode);
            model_->Key(e.key.keysym.scancode, (e.key.keysym.mod & KMOD_SHIFT) != 0);
            break;
        case SDL_KEYUP:
            model_->KeyUp(e.key.keysym.scancode);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (pad_.Is(e.cbutton.which)) model_->PadButton(SDL_GameControllerButton(e.cbutton.button));
            break;
        case SDL_CONTROLLERBUTTONUP:
            if (pad_.Is(e.cbutton.which)) model_->PadButtonUp(SDL_GameControllerButton(e.cbutton.button));
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) Click(e.button.x, e.button.y);
            break;
        default:
            break;
    }
}

// A click at a point of the window (in its points, which under a scaled Wayland output are not the
// renderer's pixels): on a tab, on a part of a row, or on an answer of the question.
void Pages::Click(int x, int y) {
    int windowW = 0, windowH = 0, pixelsW = 0, pixelsH = 0;
    SDL_GetWindowSize(SDL_RenderGetWindow(renderer_), &windowW, &windowH);
    if (SDL_GetRendererOutputSize(renderer_, &pixelsW, &pixelsH) != 0 || windowW <= 0) pixelsW = windowW = 1;
    const double toUnits = double(pixelsW) / windowW / scale_;
    const SDL_Point at{int(x * toUnits), int(y * toUnits)};
    const Model& m = *model_;
    if (m.WaitingFor() == Waiting::kRestore) {
        for (int a = kRestoreAnswer; a <= kCancelAnswer; ++a) {
            const SDL_Rect answer = AnswerRect(a);
            if (SDL_PointInRect(&at, &answer)) model_->ClickAnswer(Answer(a));
        }
        return;
    }
    for (int p = 0; p < kPageCount; ++p) {
        const SDL_Rect tab = TabRect(p);
        if (SDL_PointInRect(&at, &tab)) {
            model_->ClickTab(Page(p));
            return;
        }
    }
    const std::vector<Row> rows = m.Rows();
    for (int i = 0; i < int(rows.size()); ++i) {
        const SDL_Rect row = RowRect(m, i);
        if (!SDL_PointInRect(&at, &row)) continue;
        RowPart part = RowPart::kLabel;
        const RowKind kind = rows[std::size_t(i)].kind;
        if (kind == RowKind::kStep || kind == RowKind::kToggle) {
            if (at.x >= kLessX && at.x < kLessX + kArrowW) part = RowPart::kLess;
            if (at.x >= kMoreX && at.x < kMoreX + kArrowW) part = RowPart::kMore;
        } else if (at.x >= kLessX) {
            part = RowPart::kValue;
        }
        model_->ClickRow(i, part);
        return;
    }
}

int Pages::Px(int units) const {
    return int(std::lround(units * scale_));
}

// A rectangle of the page on the renderer, edge by edge, so that rectangles that meet still meet.
SDL_Rect Pages::ToPixels(const SDL_Rect& r) const {
    const int x = Px(r.x), y = Px(r.y);
    return SDL_Rect{x, y, Px(r.x + r.w) - x, Px(r.y + r.h) - y};
}

bool Pages::Fill(const SDL_Rect& r, SDL_Color c, std::string* why) {
    const SDL_Rect p = ToPixels(r);
    return Done(SDL_SetRenderDrawColor(renderer_, c.r, c.g, c.b, c.a), why) &&
           Done(SDL_RenderFillRect(renderer_, &p), why);
}

// A frame one unit thick (so as many pixels as the scale).
bool Pages::Frame(const SDL_Rect& r, SDL_Color c, std::string* why) {
    const SDL_Rect p = ToPixels(r);
    const int t = std::max(1, Px(1));
    const SDL_Rect sides[4] = {
        {p.x, p.y, p.w, t}, {p.x, p.y + p.h - t, p.w, t}, {p.x, p.y, t, p.h}, {p.x + p.w - t, p.y, t, p.h}};
    return Done(SDL_SetRenderDrawColor(renderer_, c.r, c.g, c.b, c.a), why) &&
           Done(SDL_RenderFillRects(renderer_, sides, 4), why);
}

SDL_Texture* Pages::TextTexture(const std::string& text, int pixels, SDL_Color colour, std::string* why) {
    const std::string key = std::to_string(pixels) + ":" + std::to_string(colour.r) + "," +
                            std::to_string(colour.g) + "," + std::to_string(colour.b) + ":" + text;
    auto found = texts_.find(key);
    if (found != texts_.end()) return found->second.get();
    // Without a font the platform has said so, and main does not start; here it is SDL_ttf failing.
    sdl::SurfacePtr surface(desktop::RenderText(text, pixels, colour));
    if (!surface) {
        *why = std::string("the text \"") + text + "\" cannot be drawn (" + SDL_GetError() + ")";
        return nullptr;
    }
    sdl::TexturePtr texture(SDL_CreateTextureFromSurface(renderer_, surface.get()));
    if (!texture) {
        *why = SDL_GetError();
        return nullptr;
    }
    if (texts_.size() > 400) texts_.clear();
    return texts_.emplace(key, std::move(texture)).first->second.get();
}

bool Pages::Text(const std::string& text, int size, SDL_Color colour, int x, int y, std::string* why,
                 int centreWidth) {
    if (text.empty()) return true;
    const int pixels = std::max(1, Px(size));
    // The pieces between backslashes, and a slash turned over for each backslash.
    struct Piece {
        SDL_Texture* texture;
        bool turned;
        int w, h;
    };
    std::vector<Piece> pieces;
    int width = 0;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t slash = text.find('\\', from);
        const std::string part =
            text.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
        for (int turned = 0; turned < 2; ++turned) {
            if (turned && slash == std::string::npos) break;
            if (!turned && part.empty()) continue;
            Piece piece{TextTexture(turned ? "/" : part, pixels, colour, why), turned != 0, 0, 0};
            if (!piece.texture ||
                !Done(SDL_QueryTexture(piece.texture, nullptr, nullptr, &piece.w, &piece.h), why))
                return false;
            width += piece.w;
            pieces.push_back(piece);
        }
        if (slash == std::string::npos) break;
        from = slash + 1;
    }
    int at = Px(x);
    if (centreWidth > 0) at += (Px(x + centreWidth) - Px(x) - width) / 2;
    for (const Piece& piece : pieces) {
        const SDL_Rect dst{at, Px(y), piece.w, piece.h};
        if (!Done(SDL_RenderCopyEx(renderer_, piece.texture, nullptr, &dst, 0, nullptr,
                                   piece.turned ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE),
                  why))
            return false;
        at += piece.w;
    }
    return true;
}

bool Pages::DrawControls(std::string* why) {
    const Model& m = *model_;
    int y = kTop;
    if (!m.PageNote().empty()) {
        if (!Text(m.PageNote(), kSmallSize, kHot, 16, kNoteY, why)) return false;
        y += 26;
    }
    for (const ControlsLine& line : m.Controls()) {
        if (line.lit && !Fill(SDL_Rect{8, y - 1, kBaseWidth - 16, kTableLineHeight}, kLit, why)) return false;
        if (!Text(line.scene, kSmallSize, kInk, 16, y, why) ||
            !Text(line.keys, kSmallSize, kInk, 120, y, why) ||
            !Text(line.joystick, kSmallSize, kInk, 300, y, why) ||
            !Text(line.effect, kSmallSize, kInk, 460, y, why))
            return false;
        y += kTableLineHeight;
    }
    y += 8;
    const std::string last = lastKey_.empty() ? m.Say("(なし)", "(none)") : lastKey_;
    return Text(m.Say("最後に押したキー: ", "Last key pressed: ") + last, kTextSize, kHot, 16, y, why) &&
           Text(pad_.Line(m), kTextSize, kHot, 16, y + 24, why);
}

bool Pages::DrawRows(std::string* why) {
    const Model& m = *model_;
    if (!m.PageNote().empty() && !Text(m.PageNote(), kSmallSize, kHot, 20, kNoteY, why)) return false;
    const std::vector<Row> rows = m.Rows();
    for (int i = 0; i < int(rows.size()); ++i) {
        const Row& row = rows[std::size_t(i)];
        const SDL_Rect band = RowRect(m, i);
        if (i == m.Chosen() && !Fill(band, kChosen, why)) return false;
        const int y = band.y + 6;
        if (row.kind == RowKind::kButton) {
            const SDL_Rect button{kLabelX - 6, band.y + 2, 260, band.h - 4};
            if (!Fill(button, kBlue, why) || !Text(row.label, kTextSize, kPaper, kLabelX + 6, y, why))
                return false;
            continue;
        }
        if (!Text(row.label, kTextSize, kInk, kLabelX, y, why)) return false;
        if (row.kind == RowKind::kStep || row.kind == RowKind::kToggle) {
            if (!Text("◀", kTextSize, kBlue, kLessX + 8, y, why) ||
                !Text("▶", kTextSize, kBlue, kMoreX + 8, y, why))
                return false;
            if (!Frame(SDL_Rect{kLessX, band.y + 3, kArrowW, band.h - 6}, kGrey, why) ||
                !Frame(SDL_Rect{kMoreX, band.y + 3, kArrowW, band.h - 6}, kGrey, why))
                return false;
            const bool on = row.kind == RowKind::kToggle && row.value == m.Say("オン", "On");
            if (!Text(row.value, kTextSize, on ? kBlue : kInk, kValueX, y, why, kValueW)) return false;
        } else {
            const bool asking =
                i == m.Chosen() && (m.WaitingFor() == Waiting::kKey || m.WaitingFor() == Waiting::kPadButton);
            if (!Fill(SDL_Rect{kLessX, band.y + 3, kMoreX + kArrowW - kLessX, band.h - 6}, kBox, why) ||
                !Frame(SDL_Rect{kLessX, band.y + 3, kMoreX + kArrowW - kLessX, band.h - 6},
                       asking ? kHot : kGrey, why) ||
                !Text(row.value, kTextSize, asking ? kHot : kInk, kLessX + 10, y, why))
                return false;
        }
    }
    return true;
}

bool Pages::DrawQuestion(std::string* why) {
    const Model& m = *model_;
    const Question q = m.RestoreQuestion();
    // The page behind it dimmed.
    if (!Done(SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND), why) ||
        !Fill(SDL_Rect{0, 0, kBaseWidth, kBaseHeight}, SDL_Color{0x20, 0x20, 0x30, 0x90}, why) ||
        !Done(SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE), why) ||
        !Fill(kQuestionBox, kBox, why) || !Frame(kQuestionBox, kBlue, why))
        return false;
    // The question in lines of its own (it says where to break with a new line).
    int y = kQuestionBox.y + 24;
    std::size_t from = 0;
    while (from <= q.text.size()) {
        const std::size_t end = q.text.find('\n', from);
        if (!Text(q.text.substr(from, end == std::string::npos ? std::string::npos : end - from), kTextSize,
                  kInk, kQuestionBox.x + 24, y, why))
            return false;
        y += 28;
        if (end == std::string::npos) break;
        from = end + 1;
    }
    for (int a = kRestoreAnswer; a <= kCancelAnswer; ++a) {
        const SDL_Rect r = AnswerRect(a);
        const bool focus = q.focus == a;
        const std::string& word = a == kRestoreAnswer ? q.restore : q.cancel;
        if (!Fill(r, focus ? kBlue : kBackground, why) || !Frame(r, kBlue, why) ||
            !Text(word, kTextSize, focus ? kPaper : kInk, r.x, r.y + 12, why, r.w))
            return false;
    }
    return true;
}

bool Pages::Draw(std::string* why) {
    SDL_Renderer* r = renderer_;
    const Model& m = *model_;
    int w = 0, h = 0;
    if (!Done(SDL_GetRendererOutputSize(r, &w, &h), why)) return false;
    // The page as large as the renderer holds it (the window's scale, times the output's own under
    // a scaled Wayland output).
    scale_ = std::max(0.1, std::min(double(w) / kBaseWidth, double(h) / kBaseHeight));
    if (!Done(SDL_SetRenderDrawColor(r, kBackground.r, kBackground.g, kBackground.b, 255), why) ||
        !Done(SDL_RenderClear(r), why))
        return false;
    for (int p = 0; p < kPageCount; ++p) {
        const SDL_Rect tab = TabRect(p);
        const bool here = Page(p) == m.CurrentPage();
        if (!(here ? Fill(tab, kBlue, why) : Frame(tab, kGrey, why))) return false;
        if (!Text(m.PageName(Page(p)), kTextSize, here ? kPaper : kInk, tab.x, tab.y + 8, why, tab.w))
            return false;
    }
    if (!(m.CurrentPage() == Page::kControls ? DrawControls(why) : DrawRows(why))) return false;
    if (!Text(m.Message(), kSmallSize, kHot, 16, kMessageY, why)) return false;
    if (m.WaitingFor() == Waiting::kRestore && !DrawQuestion(why)) return false;
    SDL_RenderPresent(r);
    return true;
}

Tone Tone::Open() {
    Tone tone;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "KeyConfig1: no sound, the volumes are set silently (%s)\n", SDL_GetError());
        return tone;
    }
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 1024;
    tone.device_ = sdl::AudioDevice(SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0));
    if (!tone.device_) {
        std::fprintf(stderr, "KeyConfig1: no sound device, the volumes are set silently (%s)\n",
                     SDL_GetError());
        return tone;
    }
    SDL_PauseAudioDevice(tone.device_.get(), 0);
    return tone;
}

void Tone::Play(int volume) {
    if (!device_) return;
    std::vector<std::int16_t> tone(44100 / 5);
    for (std::size_t i = 0; i < tone.size(); ++i) {
        const double fade = 1.0 - double(i) / double(tone.size());
        tone[i] =
            std::int16_t(std::sin(double(i) * 2 * 3.14159265 * 660 / 44100) * 12000 * fade * volume / 100);
    }
    SDL_ClearQueuedAudio(device_.get());
    if (SDL_QueueAudio(device_.get(), tone.data(), Uint32(tone.size() * sizeof tone[0])) != 0 &&
        !failureTold_) {
        std::fprintf(stderr, "KeyConfig1: the volume's tone does not play (%s)\n", SDL_GetError());
        failureTold_ = true;
    }
}

}  // namespace keyconfig
