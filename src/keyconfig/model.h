// The settings program's state: its four pages, the rows of each and the row chosen, what a key, a
// pad button or a click on a row does, the question it is waiting on, and the player's settings as
// shown and as the file holds them. Every change is saved at once, and what the program then says
// is its message. It draws nothing and opens no device: the pages (pages.h) draw it and hand it the
// player's input, and main plays the volume's tone it asks for.
//
// The game's actions are GameActions() (src/actions): the program hands them to the platform at its
// start (platform::UseGameKeys), so that the settings' keys are those of the same list.
#pragma once

#include "platform/settings/settings.h"

#include <SDL.h>

#include <optional>
#include <string>
#include <vector>

namespace keyconfig {

// 操作 (the controls, and the tester), キー, パッド, その他: Tab goes through them in this order.
enum class Page { kControls, kKeys, kPad, kOther };
constexpr int kPageCount = 4;

// What the program waits for after the player took a row of the keys or the pad page.
enum class Waiting { kNothing, kKey, kPadButton };

// The rows of the pad page after its ten buttons, and of the other page.
constexpr int kConfirmWithARow = 10;
enum OtherRow { kMusicRow, kEffectsRow, kScaleRow, kLanguageRow, kWindowRow, kPauseRow, kDefaultsRow };

// A row of the keys, pad and other pages: what it is, and its value now.
struct Row {
    std::string label, value;
};

// A line of the controls page: the scene, its keys, its pad buttons, what they do.
struct ControlsLine {
    std::string scene, keys, joystick, effect;
};

// The controls of the game, scene by scene, with the keys these settings give the game's actions.
std::vector<ControlsLine> ControlsTable(const platform::settings::Settings& settings, bool english);

// A key as the controls page names it: arrows for the arrow keys, Enter, Esc, else SDL's name.
std::string ShortKeyName(SDL_Scancode key);

class Model {
  public:
    // The settings as the player's file holds them, and that file ("" when there is no place for
    // one: nothing can be saved then, and the program says so).
    Model(const platform::settings::Settings& settings, std::string file);

    // The player's input, told apart by the pages: a key pressed (with Shift held or not), a pad
    // button, a click on a page's tab, a click on a row of this page (on its right half or its left
    // half), the window closed.
    void Key(SDL_Scancode key, bool shift);
    void PadButton(SDL_GameControllerButton button);
    void ClickTab(Page page);
    void ClickRow(int row, bool rightHalf);
    void Close() { running_ = false; }

    bool Running() const { return running_; }
    Page CurrentPage() const { return page_; }
    int Chosen() const { return row_; }
    Waiting WaitingFor() const { return waiting_; }
    bool English() const { return shown_.language == platform::kEnglish; }
    // What the program says under the page: saved, refused, cannot save, ...
    const std::string& Message() const { return message_; }
    const platform::settings::Settings& Shown() const { return shown_; }
    const std::string& File() const { return file_; }

    // This page's rows (the controls page has its table instead).
    std::vector<Row> Rows() const;
    std::vector<ControlsLine> Controls() const { return ControlsTable(shown_, English()); }
    // The volume a volume's change asks a short tone at, once: none after anything else.
    std::optional<int> TakeTone();

    // The program's words in the player's language.
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

    platform::settings::Settings shown_, base_;  // as shown, and as the file held when last read or saved
    std::string file_;
    bool running_ = true;
    Page page_ = Page::kControls;
    int row_ = 0;
    Waiting waiting_ = Waiting::kNothing;
    std::string message_;
    std::optional<int> tone_;
};

}  // namespace keyconfig
