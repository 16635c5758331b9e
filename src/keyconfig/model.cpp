// The settings program's pages as state: what each input does to them, and the settings saved.
#include "keyconfig/model.h"

#include "actions/actions.h"

#include <algorithm>
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
// and what they do are its own words, or else those of its (first) action.
struct TableLine {
    const char* scene;
    const char* sceneEn;
    const char* actions;   // the names of the game's actions whose keys it shows ("left right"), or null
    const char* keys;      // its own keys, when it names no action
    const char* joystick;  // null: the action's pad button
    const char* joystickEn;
    const char* effect;  // null: what the action does
    const char* effectEn;
};

// Where the run's buttons go: one line for each of the game's actions with a pad button that no
// other line names (the menus' Enter and Esc are told with their menus).
constexpr const char* kTheRunsButtons = "*";

constexpr TableLine kTable[] = {
    {"オープニング", "Opening", "enter", nullptr, "ボタン3", "button 3", "タイトルへ", "to the title"},
    {"タイトル", "Title", "up down", nullptr, "スティック上下", "stick up/down", "項目をえらぶ", "choose"},
    {"タイトル", "Title", "enter", nullptr, "ボタン2", "button 2", "決定", "take"},
    {"タイトル", "Title", nullptr, "F1", "Back", "Back", "あそびかた", "how to play"},
    {"オプション", "Options", "left right", nullptr, "", "", "ゲージを調整", "adjust the gauge"},
    {"オプション", "Options", nullptr, "F5", "", "", "このプログラムを開く", "open this program"},
    {"オプション", "Options", nullptr, "F2", "", "", "テスト用INIを書く", "write the test INI"},
    {"オプション", "Options", "escape", nullptr, "ボタン3", "button 3", "タイトルへ", "to the title"},
    {"オプション", "Options", nullptr, "F1", "Back", "Back", "あそびかた", "how to play"},
    {"ゲーム", "Run", "left right up down", nullptr, "スティック", "stick", "歩く・奥行きを変える",
     "walk, change depth"},
    {"ゲーム", "Run", kTheRunsButtons, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"ゲーム", "Run", "escape", nullptr, "", "", "タイトルに戻る (確認あり)", "back to the title (asks)"},
    {"ゲーム", "Run", nullptr, "", "ボタン5〜10同時", "buttons 5-10 together", "すぐタイトルに戻る",
     "straight to the title"},
    {"ゲーム", "Run", nullptr, "P  Pause", "Start", "Start", "一時停止", "pause"},
    {"リザルト", "Result", "enter", nullptr, "ボタン2", "button 2", "次へ", "go on"},
    {"リザルト", "Result", "escape", nullptr, "ボタン3", "button 3", "タイトルへ", "to the title"},
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

std::string KeyOf(const platform::settings::Settings& settings, int action) {
    if (action < 0 || std::size_t(action) >= settings.keys.size()) return "";
    return ShortKeyName(settings.keys[std::size_t(action)]);
}

std::string ButtonWord(int number, bool english) {
    return (english ? "button " : "ボタン") + std::to_string(number);
}

// SDL's name of a pad button ("a", "leftshoulder"), empty for one it does not know.
std::string PadButtonName(SDL_GameControllerButton button) {
    const char* name = SDL_GameControllerGetStringForButton(button);
    return name ? name : "";
}

constexpr double kScales[] = {0, 1, 1.25, 1.5, 2, 3};
constexpr int kWindows[][2] = {{0, 0}, {1280, 720}, {1600, 900}, {1920, 1080}};

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

std::vector<ControlsLine> ControlsTable(const platform::settings::Settings& settings, bool english) {
    std::set<std::string> named;
    for (const TableLine& line : kTable)
        if (line.actions != kTheRunsButtons)
            for (const std::string& name : Words(line.actions)) named.insert(name);

    std::vector<ControlsLine> table;
    const std::vector<platform::GameKey>& actions = GameActions();
    for (const TableLine& line : kTable) {
        const char* scene = english ? line.sceneEn : line.scene;
        if (line.actions == kTheRunsButtons) {
            for (std::size_t i = 0; i < actions.size(); ++i) {
                const platform::GameKey& a = actions[i];
                if (a.padButton == 0 || named.count(a.name)) continue;
                table.push_back({scene, KeyOf(settings, int(i)), ButtonWord(a.padButton, english),
                                 english ? a.english : a.japanese});
            }
            continue;
        }
        ControlsLine out{scene, line.keys ? line.keys : "", "", ""};
        int first = -1;
        for (const std::string& name : Words(line.actions)) {
            const int i = ActionIndex(name);
            if (i < 0) continue;  // an action the game no longer has
            if (first < 0) first = i;
            if (!out.keys.empty()) out.keys += " ";
            out.keys += KeyOf(settings, i);
        }
        const char* joystick = english ? line.joystickEn : line.joystick;
        if (joystick)
            out.joystick = joystick;
        else if (first >= 0 && actions[std::size_t(first)].padButton > 0)
            out.joystick = ButtonWord(actions[std::size_t(first)].padButton, english);
        const char* effect = english ? line.effectEn : line.effect;
        if (effect)
            out.effect = effect;
        else if (first >= 0)
            out.effect = english ? actions[std::size_t(first)].english : actions[std::size_t(first)].japanese;
        table.push_back(std::move(out));
    }
    return table;
}

Model::Model(const platform::settings::Settings& settings, std::string file)
    : shown_(settings), base_(settings), file_(std::move(file)) {}

std::vector<Row> Model::Rows() const {
    std::vector<Row> rows;
    if (page_ == Page::kKeys) {
        const std::vector<platform::GameKey>& actions = GameActions();
        for (std::size_t i = 0; i < actions.size(); ++i) {
            const platform::GameKey& k = actions[i];
            const bool asking = waiting_ == Waiting::kKey && row_ == int(i);
            const char* key = i < shown_.keys.size() ? SDL_GetScancodeName(shown_.keys[i]) : "";
            rows.push_back({std::string(Say(k.japanese, k.english)) + "  (" + k.name + ")",
                            asking ? Say("キーを押してください…", "Press the key…") : key});
        }
    } else if (page_ == Page::kPad) {
        for (int i = 0; i < 10; ++i) {
            const bool asking = waiting_ == Waiting::kPadButton && row_ == i;
            rows.push_back({Say("ボタン", "Button ") + std::to_string(i + 1),
                            asking ? Say("パッドのボタンを押してください…", "Press the pad's button…")
                                   : PadButtonName(shown_.padButtons[std::size_t(i)])});
        }
        rows.push_back(
            {Say("Aで決定にする (ボタン1と2を入れ替え)", "Confirm with A (buttons 1 and 2 swapped)"), ""});
    } else if (page_ == Page::kOther) {
        char scale[32];
        std::snprintf(scale, sizeof scale, "%g", shown_.scale);
        rows.push_back(
            {Say("音楽の音量", "Music volume"), "◀ " + std::to_string(shown_.musicVolume) + " % ▶"});
        rows.push_back(
            {Say("効果音の音量", "Effects volume"), "◀ " + std::to_string(shown_.effectsVolume) + " % ▶"});
        rows.push_back(
            {Say("画面の倍率", "Scale"),
             "◀ " + (shown_.scale > 0 ? std::string(scale) : Say("システムの設定", "the system's")) + " ▶"});
        rows.push_back(
            {Say("言語", "Language"), std::string("◀ ") + (English() ? "English" : "日本語") + " ▶"});
        rows.push_back({Say("ウィンドウ", "Window"),
                        "◀ " +
                            (shown_.windowWidth > 0 ? std::to_string(shown_.windowWidth) + "x" +
                                                          std::to_string(shown_.windowHeight)
                                                    : std::string(Say("全画面", "full screen"))) +
                            " ▶"});
        rows.push_back(
            {Say("ウィンドウを離れたら一時停止する", "Pause when the window is left"),
             std::string("◀ ") + (shown_.pauseWhenAway ? Say("はい", "Yes") : Say("いいえ", "No")) + " ▶"});
        rows.push_back({Say("すべて初期設定に戻す", "All back to the defaults"), ""});
    }
    return rows;
}

std::optional<int> Model::TakeTone() {
    return std::exchange(tone_, std::nullopt);
}

void Model::Key(SDL_Scancode key, bool shift) {
    if (waiting_ == Waiting::kKey) {
        KeyAnswer(key);
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
        message_ = English() ? name + " is in use for " + other.english
                             : name + " は「" + other.japanese + "」に使われています";
    }
}

void Model::PadButton(SDL_GameControllerButton button) {
    if (waiting_ == Waiting::kPadButton) {
        PadAnswer(button);
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
        message_ = PadButtonName(button) + Say(" はボタン", " is in use for button ") +
                   std::to_string(taken + 1) + Say("に使われています", "");
    }
}

void Model::ClickTab(Page page) {
    const int p = int(page);
    if (p < 0 || p >= kPageCount) return;
    waiting_ = Waiting::kNothing;
    page_ = page;
    row_ = 0;
    message_.clear();
}

void Model::ClickRow(int row, bool rightHalf) {
    if (page_ == Page::kControls || waiting_ != Waiting::kNothing) return;
    if (row < 0 || row >= int(Rows().size())) return;
    row_ = row;
    // On the other page a click on the left or the right half of a value adjusts it, elsewhere it
    // takes the row.
    if (page_ == Page::kOther && row_ < kDefaultsRow)
        Adjust(rightHalf ? 1 : -1);
    else
        Take();
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
        if (row_ == kConfirmWithARow) {
            platform::settings::ConfirmWithA(&shown_);
            Save();
        } else {
            waiting_ = Waiting::kPadButton;
        }
    } else if (page_ == Page::kOther) {
        if (row_ == kDefaultsRow) {
            shown_ = platform::settings::Settings();
            if (Save()) message_ = Say("初期設定に戻しました", "Back to the defaults");
        } else {
            Adjust(1);
        }
    }
}

void Model::Adjust(int by) {
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
            shown_.language = English() ? platform::kJapanese : platform::kEnglish;
            break;
        case kWindowRow: {
            const int i = step(kWindows, [this](const int* w) { return w[0] == shown_.windowWidth; });
            shown_.windowWidth = kWindows[i][0];
            shown_.windowHeight = kWindows[i][1];
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
    message_ = Say("保存しました: ", "Saved: ") + file_;
    return true;
}

}  // namespace keyconfig
