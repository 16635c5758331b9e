// KeyConfig1.exe, the settings program the option screen's F5 opens. Four pages:
//  - 操作: the controls of Rushmora, scene by scene, and a tester that lights up every key and pad
//    button as it is pressed, numbered as the game numbers them (with the pad's own names);
//  - キー / パッド: the key or pad button of each of the game's keys and buttons ("press the key for
//    ジャンプ..."; one already in use elsewhere is refused with a word);
//  - その他: the music and effects volumes (with a sound to hear them), the scale, the language, the
//    window, and the defaults back.
// Every change is written at once to the player's settings.ini (platform/settings/settings.h).
// Keyboard: Tab (or a click on a tab, or the pad's shoulders) changes the page, the arrows choose,
// Enter takes, Escape closes. Mouse: click a row. Pad: the direction pad, A takes, Back closes.
//
// With RUSHMORA_HEADLESS=1 in the environment (as a headless game run starts it) or --list, it
// prints the table of controls and ends.
#include "platform/desktop/desktop.h"
#include "actions/actions.h"
#include "platform/settings/settings.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace desktop = platform::desktop;

namespace {

struct Binding {
    const char* scene;
    const char* keys;
    const char* joystick;
    const char* effect;
    const char* sceneEn;
    const char* keysEn;
    const char* joystickEn;
    const char* effectEn;
};

// The program's words in the player's language (the settings' 日本語 / English).
bool g_english = false;
const char* T(const char* japanese, const char* english) {
    return g_english ? english : japanese;
}

const Binding kBindings[] = {
    {"オープニング", "Enter", "ボタン3", "タイトルへ", "Opening", "Enter", "button 3", "to the title"},
    {"タイトル", "↑ ↓", "スティック上下", "項目をえらぶ", "Title", "↑ ↓", "stick up/down", "choose"},
    {"タイトル", "Enter", "ボタン2", "決定", "Title", "Enter", "button 2", "take"},
    {"オプション", "← →", "", "ゲージを調整", "Options", "← →", "", "adjust the gauge"},
    {"オプション", "F5", "", "このプログラムを開く", "Options", "F5", "", "open this program"},
    {"オプション", "F2", "", "テスト用INIを書く", "Options", "F2", "", "write the test INI"},
    {"オプション", "Esc", "ボタン3", "タイトルへ", "Options", "Esc", "button 3", "to the title"},
    {"ゲーム", "← → ↑ ↓", "スティック", "歩く・奥行きを変える", "Run", "← → ↑ ↓", "stick",
     "walk, change depth"},
    {"ゲーム", "A", "ボタン3", "ジャンプ", "Run", "A", "button 3", "jump"},
    {"ゲーム", "S", "ボタン1", "ダッシュ", "Run", "S", "button 1", "dash"},
    {"ゲーム", "D", "ボタン2", "攻撃", "Run", "D", "button 2", "attack"},
    {"ゲーム", "F", "ボタン4", "パワーモード", "Run", "F", "button 4", "power mode"},
    {"ゲーム", "Space", "ボタン7", "必殺技", "Run", "Space", "button 7", "special move"},
    {"ゲーム", "Esc", "", "タイトルに戻る (確認あり)", "Run", "Esc", "", "back to the title (asks)"},
    {"ゲーム", "", "ボタン5〜10同時", "すぐタイトルに戻る", "Run", "", "buttons 5-10 together",
     "straight to the title"},
    {"リザルト", "Enter", "ボタン2", "次へ", "Result", "Enter", "button 2", "go on"},
    {"リザルト", "Esc", "ボタン3", "タイトルへ", "Result", "Esc", "button 3", "to the title"},
};

void PrintTable() {
    std::printf("Rushmora の操作\n");
    for (const Binding& b : kBindings)
        std::printf("%-12s  %-20s  %-20s  %s\n", b.scene, b.keys, b.joystick, b.effect);
}

void Text(SDL_Renderer* r, const std::string& s, int size, SDL_Color c, int x, int y) {
    SDL_Surface* t = desktop::RenderText(s, size, c);
    if (!t) return;
    SDL_Texture* tex = SDL_CreateTextureFromSurface(r, t);
    SDL_Rect dst{x, y, t->w, t->h};
    SDL_RenderCopy(r, tex, nullptr, &dst);
    SDL_DestroyTexture(tex);
    SDL_FreeSurface(t);
}

// The pad being tested: a pad SDL knows (numbered as the game numbers it) or another joystick (its
// own numbers, as the game reads it). Pads come and go while the program runs.
struct Pad {
    SDL_GameController* pad = nullptr;
    SDL_Joystick* joystick = nullptr;

    void Close() {
        if (pad) SDL_GameControllerClose(pad);
        if (joystick) SDL_JoystickClose(joystick);
        pad = nullptr;
        joystick = nullptr;
    }
    bool Open(int index) {
        Close();
        if (SDL_IsGameController(index))
            pad = SDL_GameControllerOpen(index);
        else
            joystick = SDL_JoystickOpen(index);
        return pad || joystick;
    }
    void OpenFirst() {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (Open(i)) return;
    }
    SDL_JoystickID Id() const {
        if (pad) return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
        if (joystick) return SDL_JoystickInstanceID(joystick);
        return -1;
    }
    // "ジョイスティック: <name>  ボタン: 3 (X / Square) ..."
    std::string Line() const {
        if (!pad && !joystick) return T("ジョイスティック: なし", "Joystick: none");
        std::string line = T("ジョイスティック: ", "Joystick: ");
        line += pad ? SDL_GameControllerName(pad) : SDL_JoystickName(joystick);
        line += T("  ボタン:", "  buttons:");
        if (pad) {
            const unsigned buttons = desktop::PadButtons(pad);
            for (int i = 0; i < 10; ++i)
                if (buttons & (1u << i)) {
                    line.append(" ").append(std::to_string(i + 1)).append(" (");
                    line.append(desktop::PadButtonName(i + 1, SDL_GameControllerGetType(pad))).append(")");
                }
        } else {
            for (int i = 0; i < SDL_JoystickNumButtons(joystick) && i < 32; ++i)
                if (SDL_JoystickGetButton(joystick, i)) line.append(" ").append(std::to_string(i + 1));
        }
        return line;
    }
};

// The settings program's state and its pages.
class Settings {
  public:
    enum Page { kControls, kKeys, kPad, kOther, kPages };
    enum Waiting { kNothing, kKey, kPadButton };

    explicit Settings(SDL_AudioDeviceID sound) : sound_(sound) {
        platform::LoadSettings("", false);
        s_ = base_ = platform::CurrentSettings();
        g_english = s_.language == "en";
        file_ = platform::PlayerSettingsFile();
    }

    bool running = true;

    void Event(const SDL_Event& e, Pad* joy) {
        if (e.type == SDL_QUIT) running = false;
        if (e.type == SDL_KEYDOWN && !e.key.repeat) {
            lastKey_ = SDL_GetKeyName(e.key.keysym.sym);
            Key(e.key.keysym.scancode, (e.key.keysym.mod & KMOD_SHIFT) != 0);
        }
        if (e.type == SDL_CONTROLLERBUTTONDOWN && joy->pad &&
            e.cbutton.which == SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(joy->pad)))
            PadButton(SDL_GameControllerButton(e.cbutton.button));
        if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT)
            Click(e.button.x, e.button.y);
    }

    void Draw(SDL_Renderer* r, const Pad& joy) {
        SDL_SetRenderDrawColor(r, 0xF4, 0xF1, 0xE6, 255);
        SDL_RenderClear(r);
        for (int p = 0; p < kPages; ++p) {
            const SDL_Rect tab = TabRect(p);
            if (p == page_) {
                SDL_SetRenderDrawColor(r, 0x24, 0x45, 0x7A, 255);
                SDL_RenderFillRect(r, &tab);
            } else {
                SDL_SetRenderDrawColor(r, 0x9A, 0xA5, 0xAE, 255);
                SDL_RenderDrawRect(r, &tab);
            }
            Text(r, T(kPageNames[p], kPageNamesEn[p]), 16, p == page_ ? kPaper : kInk, tab.x + 14, tab.y + 6);
        }
        int y = kTop;
        if (page_ == kControls) {
            for (const Binding& b : kBindings) {
                Text(r, T(b.scene, b.sceneEn), 14, kInk, 16, y);
                Text(r, T(b.keys, b.keysEn), 14, kInk, 120, y);
                Text(r, T(b.joystick, b.joystickEn), 14, kInk, 300, y);
                Text(r, T(b.effect, b.effectEn), 14, kInk, 460, y);
                y += 23;
            }
            y += 8;
            Text(r, T("最後に押したキー: ", "Last key pressed: ") + lastKey_, 16, kHot, 16, y);
            Text(r, joy.Line(), 16, kHot, 16, y + 26);
        } else {
            const std::vector<Row> rows = Rows();
            for (int i = 0; i < int(rows.size()); ++i) {
                if (i == row_) {
                    SDL_SetRenderDrawColor(r, 0xFF, 0xE8, 0xA0, 255);
                    const SDL_Rect band{8, y - 2, 704, kRowHeight - 2};
                    SDL_RenderFillRect(r, &band);
                }
                Text(r, rows[std::size_t(i)].first, 16, kInk, 20, y);
                Text(r, rows[std::size_t(i)].second, 16, kInk, 320, y);
                y += kRowHeight;
            }
        }
        Text(r, message_, 16, kHot, 16, 600);
        SDL_RenderPresent(r);
    }

  private:
    static constexpr int kTop = 52, kRowHeight = 30;
    static constexpr SDL_Color kInk{0x20, 0x20, 0x30, 255}, kHot{0xD0, 0x30, 0x30, 255},
        kPaper{0xFF, 0xFF, 0xFF, 255};
    static constexpr const char* kPageNames[kPages] = {"操作", "キー", "パッド", "その他"};
    static constexpr const char* kPageNamesEn[kPages] = {"Controls", "Keys", "Pad", "Other"};
    static constexpr double kScales[] = {0, 1, 1.25, 1.5, 2, 3};
    static constexpr int kWindows[][2] = {{0, 0}, {1280, 720}, {1600, 900}, {1920, 1080}};

    static SDL_Rect TabRect(int page) { return SDL_Rect{16 + page * 120, 8, 110, 32}; }

    // Each row: what it is, and its value now.
    using Row = std::pair<std::string, std::string>;
    std::vector<Row> Rows() const {
        std::vector<Row> rows;
        if (page_ == kKeys) {
            for (int i = 0; i < int(platform::GameKeys().size()); ++i) {
                const platform::GameKey& k = platform::GameKeys()[std::size_t(i)];
                const bool asking = waiting_ == kKey && row_ == i;
                rows.push_back({std::string(T(k.japanese, k.english)) + "  (" + k.name + ")",
                                asking ? T("キーを押してください…", "Press the key…")
                                       : SDL_GetScancodeName(s_.keys[std::size_t(i)])});
            }
        } else if (page_ == kPad) {
            for (int i = 0; i < 10; ++i) {
                const bool asking = waiting_ == kPadButton && row_ == i;
                rows.push_back({T("ボタン", "Button ") + std::to_string(i + 1),
                                asking
                                    ? T("パッドのボタンを押してください…", "Press the pad's button…")
                                    : SDL_GameControllerGetStringForButton(s_.padButtons[std::size_t(i)])});
            }
            rows.push_back(
                {T("Aで決定にする (ボタン1と2を入れ替え)", "Confirm with A (buttons 1 and 2 swapped)"), ""});
        } else if (page_ == kOther) {
            char scale[32];
            std::snprintf(scale, sizeof scale, "%g", s_.scale);
            rows.push_back({T("音楽の音量", "Music volume"), "◀ " + std::to_string(s_.musicVolume) + " % ▶"});
            rows.push_back(
                {T("効果音の音量", "Effects volume"), "◀ " + std::to_string(s_.effectsVolume) + " % ▶"});
            rows.push_back(
                {T("画面の倍率", "Scale"),
                 "◀ " + (s_.scale > 0 ? std::string(scale) : T("システムの設定", "the system's")) + " ▶"});
            rows.push_back({T("言語", "Language"),
                            std::string("◀ ") + (s_.language == "en" ? "English" : "日本語") + " ▶"});
            rows.push_back({T("ウィンドウ", "Window"),
                            "◀ " +
                                (s_.windowWidth > 0
                                     ? std::to_string(s_.windowWidth) + "x" + std::to_string(s_.windowHeight)
                                     : std::string(T("全画面", "full screen"))) +
                                " ▶"});
            rows.push_back({T("すべて初期設定に戻す", "All back to the defaults"), ""});
        }
        return rows;
    }

    void Key(SDL_Scancode sc, bool shift) {
        if (waiting_ == kKey) {
            // Escape gives up the question, unless the game's Escape itself is being set.
            if (sc == SDL_SCANCODE_ESCAPE &&
                std::string(platform::GameKeys()[std::size_t(row_)].name) != "escape") {
                waiting_ = kNothing;
                message_.clear();
                return;
            }
            int taken = -1;
            if (platform::AssignKey(&s_, row_, sc, &taken)) {
                waiting_ = kNothing;
                Save();
            } else if (taken >= 0) {
                const platform::GameKey& other = platform::GameKeys()[std::size_t(taken)];
                message_ = g_english
                               ? std::string(SDL_GetScancodeName(sc)) + " is in use for " + other.english
                               : std::string(SDL_GetScancodeName(sc)) + " は「" + other.japanese +
                                     "」に使われています";
            }
            return;
        }
        if (waiting_ == kPadButton) {
            if (sc == SDL_SCANCODE_ESCAPE) {
                waiting_ = kNothing;
                message_.clear();
            }
            return;
        }
        switch (sc) {
            case SDL_SCANCODE_ESCAPE:
                running = false;
                break;
            case SDL_SCANCODE_TAB:
                Turn(shift ? kPages - 1 : 1);
                break;
            case SDL_SCANCODE_UP:
                Move(-1);
                break;
            case SDL_SCANCODE_DOWN:
                Move(1);
                break;
            case SDL_SCANCODE_LEFT:
                Adjust(-1);
                break;
            case SDL_SCANCODE_RIGHT:
                Adjust(1);
                break;
            case SDL_SCANCODE_RETURN:
            case SDL_SCANCODE_KP_ENTER:
            case SDL_SCANCODE_SPACE:
                Take();
                break;
            default:
                break;
        }
    }

    void PadButton(SDL_GameControllerButton b) {
        if (waiting_ == kPadButton) {
            int taken = -1;
            if (platform::AssignPadButton(&s_, row_, b, &taken)) {
                waiting_ = kNothing;
                Save();
            } else if (taken >= 0) {
                message_ = std::string(SDL_GameControllerGetStringForButton(b)) +
                           T(" はボタン", " is in use for button ") + std::to_string(taken + 1) +
                           T("に使われています", "");
            }
            return;
        }
        if (waiting_ != kNothing) return;
        switch (b) {
            case SDL_CONTROLLER_BUTTON_DPAD_UP:
                Move(-1);
                break;
            case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
                Move(1);
                break;
            case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
                Adjust(-1);
                break;
            case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
                Adjust(1);
                break;
            case SDL_CONTROLLER_BUTTON_A:
                Take();
                break;
            case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
                Turn(kPages - 1);
                break;
            case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
                Turn(1);
                break;
            case SDL_CONTROLLER_BUTTON_BACK:
                running = false;
                break;
            default:
                break;
        }
    }

    void Click(int x, int y) {
        for (int p = 0; p < kPages; ++p) {
            const SDL_Rect tab = TabRect(p);
            const SDL_Point at{x, y};
            if (SDL_PointInRect(&at, &tab)) {
                waiting_ = kNothing;
                page_ = p;
                row_ = 0;
                message_.clear();
                return;
            }
        }
        if (page_ == kControls || waiting_ != kNothing) return;
        const int row = (y - kTop + 2) / kRowHeight;
        if (y < kTop - 2 || row >= int(Rows().size())) return;
        row_ = row;
        // On the other page a click on the left or right arrow half adjusts, elsewhere it takes.
        if (page_ == kOther && row_ < 5)
            Adjust(x < 360 ? -1 : 1);
        else
            Take();
    }

    void Turn(int by) {
        waiting_ = kNothing;
        page_ = (page_ + by) % kPages;
        row_ = 0;
        message_.clear();
    }

    void Move(int by) {
        const int n = int(Rows().size());
        if (n > 0) row_ = (row_ + by + n) % n;
        message_.clear();
    }

    void Take() {
        message_.clear();
        if (page_ == kKeys) {
            waiting_ = kKey;
        } else if (page_ == kPad) {
            if (row_ == 10) {
                platform::ConfirmWithA(&s_);
                Save();
            } else {
                waiting_ = kPadButton;
            }
        } else if (page_ == kOther) {
            if (row_ == 5) {
                s_ = platform::Settings();
                Save();
                message_ = T("初期設定に戻しました", "Back to the defaults");
            } else {
                Adjust(1);
            }
        }
    }

    void Adjust(int by) {
        if (page_ != kOther) return;
        auto step = [by](auto& list, auto matches) {
            const int n = int(std::size(list));
            int at = 0;
            for (int i = 0; i < n; ++i)
                if (matches(list[i])) at = i;
            return (at + by + n) % n;
        };
        switch (row_) {
            case 0:
                s_.musicVolume = std::clamp(s_.musicVolume + 10 * by, 0, 100);
                Beep(s_.musicVolume);
                break;
            case 1:
                s_.effectsVolume = std::clamp(s_.effectsVolume + 10 * by, 0, 100);
                Beep(s_.effectsVolume);
                break;
            case 2:
                s_.scale = kScales[step(kScales, [this](double v) { return v == s_.scale; })];
                break;
            case 3:
                s_.language = s_.language == "en" ? "ja" : "en";
                g_english = s_.language == "en";
                break;
            case 4: {
                const int i = step(kWindows, [this](const int* w) { return w[0] == s_.windowWidth; });
                s_.windowWidth = kWindows[i][0];
                s_.windowHeight = kWindows[i][1];
                break;
            }
            default:
                return;
        }
        Save();
    }

    // A short tone at the volume, so that the player hears what it is.
    void Beep(int volume) {
        if (!sound_) return;
        std::vector<std::int16_t> tone(44100 / 5);
        for (std::size_t i = 0; i < tone.size(); ++i) {
            const double fade = 1.0 - double(i) / double(tone.size());
            tone[i] = std::int16_t(std::sin(double(i) * 2 * 3.14159265 * 660 / 44100) * 12000 * fade *
                                   volume / 100);
        }
        SDL_ClearQueuedAudio(sound_);
        SDL_QueueAudio(sound_, tone.data(), Uint32(tone.size() * sizeof tone[0]));
    }

    void Save() {
        if (file_.empty()) {
            message_ = T("設定を保存する場所がありません", "There is no place to keep the settings");
            return;
        }
        // Only what was changed here goes over the file: what another program saved meanwhile (the
        // file replaced while this one was open, a second window of this program) stays.
        platform::Settings saved;
        std::string why;
        if (platform::SaveSettingsChanges(file_, base_, s_, &saved, &why)) {
            s_ = base_ = saved;
            g_english = s_.language == "en";
            message_ = T("保存しました: ", "Saved: ") + file_;
        } else {
            message_ = T("保存できません: ", "Cannot save: ") + why;
        }
    }

    platform::Settings s_, base_;  // as shown, and as the file held when last read or saved
    std::string file_;
    SDL_AudioDeviceID sound_ = 0;
    int page_ = kControls, row_ = 0;
    Waiting waiting_ = kNothing;
    std::string lastKey_ = "(なし)", message_;
};

}  // namespace

int main(int argc, char** argv) {
    platform::UseGameKeys(GameActions());
    const char* headless = std::getenv("RUSHMORA_HEADLESS");
    if ((headless && *headless && std::strcmp(headless, "0") != 0) ||
        (argc > 1 && std::strcmp(argv[1], "--list") == 0)) {
        PrintTable();
        return 0;
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK) != 0) {
        std::fprintf(stderr, "KeyConfig1: no display (%s)\n", SDL_GetError());
        PrintTable();
        return 1;
    }
    TTF_Init();
    SDL_Window* w =
        SDL_CreateWindow("Rushmora 設定", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 720, 640, 0);
    SDL_Renderer* r = w ? SDL_CreateRenderer(w, -1, 0) : nullptr;
    if (!r) {
        std::fprintf(stderr, "KeyConfig1: cannot open a window (%s)\n", SDL_GetError());
        return 1;
    }
    // A sound device for the volume's tone; without one the settings still work, silently.
    SDL_AudioDeviceID sound = 0;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        SDL_AudioSpec want{};
        want.freq = 44100;
        want.format = AUDIO_S16SYS;
        want.channels = 1;
        want.samples = 1024;
        sound = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (sound) SDL_PauseAudioDevice(sound, 0);
    }
    Settings settings(sound);
    // The game's folder is the one above data/, where this program runs from.
    if (char* base = SDL_GetBasePath()) {
        desktop::LoadPadMappings(std::string(base) + "..");
        SDL_free(base);
    }
    Pad joy;
    joy.OpenFirst();
    while (settings.running) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_JOYDEVICEADDED && joy.Id() < 0) joy.Open(e.jdevice.which);
            if (e.type == SDL_JOYDEVICEREMOVED && e.jdevice.which == joy.Id()) {
                joy.Close();
                joy.OpenFirst();
            }
            settings.Event(e, &joy);
        }
        settings.Draw(r, joy);
        SDL_Delay(16);
    }
    joy.Close();
    if (sound) SDL_CloseAudioDevice(sound);
    SDL_DestroyRenderer(r);
    SDL_DestroyWindow(w);
    TTF_Quit();
    SDL_Quit();
    return 0;
}
