// The settings program's pages as state: what each input does to them, and the settings saved.
#include "keyconfig/model.h"

#include "actions/actions.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <set>
#include <sstream>
#include <utility>

namespace keyconfig {
namespace {

// A line of the controls table. Its keys are the player's keys of the game's actions it names, or
// its own when it names none (keys that are not the game's actions: F5, F2, ...); its pad buttons
// are the game's button it names (the player's pad button for it), or its own words (the stick), or
// else those of its (first) action; what they do is its own words, or else its action's.
struct TableLine {
    const char* scene;
    const char* sceneEn;
    const char* actions;   // the names of the game's actions whose keys it shows ("left right"), or null
    const char* keys;      // its own keys, when it names no action
    int button;            // the game's pad button (1 to 10), 0: its own words, kTheActions: the action's
    const char* joystick;  // its own words for the pad, when it names no button
    const char* joystickEn;
    const char* effect;  // null: what the action does
    const char* effectEn;
};

constexpr int kTheActions = -1;
// Where the run's buttons go: one line for each of the game's actions with a pad button that no
// other line names (the menus' Enter and Esc are told with their menus).
constexpr const char* kTheRunsButtons = "*";
// The buttons that together go straight back to the title.
constexpr int kAllTogether = 11;

constexpr TableLine kTable[] = {
    {"オープニング", "Opening", "enter", nullptr, 3, nullptr, nullptr, "タイトルへ", "To the title"},
    {"タイトル", "Title", "up down", nullptr, 0, "スティック上下", "Stick up/down", "項目をえらぶ", "Choose"},
    {"タイトル", "Title", "enter", nullptr, 2, nullptr, nullptr, "決定", "Confirm"},
    {"タイトル", "Title", nullptr, "F1", 7, nullptr, nullptr, "あそびかた", "How to play"},
    {"オプション", "Options", "left right", nullptr, 0, "", "", "ゲージを調整", "Adjust the gauge"},
    {"オプション", "Options", nullptr, "F5", 0, "", "", "このプログラムを開く", "Open this program"},
    {"オプション", "Options", nullptr, "F2", 0, "", "", "テスト用INIを書く", "Write the test INI"},
    {"オプション", "Options", "escape", nullptr, 3, nullptr, nullptr, "タイトルへ", "Back to the title"},
    {"オプション", "Options", nullptr, "F1", 7, nullptr, nullptr, "あそびかた", "How to play"},
    {"ゲーム", "Run", "left right up down", nullptr, 0, "スティック", "Stick", "歩く・奥行きを変える",
     "Walk, move in depth"},
    {"ゲーム", "Run", kTheRunsButtons, nullptr, kTheActions, nullptr, nullptr, nullptr, nullptr},
    {"ゲーム", "Run", "escape", nullptr, 0, "", "", "タイトルに戻る (確認あり)",
     "Back to the title (asks first)"},
    {"ゲーム", "Run", nullptr, "", kAllTogether, "5〜10同時", "5 to 10 together", "すぐタイトルに戻る",
     "Straight back to the title"},
    {"ゲーム", "Run", nullptr, "P  Pause", 8, nullptr, nullptr, "一時停止", "Pause"},
    {"リザルト", "Result", "enter", nullptr, 2, nullptr, nullptr, "次へ", "Next"},
    {"リザルト", "Result", "escape", nullptr, 3, nullptr, nullptr, "タイトルへ", "Back to the title"},
};

std::vector<std::string> Words(const char* text) {
    std::vector<std::string> words;
    std::istringstream in(text ? text : "");
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

int ActionIndex(const std::string& name) {
    const std::vector<platform::GameKey>& actions = GameActions();
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (name == actions[i].name) return int(i);
    return -1;
}

std::string Meaning(const platform::GameKey& action, bool english) {
    return english ? Capitalised(action.english) : action.japanese;
}

// The game's button (1 to 10) as the controls page writes it: its number, and the pad's button the
// player gave it as the pad names it ("3 (X)").
std::string ButtonWord(const platform::settings::Settings& settings, int number,
                       SDL_GameControllerType type) {
    if (number < 1 || number > int(settings.padButtons.size())) return "";
    return std::to_string(number) + " (" +
           PadButtonLabel(settings.padButtons[std::size_t(number - 1)], type) + ")";
}

constexpr double kScales[] = {0, 1, 1.25, 1.5, 2, 3};
// The game's window sizes a player picks from (16:9, as the game's screen), those that fit the screen.
constexpr std::pair<int, int> kWindowSizes[] = {{960, 540},   {1024, 576},  {1280, 720},  {1366, 768},
                                                {1600, 900},  {1920, 1080}, {2560, 1440}, {3200, 1800},
                                                {3840, 2160}, {5120, 2880}};
// Room for a window manager's title bar and a task bar's edge.
constexpr int kTitleBarRoom = 40;

// "Confirm with A" is on when the game's buttons 1 and 2 are the pad's buttons swapped from the
// defaults; turning it swaps them back, whatever else the player moved.
bool ConfirmsWithA(const platform::settings::Settings& s) {
    const platform::settings::Settings defaults;
    return s.padButtons[0] == defaults.padButtons[1] && s.padButtons[1] == defaults.padButtons[0];
}

// A value one step up or down (by is 1 or -1) within its bounds. One between two steps (the file may
// hold any whole number) goes to the next step that way, so the values shown stay round.
int Stepped(int value, int step, int by, int low, int high) {
    const int below = value - ((value % step) + step) % step;
    const int next = by > 0 ? below + step : below == value ? value - step : below;
    return std::clamp(next, low, high);
}

}  // namespace

std::string ShortKeyName(SDL_Scancode key) {
    switch (key) {
        case SDL_SCANCODE_LEFT:
            return "←";
        case SDL_SCANCODE_RIGHT:
            return "→";
        case SDL_SCANCODE_UP:
            return "↑";
        case SDL_SCANCODE_DOWN:
            return "↓";
        case SDL_SCANCODE_RETURN:
            return "Enter";
        case SDL_SCANCODE_ESCAPE:
            return "Esc";
        default:
            return SDL_GetScancodeName(key);
    }
}

std::string PadButtonLabel(SDL_GameControllerButton button, SDL_GameControllerType type) {
    // The face buttons and the buttons of one to ten as the pad's make prints them.
    int number = 0;
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            number = 1;
            break;
        case SDL_CONTROLLER_BUTTON_B:
            number = 2;
            break;
        case SDL_CONTROLLER_BUTTON_X:
            number = 3;
            break;
        case SDL_CONTROLLER_BUTTON_Y:
            number = 4;
            break;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            number = 5;
            break;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            number = 6;
            break;
        case SDL_CONTROLLER_BUTTON_BACK:
            number = 7;
            break;
        case SDL_CONTROLLER_BUTTON_START:
            number = 8;
            break;
        case SDL_CONTROLLER_BUTTON_LEFTSTICK:
            number = 9;
            break;
        case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
            number = 10;
            break;
        case SDL_CONTROLLER_BUTTON_GUIDE:
            return "Guide";
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return "D-pad ↑";
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return "D-pad ↓";
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return "D-pad ←";
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return "D-pad →";
        default:
            break;
    }
    if (number > 0) return platform::desktop::PadButtonName(number, type);
    const char* name = SDL_GameControllerGetStringForButton(button);
    return name ? name : "?";
}

std::string NativePath(const std::string& utf8) {
    if (utf8.empty()) return utf8;
    std::filesystem::path path(std::u8string(utf8.begin(), utf8.end()));
    path.make_preferred();
    const std::u8string native = path.u8string();
    return std::string(native.begin(), native.end());
}

std::string Capitalised(std::string words) {
    if (!words.empty() && words[0] >= 'a' && words[0] <= 'z') words[0] = char(words[0] - 'a' + 'A');
    return words;
}

CommandLine ReadCommandLine(int argc, const char* const* argv) {
    CommandLine out;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i] ? argv[i] : "";
        std::string value;
        bool hasValue = false;
        if (const std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            hasValue = true;
        }
        if (arg == "--list") {
            out.list = true;
            continue;
        }
        if (arg != "--lang" && arg != "--scale") {
            out.warnings.push_back("unknown option " + arg + " left aside");
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= argc || !argv[i + 1]) {
                out.warnings.push_back(arg + " needs a value");
                continue;
            }
            value = argv[++i];
        }
        if (arg == "--lang") {
            if (value == platform::kJapanese || value == platform::kEnglish)
                out.language = value;
            else
                out.warnings.push_back("--lang " + value + ": ja or en; the settings' language is used");
        } else {
            char* end = nullptr;
            const double scale = std::strtod(value.c_str(), &end);
            if (!value.empty() && end && *end == '\0' && std::isfinite(scale) && scale >= 0.25 && scale <= 8)
                out.scale = scale;
            else
                out.warnings.push_back("--scale " + value +
                                       ": a number from 0.25 to 8; the system's is used");
        }
    }
    return out;
}

WindowFit FitWindow(double commandLine, double system, int usableWidth, int usableHeight) {
    const double wanted = commandLine > 0 ? commandLine : system > 0 ? system : 1.0;
    WindowFit fit;
    fit.scale = wanted;
    if (usableWidth > 0 && usableHeight > 0)
        fit.scale = platform::FitScreen(usableWidth, usableHeight, wanted, kBaseWidth, kBaseHeight).scale;
    fit.width = int(std::lround(kBaseWidth * fit.scale));
    fit.height = int(std::lround(kBaseHeight * fit.scale));
    return fit;
}

std::vector<ControlsLine> ControlsTable(const platform::settings::Settings& settings, bool english,
                                        SDL_GameControllerType padType) {
    std::set<std::string> named;
    for (const TableLine& line : kTable)
        if (line.actions != kTheRunsButtons)
            for (const std::string& name : Words(line.actions)) named.insert(name);
    auto padOf = [&settings](int number) { return settings.padButtons[std::size_t(number - 1)]; };

    std::vector<ControlsLine> table;
    const std::vector<platform::GameKey>& actions = GameActions();
    for (const TableLine& line : kTable) {
        const char* scene = english ? line.sceneEn : line.scene;
        if (line.actions == kTheRunsButtons) {
            for (std::size_t i = 0; i < actions.size(); ++i) {
                const platform::GameKey& a = actions[i];
                if (a.padButton < 1 || a.padButton > 10 || named.count(a.name)) continue;
                ControlsLine out{scene,
                                 "",
                                 ButtonWord(settings, a.padButton, padType),
                                 Meaning(a, english),
                                 {},
                                 {padOf(a.padButton)}};
                if (i < settings.keys.size()) {
                    out.keys = ShortKeyName(settings.keys[i]);
                    out.scancodes.push_back(settings.keys[i]);
                }
                table.push_back(std::move(out));
            }
            continue;
        }
        ControlsLine out{scene, line.keys ? line.keys : "", "", "", {}, {}};
        for (const std::string& word : Words(line.keys))
            if (const SDL_Scancode key = SDL_GetScancodeFromName(word.c_str()); key != SDL_SCANCODE_UNKNOWN)
                out.scancodes.push_back(key);
        int first = -1;
        for (const std::string& name : Words(line.actions)) {
            const int i = ActionIndex(name);
            if (i < 0 || std::size_t(i) >= settings.keys.size())
                continue;  // an action the game no longer has
            if (first < 0) first = i;
            if (!out.keys.empty()) out.keys += " ";
            out.keys += ShortKeyName(settings.keys[std::size_t(i)]);
            out.scancodes.push_back(settings.keys[std::size_t(i)]);
        }
        if (line.button >= 1 && line.button <= 10) {
            out.joystick = ButtonWord(settings, line.button, padType);
            out.buttons.push_back(padOf(line.button));
        } else if (line.button == kAllTogether) {
            for (int b = 5; b <= 10; ++b) out.buttons.push_back(padOf(b));
        }
        if (out.joystick.empty()) {
            const char* joystick = english ? line.joystickEn : line.joystick;
            if (joystick) out.joystick = joystick;
        }
        const char* effect = english ? line.effectEn : line.effect;
        if (effect)
            out.effect = effect;
        else if (first >= 0)
            out.effect = Meaning(actions[std::size_t(first)], english);
        table.push_back(std::move(out));
    }
    return table;
}

Model::Model(const platform::settings::Settings& settings, std::string file, const std::string& language)
    : shown_(settings),
      base_(settings),
      file_(std::move(file)),
      language_(language.empty() ? settings.language : language) {}

std::string Model::PageName(Page page) const {
    switch (page) {
        case Page::kControls:
            return Say("操作", "Controls");
        case Page::kKeys:
            return Say("キー", "Keys");
        case Page::kPad:
            return Say("パッド", "Pad");
        case Page::kAccess:
            return Say("アクセシビリティ", "Access");
        case Page::kOther:
            return Say("その他", "Other");
    }
    return "";
}

std::string Model::PageNote() const {
    if ((page_ == Page::kPad || page_ == Page::kControls) && !padConnected_)
        return Say("パッドがつながっていません。つなぐとここに出ます。",
                   "No pad is connected. Plug one in and it shows here.");
    if (page_ == Page::kAccess)
        return Say("ゲームの速さが100 %未満のプレイには印がつき、共有のランキングには数えられません。",
                   "Runs below 100 % game speed are marked and do not count on a shared board.");
    return "";
}

Question Model::RestoreQuestion() const {
    return {Say("すべて初期設定に戻しますか？\nキー、パッド、アクセシビリティ、音量、倍率、\n言語、ウィンドウ"
                "がすべて初期設定になります。",
                "Restore all the defaults?\nKeys, pad, access settings, volumes, scale,\nlanguage and window "
                "all go back to the defaults."),
            Say("初期設定に戻す", "Restore"), Say("やめる", "Cancel"), focus_};
}

// What the game's button does, in words: the game's actions it plays, and what it does of its own.
std::string Model::PadRowLabel(int gameButton) const {
    std::string label;
    for (const platform::GameKey& a : GameActions())
        if (a.padButton == gameButton) label += (label.empty() ? "" : " / ") + Meaning(a, English());
    if (gameButton == 8) label += (label.empty() ? "" : " / ") + std::string(Say("一時停止", "Pause"));
    if (gameButton == 7)
        label += (label.empty() ? "" : " / ") + std::string(Say("あそびかた", "How to play"));
    if (label.empty()) label = Say("(5〜10同時押しでタイトルへ)", "(5 to 10 together: back to the title)");
    return std::to_string(gameButton) + "  " + label;
}

std::vector<Row> Model::Rows() const {
    std::vector<Row> rows;
    if (page_ == Page::kKeys) {
        const std::vector<platform::GameKey>& actions = GameActions();
        for (std::size_t i = 0; i < actions.size(); ++i) {
            const bool asking = waiting_ == Waiting::kKey && row_ == int(i);
            const char* key = i < shown_.keys.size() ? SDL_GetScancodeName(shown_.keys[i]) : "";
            rows.push_back({Meaning(actions[i], English()),
                            asking ? Say("キーを押してください…", "Press a key…") : key, RowKind::kKey});
        }
    } else if (page_ == Page::kPad) {
        for (int i = 0; i < 10; ++i) {
            const bool asking = waiting_ == Waiting::kPadButton && row_ == i;
            std::string value = PadButtonLabel(shown_.padButtons[std::size_t(i)], padType_);
            if (asking)
                value = padConnected_ ? Say("パッドのボタンを押してください…", "Press a pad button…")
                                      : Say("パッドをつないでください…", "Plug in a pad…");
            rows.push_back({PadRowLabel(i + 1), value, RowKind::kPadButton});
        }
        rows.push_back({Say("Aで決定 (ボタン1と2を入れ替え)", "Confirm with A (buttons 1 and 2 swapped)"),
                        OnOff(ConfirmsWithA(shown_)), RowKind::kToggle});
        rows.push_back({Say("スティックのあそび", "Stick dead zone"), std::to_string(shown_.deadZone) + " %",
                        RowKind::kStep});
        rows.push_back({Say("振動", "Rumble"), OnOff(shown_.rumble), RowKind::kToggle});
    } else if (page_ == Page::kAccess) {
        const auto holdOrToggle = [this](bool toggle) {
            return toggle ? Say("おすたびに切りかえ", "Toggle") : Say("おしつづける", "Hold");
        };
        rows.push_back(
            {Say("動きをおさえる", "Reduce motion"), OnOff(shown_.reduceMotion), RowKind::kToggle});
        rows.push_back(
            {Say("点滅をおさえる", "Reduce flashing"), OnOff(shown_.reduceFlashing), RowKind::kToggle});
        rows.push_back({Say("ダッシュ", "Dash"), holdOrToggle(shown_.toggleDash), RowKind::kStep});
        rows.push_back({Say("パワーモード", "Power mode"), holdOrToggle(shown_.togglePower), RowKind::kStep});
        rows.push_back(
            {Say("ゲームの速さ", "Game speed"), std::to_string(shown_.gameSpeed) + " %", RowKind::kStep});
    } else if (page_ == Page::kOther) {
        char scale[32];
        std::snprintf(scale, sizeof scale, "%g", shown_.scale);
        rows.push_back(
            {Say("音楽の音量", "Music volume"), std::to_string(shown_.musicVolume) + " %", RowKind::kStep});
        rows.push_back({Say("効果音の音量", "Effects volume"), std::to_string(shown_.effectsVolume) + " %",
                        RowKind::kStep});
        rows.push_back({Say("画面の倍率", "Scale"),
                        shown_.scale > 0 ? std::string(scale) : Say("システムの設定", "System default"),
                        RowKind::kStep});
        rows.push_back({Say("言語", "Language"), shown_.language == platform::kEnglish ? "English" : "日本語",
                        RowKind::kStep});
        rows.push_back({Say("ウィンドウ", "Window"),
                        shown_.windowWidth > 0
                            ? std::to_string(shown_.windowWidth) + " x " + std::to_string(shown_.windowHeight)
                            : std::string(Say("全画面", "Full screen")),
                        RowKind::kStep});
        rows.push_back({Say("ウィンドウを離れたら一時停止", "Pause when the window is left"),
                        OnOff(shown_.pauseWhenAway), RowKind::kToggle});
        rows.push_back({Say("初期設定に戻す…", "Restore defaults..."), "", RowKind::kButton});
    }
    return rows;
}

std::vector<ControlsLine> Model::Controls() const {
    std::vector<ControlsLine> table = ControlsTable(shown_, English(), padType_);
    for (ControlsLine& line : table) {
        for (SDL_Scancode key : line.scancodes) line.lit = line.lit || keysHeld_.count(key) > 0;
        for (SDL_GameControllerButton b : line.buttons) line.lit = line.lit || buttonsHeld_.count(b) > 0;
    }
    return table;
}

std::optional<int> Model::TakeTone() {
    return std::exchange(tone_, std::nullopt);
}

void Model::SetPad(bool connected, SDL_GameControllerType type) {
    padConnected_ = connected;
    padType_ = connected ? type : SDL_CONTROLLER_TYPE_UNKNOWN;
    buttonsHeld_.clear();
}

void Model::KeyUp(SDL_Scancode key) {
    keysHeld_.erase(key);
}

void Model::PadButtonUp(SDL_GameControllerButton button) {
    buttonsHeld_.erase(button);
}

void Model::ReleaseAll() {
    keysHeld_.clear();
    buttonsHeld_.clear();
}

void Model::Key(SDL_Scancode key, bool shift) {
    keysHeld_.insert(key);
    if (waiting_ == Waiting::kKey) {
        KeyAnswer(key);
        return;
    }
    if (waiting_ == Waiting::kRestore) {
        RestoreAnswer(key);
        return;
    }
    if (waiting_ == Waiting::kPadButton) {
        if (key == SDL_SCANCODE_ESCAPE) {
            waiting_ = Waiting::kNothing;
            message_.clear();
        }
        return;
    }
    switch (key) {
        case SDL_SCANCODE_ESCAPE:
            running_ = false;
            break;
        case SDL_SCANCODE_TAB:
            Turn(shift ? kPageCount - 1 : 1);
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

// The restore question: the arrows and Tab move between its answers, Enter or Space takes the one
// chosen, Y restores, N and Escape cancel.
void Model::RestoreAnswer(SDL_Scancode key) {
    switch (key) {
        case SDL_SCANCODE_LEFT:
        case SDL_SCANCODE_RIGHT:
        case SDL_SCANCODE_UP:
        case SDL_SCANCODE_DOWN:
        case SDL_SCANCODE_TAB:
            focus_ = focus_ == kRestoreAnswer ? kCancelAnswer : kRestoreAnswer;
            break;
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER:
        case SDL_SCANCODE_SPACE:
            Answered(focus_ == kRestoreAnswer);
            break;
        case SDL_SCANCODE_Y:
            Answered(true);
            break;
        case SDL_SCANCODE_N:
        case SDL_SCANCODE_ESCAPE:
            Answered(false);
            break;
        default:
            break;
    }
}

void Model::ClickAnswer(Answer answer) {
    if (waiting_ == Waiting::kRestore) Answered(answer == kRestoreAnswer);
}

void Model::Answered(bool restore) {
    waiting_ = Waiting::kNothing;
    message_.clear();
    if (!restore) return;
    shown_ = platform::settings::Settings();
    const bool saved = Save();
    // Everything on the screen is the defaults', the language it is shown in too.
    language_ = shown_.language;
    if (saved) message_ = Say("初期設定に戻しました", "The defaults are back");
}

// The key for the action of the chosen row. Escape gives up the question, unless the game's Escape
// itself is being set: no other action can take the key that closes this program's questions.
void Model::KeyAnswer(SDL_Scancode key) {
    const std::vector<platform::GameKey>& actions = GameActions();
    const bool settingEscape = row_ >= 0 && std::size_t(row_) < actions.size() &&
                               std::strcmp(actions[std::size_t(row_)].name, "escape") == 0;
    if (key == SDL_SCANCODE_ESCAPE && !settingEscape) {
        waiting_ = Waiting::kNothing;
        message_.clear();
        return;
    }
    int taken = -1;
    if (platform::settings::AssignKey(&shown_, row_, key, &taken)) {
        waiting_ = Waiting::kNothing;
        Save();
    } else if (taken >= 0 && std::size_t(taken) < actions.size()) {
        const platform::GameKey& other = actions[std::size_t(taken)];
        const std::string name = SDL_GetScancodeName(key);
        message_ = English() ? name + " is in use for " + Meaning(other, true)
                             : name + " は「" + other.japanese + "」に使われています";
    }
}

void Model::PadButton(SDL_GameControllerButton button) {
    buttonsHeld_.insert(button);
    if (waiting_ == Waiting::kPadButton) {
        PadAnswer(button);
        return;
    }
    if (waiting_ == Waiting::kRestore) {
        switch (button) {
            case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
                focus_ = focus_ == kRestoreAnswer ? kCancelAnswer : kRestoreAnswer;
                break;
            case SDL_CONTROLLER_BUTTON_A:
                Answered(focus_ == kRestoreAnswer);
                break;
            case SDL_CONTROLLER_BUTTON_B:
            case SDL_CONTROLLER_BUTTON_BACK:
                Answered(false);
                break;
            default:
                break;
        }
        return;
    }
    if (waiting_ != Waiting::kNothing) return;
    switch (button) {
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
            Turn(kPageCount - 1);
            break;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            Turn(1);
            break;
        case SDL_CONTROLLER_BUTTON_BACK:
            running_ = false;
            break;
        default:
            break;
    }
}

void Model::PadAnswer(SDL_GameControllerButton button) {
    int taken = -1;
    if (platform::settings::AssignPadButton(&shown_, row_, button, &taken)) {
        waiting_ = Waiting::kNothing;
        Save();
    } else if (taken >= 0) {
        message_ = PadButtonLabel(button, padType_) + Say(" はボタン", " is in use for button ") +
                   std::to_string(taken + 1) + Say("に使われています", "");
    }
}

void Model::ClickTab(Page page) {
    const int p = int(page);
    if (p < 0 || p >= kPageCount || waiting_ == Waiting::kRestore) return;
    waiting_ = Waiting::kNothing;
    page_ = page;
    row_ = 0;
    message_.clear();
}

// A click on a row chooses it; on a key's or a pad button's value it asks for a new one, on a
// value's arrows it steps the value, on a button it presses it.
void Model::ClickRow(int row, RowPart part) {
    if (page_ == Page::kControls || waiting_ != Waiting::kNothing) return;
    const std::vector<Row> rows = Rows();
    if (row < 0 || row >= int(rows.size())) return;
    row_ = row;
    message_.clear();
    switch (rows[std::size_t(row)].kind) {
        case RowKind::kKey:
        case RowKind::kPadButton:
            if (part == RowPart::kValue) Take();
            break;
        case RowKind::kStep:
        case RowKind::kToggle:
            if (part == RowPart::kLess) Adjust(-1);
            if (part == RowPart::kMore) Adjust(1);
            break;
        case RowKind::kButton:
            Take();
            break;
    }
}

void Model::Turn(int by) {
    waiting_ = Waiting::kNothing;
    page_ = Page((int(page_) + by) % kPageCount);
    row_ = 0;
    message_.clear();
}

void Model::Move(int by) {
    const int n = int(Rows().size());
    if (n > 0) row_ = (row_ + by + n) % n;
    message_.clear();
}

void Model::Take() {
    message_.clear();
    if (page_ == Page::kKeys) {
        waiting_ = Waiting::kKey;
    } else if (page_ == Page::kPad) {
        if (row_ >= kConfirmWithARow)
            Adjust(1);
        else
            waiting_ = Waiting::kPadButton;
    } else if (page_ == Page::kAccess) {
        Adjust(1);
    } else if (page_ == Page::kOther) {
        if (row_ == kDefaultsRow) {
            waiting_ = Waiting::kRestore;
            focus_ = kCancelAnswer;
        } else {
            Adjust(1);
        }
    }
}

void Model::Adjust(int by) {
    if (page_ == Page::kPad) {
        switch (row_) {
            case kConfirmWithARow:
                std::swap(shown_.padButtons[0], shown_.padButtons[1]);
                break;
            case kDeadZoneRow:
                shown_.deadZone = Stepped(shown_.deadZone, 5, by, 5, 90);
                break;
            case kRumbleRow:
                shown_.rumble = !shown_.rumble;
                break;
            default:
                return;
        }
        Save();
        return;
    }
    if (page_ == Page::kAccess) {
        switch (row_) {
            case kReduceMotionRow:
                shown_.reduceMotion = !shown_.reduceMotion;
                break;
            case kReduceFlashingRow:
                shown_.reduceFlashing = !shown_.reduceFlashing;
                break;
            case kDashRow:
                shown_.toggleDash = !shown_.toggleDash;
                break;
            case kPowerRow:
                shown_.togglePower = !shown_.togglePower;
                break;
            case kGameSpeedRow:
                shown_.gameSpeed = Stepped(shown_.gameSpeed, 10, by, 50, 100);
                break;
            default:
                return;
        }
        Save();
        return;
    }
    if (page_ != Page::kOther) return;
    auto step = [by](const auto& list, auto matches) {
        const int n = int(std::size(list));
        int at = 0;
        for (int i = 0; i < n; ++i)
            if (matches(list[i])) at = i;
        return (at + by + n) % n;
    };
    switch (row_) {
        case kMusicRow:
            shown_.musicVolume = std::clamp(shown_.musicVolume + 10 * by, 0, 100);
            tone_ = shown_.musicVolume;
            break;
        case kEffectsRow:
            shown_.effectsVolume = std::clamp(shown_.effectsVolume + 10 * by, 0, 100);
            tone_ = shown_.effectsVolume;
            break;
        case kScaleRow:
            shown_.scale = kScales[step(kScales, [this](double v) { return v == shown_.scale; })];
            break;
        case kLanguageRow:
            shown_.language =
                shown_.language == platform::kEnglish ? platform::kJapanese : platform::kEnglish;
            // The program speaks the language the player just chose for the game.
            language_ = shown_.language;
            break;
        case kWindowRow: {
            if (windows_.empty()) SetScreen(0, 0);
            const int i = step(windows_, [this](const std::pair<int, int>& w) {
                return w.first == shown_.windowWidth && w.second == shown_.windowHeight;
            });
            shown_.windowWidth = windows_[std::size_t(i)].first;
            shown_.windowHeight = windows_[std::size_t(i)].second;
            break;
        }
        case kPauseRow:
            shown_.pauseWhenAway = !shown_.pauseWhenAway;
            break;
        default:
            return;
    }
    Save();
}

void Model::SetScreen(int usableWidth, int usableHeight) {
    windows_ = {{0, 0}};
    for (const auto& size : kWindowSizes) {
        const bool fits = usableWidth > 0 && usableHeight > 0
                              ? size.first <= usableWidth && size.second <= usableHeight - kTitleBarRoom
                              : size.first >= 1280 && size.first <= 1920 && size.second != 768;
        if (fits) windows_.push_back(size);
    }
    // The size the game kept (the player resized its window to it) stays a choice, in its place.
    const std::pair<int, int> kept{base_.windowWidth, base_.windowHeight};
    if (kept.first > 0 && std::find(windows_.begin(), windows_.end(), kept) == windows_.end()) {
        windows_.push_back(kept);
        std::sort(windows_.begin() + 1, windows_.end());
    }
}

bool Model::Save() {
    if (file_.empty()) {
        message_ = Say("設定を保存する場所がありません", "There is no place to keep the settings");
        return false;
    }
    // Only what was changed here goes over the file: what another program saved meanwhile (the
    // file replaced while this one was open, a second window of this program) stays.
    platform::settings::Settings saved;
    std::string why;
    if (!platform::settings::SaveSettingsChanges(file_, base_, shown_, &saved, &why)) {
        message_ = Say("保存できません: ", "Cannot save: ") + why;
        return false;
    }
    shown_ = base_ = saved;
    message_ = Say("保存しました: ", "Saved: ") + NativePath(file_);
    return true;
}

}  // namespace keyconfig
