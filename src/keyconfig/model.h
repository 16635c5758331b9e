// The settings program's state: its five pages, the rows of each and the row chosen, what a key, a
// pad button or a click on a row does, the question it is waiting on, the keys and buttons held
// now, and the player's settings as shown and as the file holds them. Every change is saved at once,
// and what the program then says is its message. It draws nothing and opens no device: the pages
// (pages.h) draw it and hand it the player's input, and main plays the volume's tone it asks for.
//
// The game's actions are GameActions() (src/actions): the program hands them to the platform at its
// start (platform::UseGameKeys), so that the settings' keys are those of the same list.
#pragma once

#include "platform/settings/settings.h"

#include <SDL.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace keyconfig {

// 操作 (the controls, and the tester), キー, パッド, アクセシビリティ, その他: Tab goes through them in
// this order.
enum class Page { kControls, kKeys, kPad, kAccess, kOther };
constexpr int kPageCount = 5;

// What the program waits for: a key or a pad button for the row taken on the keys or pad page, or
// the answer to "restore the defaults?".
enum class Waiting { kNothing, kKey, kPadButton, kRestore };

// The rows of the pad page after its ten buttons, and of the access and other pages.
constexpr int kConfirmWithARow = 10, kDeadZoneRow = 11, kRumbleRow = 12;
enum AccessRow { kReduceMotionRow, kReduceFlashingRow, kDashRow, kPowerRow, kGameSpeedRow };
enum OtherRow { kMusicRow, kEffectsRow, kScaleRow, kLanguageRow, kWindowRow, kPauseRow, kDefaultsRow };

// What a row is: a key or a pad button to press anew, a value stepped by its arrows, an on/off
// stepped by its arrows, a button.
enum class RowKind { kKey, kPadButton, kStep, kToggle, kButton };
// Where a click on a row fell: its label, its value, or the value's ◀ or ▶.
enum class RowPart { kLabel, kValue, kLess, kMore };

// A row of the keys, pad and other pages: what it is, its value now (without the arrows, which
// the pages draw for a step or a toggle), its kind.
struct Row {
    std::string label, value;
    RowKind kind = RowKind::kStep;
};

// A line of the controls page: the scene, its keys, its pad buttons, what they do; the keys and the
// pad's buttons that light it up, and whether one of them is held now.
struct ControlsLine {
    std::string scene, keys, joystick, effect;
    std::vector<SDL_Scancode> scancodes;
    std::vector<SDL_GameControllerButton> buttons;
    bool lit = false;
};

// The controls of the game, scene by scene, with the keys and pad buttons these settings give the
// game's actions, the buttons named as a pad of this type names them.
std::vector<ControlsLine> ControlsTable(const platform::settings::Settings& settings, bool english,
                                        SDL_GameControllerType padType = SDL_CONTROLLER_TYPE_UNKNOWN);

// A key as the controls page names it: arrows for the arrow keys, Enter, Esc, else SDL's name.
std::string ShortKeyName(SDL_Scancode key);
// A pad's button (SDL's, by position) as the pad names it: A, Cross, LB, Start, D-pad ↑, ...
std::string PadButtonLabel(SDL_GameControllerButton button, SDL_GameControllerType type);
// A file name (UTF-8) as the system writes it: its own separators (backslashes on Windows).
std::string NativePath(const std::string& utf8);
// The words of the game's action as a player reads them in a list: its first letter a capital.
std::string Capitalised(std::string words);

// The command line: --lang ja|en (the game's language, else settings.ini's), --scale S (else the
// system's), --list (the table of controls printed). What it cannot take is told in warnings.
struct CommandLine {
    std::string language;  // "" : the settings' own
    double scale = 0;      // 0: the system's
    bool list = false;
    std::vector<std::string> warnings;
};
CommandLine ReadCommandLine(int argc, const char* const* argv);

// The window at a scale: the pages are laid out for kBaseWidth x kBaseHeight and drawn that many
// times larger. The scale is the command line's, else the system's (0: none, 1), made smaller until
// the window fits in usable (a room of 0 holds anything), as the game fits its screen.
constexpr int kBaseWidth = 720, kBaseHeight = 640;
struct WindowFit {
    double scale = 1;
    int width = kBaseWidth, height = kBaseHeight;
};
WindowFit FitWindow(double commandLine, double system, int usableWidth, int usableHeight);

// The restore question's two answers, in the order they stand.
enum Answer { kRestoreAnswer, kCancelAnswer };
struct Question {
    std::string text, restore, cancel;
    int focus = kCancelAnswer;
};

class Model {
  public:
    // The settings as the player's file holds them, and that file ("" when there is no place for
    // one: nothing can be saved then, and the program says so); the language to be shown in ("":
    // the settings').
    Model(const platform::settings::Settings& settings, std::string file, const std::string& language = "");

    // The player's input, told apart by the pages: a key pressed (with Shift held or not) and
    // released, a pad button pressed and released, a click on a page's tab, on a part of a row of
    // this page, or on an answer of the question, the window closed.
    void Key(SDL_Scancode key, bool shift);
    void KeyUp(SDL_Scancode key);
    void PadButton(SDL_GameControllerButton button);
    void PadButtonUp(SDL_GameControllerButton button);
    // Nothing is held any more (the window lost the keyboard, the pad went).
    void ReleaseAll();
    void ClickTab(Page page);
    void ClickRow(int row, RowPart part);
    void ClickAnswer(Answer answer);
    void Close() { running_ = false; }
    // The pad the program reads now: none, or one of this type.
    void SetPad(bool connected, SDL_GameControllerType type = SDL_CONTROLLER_TYPE_UNKNOWN);
    // The screen the game's window goes on (its usable part): the window row offers full screen and
    // the sizes that fit on it with a title bar (and the size the game kept, whatever it is). 0 x 0:
    // not known, 1280x720, 1600x900 and 1920x1080.
    void SetScreen(int usableWidth, int usableHeight);
    // The window row's choices now, full screen (0 x 0) first.
    const std::vector<std::pair<int, int>>& WindowChoices() const { return windows_; }

    bool Running() const { return running_; }
    Page CurrentPage() const { return page_; }
    int Chosen() const { return row_; }
    Waiting WaitingFor() const { return waiting_; }
    bool English() const { return language_ == platform::kEnglish; }
    bool PadConnected() const { return padConnected_; }
    // What the program says under the page: saved, refused, cannot save, ...
    const std::string& Message() const { return message_; }
    const platform::settings::Settings& Shown() const { return shown_; }
    const std::string& File() const { return file_; }
    // The window's title.
    std::string Title() const { return Say("Rushmora 設定", "Rushmora Settings"); }
    // The pages' names, in their order.
    std::string PageName(Page page) const;
    // A line the page says above its rows ("no pad is connected"), or "".
    std::string PageNote() const;
    // The question while waiting for an answer.
    Question RestoreQuestion() const;

    // This page's rows (the controls page has its table instead).
    std::vector<Row> Rows() const;
    // The controls table, its lines lit by the keys and buttons held now.
    std::vector<ControlsLine> Controls() const;
    // The volume a volume's change asks a short tone at, once: none after anything else.
    std::optional<int> TakeTone();

    // The program's words in the language it is shown in.
    const char* Say(const char* japanese, const char* english) const {
        return English() ? english : japanese;
    }

  private:
    void Turn(int by);
    void Move(int by);
    void Take();
    void Adjust(int by);
    bool Save();
    void KeyAnswer(SDL_Scancode key);
    void PadAnswer(SDL_GameControllerButton button);
    void RestoreAnswer(SDL_Scancode key);
    void Answered(bool restore);
    std::string PadRowLabel(int gameButton) const;
    std::string OnOff(bool on) const { return on ? Say("オン", "On") : Say("オフ", "Off"); }

    platform::settings::Settings shown_, base_;  // as shown, and as the file held when last read or saved
    std::string file_;
    std::string language_;  // what the program is shown in
    bool running_ = true;
    Page page_ = Page::kControls;
    int row_ = 0;
    Waiting waiting_ = Waiting::kNothing;
    int focus_ = kCancelAnswer;
    std::string message_;
    std::optional<int> tone_;
    bool padConnected_ = false;
    SDL_GameControllerType padType_ = SDL_CONTROLLER_TYPE_UNKNOWN;
    std::set<SDL_Scancode> keysHeld_;
    std::set<SDL_GameControllerButton> buttonsHeld_;
    std::vector<std::pair<int, int>> windows_;
};

}  // namespace keyconfig
