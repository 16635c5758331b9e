// The settings program's pages on the screen: tabs on top, the page's rows or the controls table
// with the tester under it, the message at the bottom.
#include "keyconfig/pages.h"

#include "platform/desktop/desktop.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace sdl = platform::sdl;

namespace desktop = platform::desktop;

namespace keyconfig {
namespace {

constexpr int kTop = 52, kRowHeight = 30, kTableLineHeight = 23, kMessageY = 600;
constexpr SDL_Color kInk{0x20, 0x20, 0x30, 255}, kHot{0xD0, 0x30, 0x30, 255}, kPaper{0xFF, 0xFF, 0xFF, 255};
constexpr const char* kPageNames[kPageCount] = {"操作", "キー", "パッド", "その他"};
constexpr const char* kPageNamesEn[kPageCount] = {"Controls", "Keys", "Pad", "Other"};

SDL_Rect TabRect(int page) {
    return SDL_Rect{16 + page * 120, 8, 110, 32};
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

std::string TestedPad::Line(const Model& model) const {
    if (!pad_ && !joystick_) return model.Say("ジョイスティック: なし", "Joystick: none");
    std::string line = model.Say("ジョイスティック: ", "Joystick: ");
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

void Pages::Event(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            model_->Close();
            break;
        case SDL_JOYDEVICEADDED:
            if (pad_.Id() < 0) pad_.Open(e.jdevice.which);
            break;
        case SDL_JOYDEVICEREMOVED:
            if (e.jdevice.which == pad_.Id()) {
                pad_.Close();
                pad_.OpenFirst();
            }
            break;
        case SDL_KEYDOWN:
            if (e.key.repeat) break;
            lastKey_ = SDL_GetKeyName(e.key.keysym.sym);
            model_->Key(e.key.keysym.scancode, (e.key.keysym.mod & KMOD_SHIFT) != 0);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (pad_.Is(e.cbutton.which)) model_->PadButton(SDL_GameControllerButton(e.cbutton.button));
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) Click(e.button.x, e.button.y);
            break;
        default:
            break;
    }
}

void Pages::Click(int x, int y) {
    const SDL_Point at{x, y};
    for (int p = 0; p < kPageCount; ++p) {
        const SDL_Rect tab = TabRect(p);
        if (SDL_PointInRect(&at, &tab)) {
            model_->ClickTab(Page(p));
            return;
        }
    }
    if (y < kTop - 2) return;
    model_->ClickRow((y - kTop + 2) / kRowHeight, x >= 360);
}

bool Pages::Text(const std::string& text, int size, SDL_Color colour, int x, int y, std::string* why) {
    if (text.empty()) return true;
    // Without a font the platform has said so, and main does not start; here it is SDL_ttf failing.
    sdl::SurfacePtr surface(desktop::RenderText(text, size, colour));
    if (!surface) {
        *why = std::string("the text \"") + text + "\" cannot be drawn (" + SDL_GetError() + ")";
        return false;
    }
    sdl::TexturePtr texture(SDL_CreateTextureFromSurface(renderer_, surface.get()));
    if (!texture) {
        *why = SDL_GetError();
        return false;
    }
    const SDL_Rect dst{x, y, surface->w, surface->h};
    return Done(SDL_RenderCopy(renderer_, texture.get(), nullptr, &dst), why);
}

bool Pages::Draw(std::string* why) {
    SDL_Renderer* r = renderer_;
    const Model& m = *model_;
    if (!Done(SDL_SetRenderDrawColor(r, 0xF4, 0xF1, 0xE6, 255), why) || !Done(SDL_RenderClear(r), why))
        return false;
    for (int p = 0; p < kPageCount; ++p) {
        const SDL_Rect tab = TabRect(p);
        const bool here = Page(p) == m.CurrentPage();
        if (here) {
            if (!Done(SDL_SetRenderDrawColor(r, 0x24, 0x45, 0x7A, 255), why) ||
                !Done(SDL_RenderFillRect(r, &tab), why))
                return false;
        } else {
            if (!Done(SDL_SetRenderDrawColor(r, 0x9A, 0xA5, 0xAE, 255), why) ||
                !Done(SDL_RenderDrawRect(r, &tab), why))
                return false;
        }
        if (!Text(m.Say(kPageNames[p], kPageNamesEn[p]), 16, here ? kPaper : kInk, tab.x + 14, tab.y + 6,
                  why))
            return false;
    }
    int y = kTop;
    if (m.CurrentPage() == Page::kControls) {
        for (const ControlsLine& line : m.Controls()) {
            if (!Text(line.scene, 14, kInk, 16, y, why) || !Text(line.keys, 14, kInk, 120, y, why) ||
                !Text(line.joystick, 14, kInk, 300, y, why) || !Text(line.effect, 14, kInk, 460, y, why))
                return false;
            y += kTableLineHeight;
        }
        y += 8;
        if (!Text(m.Say("最後に押したキー: ", "Last key pressed: ") + lastKey_, 16, kHot, 16, y, why) ||
            !Text(pad_.Line(m), 16, kHot, 16, y + 26, why))
            return false;
    } else {
        const std::vector<Row> rows = m.Rows();
        for (int i = 0; i < int(rows.size()); ++i) {
            if (i == m.Chosen()) {
                const SDL_Rect band{8, y - 2, 704, kRowHeight - 2};
                if (!Done(SDL_SetRenderDrawColor(r, 0xFF, 0xE8, 0xA0, 255), why) ||
                    !Done(SDL_RenderFillRect(r, &band), why))
                    return false;
            }
            if (!Text(rows[std::size_t(i)].label, 16, kInk, 20, y, why) ||
                !Text(rows[std::size_t(i)].value, 16, kInk, 320, y, why))
                return false;
            y += kRowHeight;
        }
    }
    if (!Text(m.Message(), 16, kHot, 16, kMessageY, why)) return false;
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
