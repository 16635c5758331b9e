// The settings program's pages as the player works them: keys and pad buttons moved (and refused
// when another action has them), Escape kept for the questions, the stick's dead zone and the
// rumble, the access page, the volumes, language and screen, the pause when the window is left, the
// defaults back, every change saved at once without losing
// another writer's, and the controls table following the player's keys.
#include "actions/actions.h"
#include "keyconfig/model.h"
#include "platform/settings/settings.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

namespace {

using keyconfig::Model;
using keyconfig::Page;
using keyconfig::RowPart;
using keyconfig::Waiting;
using platform::settings::Settings;

std::size_t Action(const char* name) {
    const auto& actions = GameActions();
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (std::string(actions[i].name) == name) return i;
    ADD_FAILURE() << "no action " << name;
    return 0;
}

Settings ReadBack(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> warnings;
    return platform::settings::ReadSettings(text, file, &warnings);
}

// A new settings file of the defaults in a folder of its own.
std::string FreshFile(const std::string& name) {
    const std::string folder = testing_support::TempPath("keyconfig-" + name);
    testing_support::MakeDir(folder);
    const std::string file = folder + "/settings.ini";
    EXPECT_TRUE(platform::settings::WriteSettings(file, Settings()));
    return file;
}

void Press(Model* m, std::initializer_list<SDL_Scancode> keys) {
    for (SDL_Scancode k : keys) m->Key(k, false);
}

// Chooses the row of the page (rows counted from the top) and takes it.
void TakeRow(Model* m, Page page, int row) {
    m->ClickTab(page);
    for (int i = 0; i < row; ++i) m->Key(SDL_SCANCODE_DOWN, false);
    m->Key(SDL_SCANCODE_RETURN, false);
}

// The controls line of the run whose effect is this.
keyconfig::ControlsLine RunLine(const Model& m, const std::string& effect) {
    for (const keyconfig::ControlsLine& line : m.Controls())
        if ((line.scene == "ゲーム" || line.scene == "Run") && line.effect == effect) return line;
    ADD_FAILURE() << "no line of the run for " << effect;
    return {};
}

}  // namespace

TEST(KeyConfigKeys, JumpMovesToAFreeKeyAndAKeyInUseIsRefusedWithWhoHasIt) {
    const std::string file = FreshFile("jump");
    Model m(Settings(), file);
    Press(&m, {SDL_SCANCODE_TAB});
    ASSERT_EQ(m.CurrentPage(), Page::kKeys);
    TakeRow(&m, Page::kKeys, int(Action("jump")));
    EXPECT_EQ(m.WaitingFor(), Waiting::kKey);
    EXPECT_EQ(m.Rows()[Action("jump")].value, "キーを押してください…");

    Press(&m, {SDL_SCANCODE_J});
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    EXPECT_EQ(m.Shown().keys[Action("jump")], SDL_SCANCODE_J);
    EXPECT_EQ(m.Rows()[Action("jump")].value, "J");
    EXPECT_EQ(m.Message(), "保存しました: " + keyconfig::NativePath(file));
    EXPECT_EQ(ReadBack(file).keys[Action("jump")], SDL_SCANCODE_J);
    // The run's jump line of the controls page shows the moved key, with the action's button and words.
    const keyconfig::ControlsLine jump = RunLine(m, "ジャンプ");
    EXPECT_EQ(jump.keys, "J");
    EXPECT_EQ(jump.joystick, "3 (X)");

    // J is jump's now: dash cannot have it, and the question stays open.
    TakeRow(&m, Page::kKeys, int(Action("dash")));
    Press(&m, {SDL_SCANCODE_J});
    EXPECT_EQ(m.Shown().keys[Action("dash")], SDL_SCANCODE_S);
    EXPECT_EQ(m.WaitingFor(), Waiting::kKey);
    EXPECT_EQ(m.Message(), "J は「ジャンプ」に使われています");
    EXPECT_EQ(ReadBack(file).keys[Action("dash")], SDL_SCANCODE_S);
    // The freed A can go to dash.
    Press(&m, {SDL_SCANCODE_A});
    EXPECT_EQ(m.Shown().keys[Action("dash")], SDL_SCANCODE_A);
    EXPECT_EQ(RunLine(m, "ダッシュ").keys, "A");
}

TEST(KeyConfigKeys, EscapeGivesUpAQuestionAndOnlyTheGamesEscapeCanBeSetWithIt) {
    const std::string file = FreshFile("escape");
    Model m(Settings(), file);
    TakeRow(&m, Page::kKeys, int(Action("jump")));
    Press(&m, {SDL_SCANCODE_ESCAPE});
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    EXPECT_TRUE(m.Running());
    EXPECT_EQ(m.Shown().keys[Action("jump")], SDL_SCANCODE_A);

    // The game's Escape takes Escape itself (no refusal from its own key), or another key.
    TakeRow(&m, Page::kKeys, int(Action("escape")));
    Press(&m, {SDL_SCANCODE_ESCAPE});
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    EXPECT_TRUE(m.Running());
    EXPECT_EQ(m.Shown().keys[Action("escape")], SDL_SCANCODE_ESCAPE);
    m.Key(SDL_SCANCODE_RETURN, false);
    Press(&m, {SDL_SCANCODE_Q});
    EXPECT_EQ(ReadBack(file).keys[Action("escape")], SDL_SCANCODE_Q);
    EXPECT_EQ(RunLine(m, "タイトルに戻る (確認あり)").keys, "Q");

    // A pad question is given up with Escape too; with no question, Escape closes the program.
    TakeRow(&m, Page::kPad, 0);
    ASSERT_EQ(m.WaitingFor(), Waiting::kPadButton);
    Press(&m, {SDL_SCANCODE_ESCAPE});
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    EXPECT_TRUE(m.Running());
    Press(&m, {SDL_SCANCODE_ESCAPE});
    EXPECT_FALSE(m.Running());
}

TEST(KeyConfigPad, ButtonsMoveByThePadAndOneInUseIsRefused) {
    const std::string file = FreshFile("pad");
    Model m(Settings(), file);
    m.SetPad(true, SDL_CONTROLLER_TYPE_XBOX360);
    // The pad alone: the right shoulder turns to the keys page then the pad page, A takes.
    m.PadButton(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    m.PadButton(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    ASSERT_EQ(m.CurrentPage(), Page::kPad);
    m.PadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    m.PadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    m.PadButton(SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(m.WaitingFor(), Waiting::kPadButton);
    EXPECT_EQ(m.Rows()[2].value, "パッドのボタンを押してください…");

    const SDL_GameControllerButton button1 = Settings().padButtons[0];
    m.PadButton(button1);
    EXPECT_EQ(m.WaitingFor(), Waiting::kPadButton);
    EXPECT_NE(m.Message().find("ボタン1に使われています"), std::string::npos) << m.Message();
    m.PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    EXPECT_EQ(m.Rows()[2].value, "D-pad ↑");
    EXPECT_EQ(ReadBack(file).padButtons[2], SDL_CONTROLLER_BUTTON_DPAD_UP);

    // "Confirm with A": buttons 1 and 2 swapped, the button moved above stays where it went.
    TakeRow(&m, Page::kPad, keyconfig::kConfirmWithARow);
    Settings confirmWithA;
    platform::settings::ConfirmWithA(&confirmWithA);
    confirmWithA.padButtons[2] = SDL_CONTROLLER_BUTTON_DPAD_UP;
    EXPECT_EQ(ReadBack(file).padButtons, confirmWithA.padButtons);
    m.PadButton(SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_FALSE(m.Running());
}

TEST(KeyConfigOther, VolumesToneLanguageScaleAndWindowAreSavedAsTheyChange) {
    const std::string file = FreshFile("other");
    Model m(Settings(), file);
    m.ClickTab(Page::kOther);
    EXPECT_FALSE(m.TakeTone());
    m.ClickRow(keyconfig::kMusicRow, RowPart::kLess);
    EXPECT_EQ(m.Shown().musicVolume, 90);
    EXPECT_EQ(m.TakeTone(), 90);
    EXPECT_FALSE(m.TakeTone());                          // once
    m.ClickRow(keyconfig::kEffectsRow, RowPart::kMore);  // never past 100
    EXPECT_EQ(m.Shown().effectsVolume, 100);
    EXPECT_EQ(m.TakeTone(), 100);

    m.Key(SDL_SCANCODE_DOWN, false);
    m.Key(SDL_SCANCODE_RIGHT, false);
    EXPECT_EQ(m.Shown().scale, 1);
    m.Key(SDL_SCANCODE_LEFT, false);
    m.Key(SDL_SCANCODE_LEFT, false);
    EXPECT_EQ(m.Shown().scale, 3);  // round from the system's to the largest
    EXPECT_EQ(m.Rows()[keyconfig::kScaleRow].value, "3");
    m.ClickRow(keyconfig::kWindowRow, RowPart::kMore);
    EXPECT_EQ(m.Shown().windowWidth, 1280);
    EXPECT_EQ(m.Shown().windowHeight, 720);
    EXPECT_FALSE(m.TakeTone());

    m.ClickRow(keyconfig::kLanguageRow, RowPart::kMore);
    EXPECT_TRUE(m.English());
    EXPECT_EQ(m.Rows()[keyconfig::kLanguageRow].label, "Language");
    EXPECT_EQ(m.Message(), "Saved: " + keyconfig::NativePath(file));
    EXPECT_EQ(RunLine(m, "Jump").joystick, "3 (X)");
    const Settings saved = ReadBack(file);
    EXPECT_TRUE(saved == m.Shown());
    EXPECT_EQ(saved.language, "en");
    EXPECT_EQ(saved.musicVolume, 90);
    EXPECT_EQ(saved.windowWidth, 1280);

    // The defaults back, all at once, once the player said so.
    m.ClickRow(keyconfig::kDefaultsRow, RowPart::kLabel);
    m.ClickAnswer(keyconfig::kRestoreAnswer);
    EXPECT_TRUE(m.Shown() == Settings());
    EXPECT_TRUE(ReadBack(file) == Settings());
    EXPECT_EQ(m.Message(), "初期設定に戻しました");
}

// The pause when the window is left: a yes or a no that the keys, a click and the pad all turn, in
// the player's language, saved at each turn.
TEST(KeyConfigOther, PauseWhenAwayTurnsByKeyClickAndPadAndIsSaved) {
    const std::string file = FreshFile("pause");
    Model m(Settings(), file);
    m.ClickTab(Page::kOther);
    EXPECT_EQ(m.Rows()[keyconfig::kPauseRow].label, "ウィンドウを離れたら一時停止");
    EXPECT_EQ(m.Rows()[keyconfig::kPauseRow].value, "オン");
    EXPECT_EQ(m.Rows()[keyconfig::kPauseRow].kind, keyconfig::RowKind::kToggle);

    // The keyboard: down to its row, Enter turns it, the arrows turn it either way.
    for (int i = 0; i < keyconfig::kPauseRow; ++i) m.Key(SDL_SCANCODE_DOWN, false);
    ASSERT_EQ(m.Chosen(), keyconfig::kPauseRow);
    m.Key(SDL_SCANCODE_RETURN, false);
    EXPECT_FALSE(m.Shown().pauseWhenAway);
    EXPECT_EQ(m.Rows()[keyconfig::kPauseRow].value, "オフ");
    EXPECT_FALSE(ReadBack(file).pauseWhenAway);
    EXPECT_EQ(m.Message(), "保存しました: " + keyconfig::NativePath(file));
    m.Key(SDL_SCANCODE_LEFT, false);
    EXPECT_TRUE(ReadBack(file).pauseWhenAway);
    m.Key(SDL_SCANCODE_RIGHT, false);
    EXPECT_FALSE(ReadBack(file).pauseWhenAway);
    EXPECT_FALSE(m.TakeTone());  // a volume's tone only

    // A click on either arrow turns it; on its label or its value it does not.
    m.ClickRow(keyconfig::kPauseRow, RowPart::kLess);
    EXPECT_TRUE(ReadBack(file).pauseWhenAway);
    m.ClickRow(keyconfig::kPauseRow, RowPart::kMore);
    EXPECT_FALSE(ReadBack(file).pauseWhenAway);
    m.ClickRow(keyconfig::kPauseRow, RowPart::kLabel);
    m.ClickRow(keyconfig::kPauseRow, RowPart::kValue);
    EXPECT_FALSE(ReadBack(file).pauseWhenAway);

    // The pad: up to it from the defaults' row, A and the direction pad turn it.
    m.ClickTab(Page::kControls);
    m.PadButton(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    ASSERT_EQ(m.CurrentPage(), Page::kOther);
    m.PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP);
    m.PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP);
    ASSERT_EQ(m.Chosen(), keyconfig::kPauseRow);
    m.PadButton(SDL_CONTROLLER_BUTTON_A);
    EXPECT_TRUE(ReadBack(file).pauseWhenAway);
    m.PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    EXPECT_FALSE(ReadBack(file).pauseWhenAway);

    // In English; the defaults back turn it on again.
    m.ClickRow(keyconfig::kLanguageRow, RowPart::kMore);
    EXPECT_EQ(m.Rows()[keyconfig::kPauseRow].label, "Pause when the window is left");
    EXPECT_EQ(m.Rows()[keyconfig::kPauseRow].value, "Off");
    EXPECT_FALSE(ReadBack(file).pauseWhenAway);
    m.ClickRow(keyconfig::kDefaultsRow, RowPart::kLabel);
    m.Key(SDL_SCANCODE_Y, false);
    EXPECT_TRUE(m.Shown().pauseWhenAway);
    EXPECT_TRUE(ReadBack(file).pauseWhenAway);
}

TEST(KeyConfigSave, OnlyWhatChangedHereGoesOverWhatAnotherWriterSaved) {
    const std::string file = FreshFile("merge");
    Model m(Settings(), file);
    // Another window of the program moves jump meanwhile.
    Settings other;
    other.keys[Action("jump")] = SDL_SCANCODE_J;
    ASSERT_TRUE(platform::settings::WriteSettings(file, other));
    m.ClickTab(Page::kOther);
    m.ClickRow(keyconfig::kMusicRow, RowPart::kLess);
    const Settings saved = ReadBack(file);
    EXPECT_EQ(saved.keys[Action("jump")], SDL_SCANCODE_J);
    EXPECT_EQ(saved.musicVolume, 90);
    // What the file now holds is what the program shows.
    EXPECT_EQ(m.Shown().keys[Action("jump")], SDL_SCANCODE_J);
    EXPECT_EQ(RunLine(m, "ジャンプ").keys, "J");

    // The pause turned off here while the other window lowers the effects: both stay.
    other = ReadBack(file);
    other.effectsVolume = 20;
    ASSERT_TRUE(platform::settings::WriteSettings(file, other));
    m.ClickRow(keyconfig::kPauseRow, RowPart::kMore);
    const Settings both = ReadBack(file);
    EXPECT_FALSE(both.pauseWhenAway);
    EXPECT_EQ(both.effectsVolume, 20);
    EXPECT_EQ(both.musicVolume, 90);
    EXPECT_TRUE(m.Shown() == both);
    // So with the access page: dash turned here, the game's speed lowered there.
    other = both;
    other.gameSpeed = 70;
    ASSERT_TRUE(platform::settings::WriteSettings(file, other));
    m.ClickTab(Page::kAccess);
    m.ClickRow(keyconfig::kDashRow, RowPart::kMore);
    other.toggleDash = true;
    EXPECT_TRUE(ReadBack(file) == other && m.Shown() == other);
}

TEST(KeyConfigSave, ASaveThatCannotBeMadeIsSaidAndTheDefaultsAreNotClaimed) {
    Model nowhere(Settings(), "");
    nowhere.ClickTab(Page::kOther);
    nowhere.ClickRow(keyconfig::kMusicRow, RowPart::kMore);
    EXPECT_EQ(nowhere.Message(), "設定を保存する場所がありません");

    const std::string folder = testing_support::TempPath("keyconfig-folder.ini");
    testing_support::MakeDir(folder);
    Settings changed;
    changed.musicVolume = 40;
    Model m(changed, folder);
    m.ClickTab(Page::kOther);
    m.ClickRow(keyconfig::kDefaultsRow, RowPart::kLabel);
    m.ClickAnswer(keyconfig::kRestoreAnswer);
    EXPECT_EQ(m.Message().rfind("保存できません: ", 0), 0u) << m.Message();
}

TEST(KeyConfigClicks, TabsChangeThePageAndRowsOutsideThePageOrDuringAQuestionDoNothing) {
    const std::string file = FreshFile("clicks");
    Model m(Settings(), file);
    m.ClickRow(0, RowPart::kValue);  // the controls page has no rows to take
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    m.ClickTab(Page::kKeys);
    m.ClickRow(int(GameActions().size()), RowPart::kValue);  // under the last row
    m.ClickRow(-1, RowPart::kValue);
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    EXPECT_EQ(m.Chosen(), 0);
    // The label chooses the row; its key asks for a new one.
    m.ClickRow(2, RowPart::kLabel);
    EXPECT_EQ(m.Chosen(), 2);
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    m.ClickRow(2, RowPart::kValue);
    EXPECT_EQ(m.WaitingFor(), Waiting::kKey);
    m.ClickRow(5, RowPart::kValue);  // the question stays with its row
    EXPECT_EQ(m.Chosen(), 2);
    // A tab gives the question up.
    m.ClickTab(Page::kPad);
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    EXPECT_EQ(m.Chosen(), 0);
    // Shift+Tab goes back a page; the rows go round.
    m.Key(SDL_SCANCODE_TAB, true);
    EXPECT_EQ(m.CurrentPage(), Page::kKeys);
    m.Key(SDL_SCANCODE_UP, false);
    EXPECT_EQ(m.Chosen(), int(GameActions().size()) - 1);
}

// The controls table: the game's actions with a pad button are the run's buttons, each once, with
// its key, button and words; the menus' Enter and Esc follow their actions' keys.
TEST(KeyConfigControls, TheTableIsMadeFromTheGamesActionsAndThePlayersKeys) {
    Settings s;
    s.keys[Action("enter")] = SDL_SCANCODE_K;
    s.keys[Action("left")] = SDL_SCANCODE_H;
    const auto table = keyconfig::ControlsTable(s, false);
    for (const platform::GameKey& a : GameActions()) {
        if (a.padButton == 0 || std::string(a.name) == "enter" || std::string(a.name) == "escape") continue;
        int lines = 0;
        for (const keyconfig::ControlsLine& line : table)
            if (line.scene == "ゲーム" && line.effect == a.japanese) {
                ++lines;
                EXPECT_EQ(line.keys, keyconfig::ShortKeyName(s.keys[Action(a.name)]));
                EXPECT_EQ(line.joystick,
                          std::to_string(a.padButton) + " (" +
                              keyconfig::PadButtonLabel(s.padButtons[std::size_t(a.padButton - 1)],
                                                        SDL_CONTROLLER_TYPE_UNKNOWN) +
                              ")");
            }
        EXPECT_EQ(lines, 1) << a.name;
    }
    int enterLines = 0;
    for (const keyconfig::ControlsLine& line : table) {
        EXPECT_EQ(line.keys.find("Enter"), std::string::npos) << line.scene << " " << line.effect;
        if (line.keys == "K") ++enterLines;
        if (line.effect == "歩く・奥行きを変える") {
            EXPECT_EQ(line.keys, "H → ↑ ↓");
        }
    }
    EXPECT_EQ(enterLines, 3);  // the opening, the title and the result
    // The keys that are no action of the game stay as they are.
    bool f5 = false;
    for (const keyconfig::ControlsLine& line : keyconfig::ControlsTable(Settings(), true))
        f5 = f5 || (line.keys == "F5" && line.effect == "Open this program");
    EXPECT_TRUE(f5);
}

// "Confirm with A" shows whether it is on and turns both ways: Enter, the arrows, a click on an
// arrow, the pad's A and direction pad; the label alone chooses the row.
TEST(KeyConfigPad, ConfirmWithAShowsOnOrOffAndTurnsBothWays) {
    const std::string file = FreshFile("confirm");
    Model m(Settings(), file, "en");
    m.ClickTab(Page::kPad);
    const auto value = [&m] { return m.Rows()[keyconfig::kConfirmWithARow].value; };
    const auto swapped = [&file] {
        const Settings s = ReadBack(file);
        return s.padButtons[0] == SDL_CONTROLLER_BUTTON_B && s.padButtons[1] == SDL_CONTROLLER_BUTTON_A;
    };
    EXPECT_EQ(value(), "Off");
    EXPECT_EQ(m.Rows()[keyconfig::kConfirmWithARow].kind, keyconfig::RowKind::kToggle);
    m.ClickRow(keyconfig::kConfirmWithARow, RowPart::kLabel);
    EXPECT_EQ(m.Chosen(), keyconfig::kConfirmWithARow);
    EXPECT_EQ(value(), "Off");
    m.Key(SDL_SCANCODE_RETURN, false);
    EXPECT_EQ(value(), "On");
    EXPECT_TRUE(swapped());
    m.Key(SDL_SCANCODE_RETURN, false);  // the tester's second click: off again
    EXPECT_EQ(value(), "Off");
    EXPECT_FALSE(swapped());
    EXPECT_TRUE(ReadBack(file).padButtons == Settings().padButtons);
    m.ClickRow(keyconfig::kConfirmWithARow, RowPart::kMore);
    EXPECT_TRUE(swapped());
    m.ClickRow(keyconfig::kConfirmWithARow, RowPart::kLess);
    EXPECT_FALSE(swapped());
    m.Key(SDL_SCANCODE_LEFT, false);
    EXPECT_TRUE(swapped());
    m.PadButton(SDL_CONTROLLER_BUTTON_A);
    EXPECT_FALSE(swapped());
    m.PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    EXPECT_TRUE(swapped());
    EXPECT_EQ(value(), "On");
    // The controls page names the pad's buttons the game's 1 and 2 now are.
    bool dash = false;
    for (const keyconfig::ControlsLine& line : m.Controls())
        if (line.effect == "Dash") dash = line.joystick == "1 (B)";
    EXPECT_TRUE(dash);
}

// A value changes on its arrows only: a click on the label or the value chooses the row.
TEST(KeyConfigClicks, ValuesChangeOnTheirArrowsOnly) {
    const std::string file = FreshFile("arrows");
    Model m(Settings(), file, "en");
    m.ClickTab(Page::kOther);
    for (int row : {int(keyconfig::kMusicRow), int(keyconfig::kEffectsRow), int(keyconfig::kScaleRow),
                    int(keyconfig::kLanguageRow), int(keyconfig::kWindowRow), int(keyconfig::kPauseRow)}) {
        m.ClickRow(row, RowPart::kLabel);
        m.ClickRow(row, RowPart::kValue);
        EXPECT_EQ(m.Chosen(), row);
    }
    EXPECT_TRUE(m.Shown() == Settings());
    EXPECT_TRUE(ReadBack(file) == Settings());
    EXPECT_FALSE(m.TakeTone());
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    m.ClickRow(keyconfig::kEffectsRow, RowPart::kLess);
    EXPECT_EQ(m.Shown().effectsVolume, 90);
    EXPECT_EQ(m.Chosen(), keyconfig::kEffectsRow);
    m.ClickRow(keyconfig::kWindowRow, RowPart::kLess);  // round to the largest
    EXPECT_EQ(m.Shown().windowWidth, 1920);
    EXPECT_EQ(m.Rows()[keyconfig::kWindowRow].value, "1920 x 1080");
    // The pad's values and the access page's alike.
    const Settings before = m.Shown();
    for (const auto& [page, rows] : {std::pair{Page::kPad, std::vector{10, 11, 12}},
                                     std::pair{Page::kAccess, std::vector{0, 1, 2, 3, 4}}}) {
        m.ClickTab(page);
        for (int row : rows) {
            m.ClickRow(row, RowPart::kLabel);
            m.ClickRow(row, RowPart::kValue);
            EXPECT_EQ(m.Chosen(), row);
            EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
        }
    }
    EXPECT_TRUE(m.Shown() == before && ReadBack(file) == before);
    // The keys page: the label chooses, the key asks.
    m.ClickTab(Page::kKeys);
    m.ClickRow(int(Action("attack")), RowPart::kLabel);
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    m.ClickRow(int(Action("attack")), RowPart::kValue);
    EXPECT_EQ(m.WaitingFor(), Waiting::kKey);
    EXPECT_EQ(m.Rows()[Action("attack")].label, "Attack");
    EXPECT_EQ(m.Rows()[Action("attack")].value, "Press a key…");
}

// "Restore defaults..." asks in the program's window first; the keys, a click and the pad answer; a
// no keeps everything; a yes brings back every default, the language the program speaks with them.
TEST(KeyConfigRestore, TheDefaultsComeBackOnlyWhenThePlayerSaysYes) {
    const std::string file = FreshFile("restore");
    Settings mine;
    mine.keys[Action("jump")] = SDL_SCANCODE_J;
    mine.musicVolume = 30;
    mine.language = "en";
    mine.windowWidth = 1280;
    mine.windowHeight = 720;
    mine.deadZone = 40;
    mine.rumble = false;
    mine.reduceMotion = mine.reduceFlashing = mine.toggleDash = mine.togglePower = true;
    mine.gameSpeed = 60;
    ASSERT_TRUE(platform::settings::WriteSettings(file, mine));
    ASSERT_TRUE(ReadBack(file) == mine);
    Model m(mine, file);
    ASSERT_TRUE(m.English());
    EXPECT_EQ(m.Title(), "Rushmora Settings");
    const auto asked = [&m] {
        m.ClickTab(Page::kOther);
        m.ClickRow(keyconfig::kDefaultsRow, RowPart::kLabel);
        return m.WaitingFor() == Waiting::kRestore;
    };
    const auto nothingChanged = [&] { return m.Shown() == mine && ReadBack(file) == mine && m.English(); };

    ASSERT_TRUE(asked());
    EXPECT_TRUE(nothingChanged());
    EXPECT_EQ(m.RestoreQuestion().focus, keyconfig::kCancelAnswer);  // Enter alone says no
    EXPECT_NE(m.RestoreQuestion().text.find("Restore all the defaults?"), std::string::npos);
    // While it asks, the page stays: tabs, rows and Escape go to the question.
    m.ClickTab(Page::kKeys);
    EXPECT_EQ(m.CurrentPage(), Page::kOther);
    m.Key(SDL_SCANCODE_RETURN, false);
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    EXPECT_TRUE(nothingChanged());
    ASSERT_TRUE(asked());
    m.Key(SDL_SCANCODE_ESCAPE, false);
    EXPECT_TRUE(m.Running());
    EXPECT_TRUE(nothingChanged());
    ASSERT_TRUE(asked());
    m.Key(SDL_SCANCODE_N, false);
    EXPECT_TRUE(nothingChanged());
    ASSERT_TRUE(asked());
    m.ClickAnswer(keyconfig::kCancelAnswer);
    EXPECT_TRUE(nothingChanged());
    ASSERT_TRUE(asked());
    m.PadButton(SDL_CONTROLLER_BUTTON_B);
    EXPECT_TRUE(nothingChanged());
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);

    // Yes: the arrow to "Restore", then Enter.
    ASSERT_TRUE(asked());
    m.Key(SDL_SCANCODE_LEFT, false);
    EXPECT_EQ(m.RestoreQuestion().focus, keyconfig::kRestoreAnswer);
    m.Key(SDL_SCANCODE_RETURN, false);
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    EXPECT_TRUE(m.Shown() == Settings());
    EXPECT_TRUE(ReadBack(file) == Settings());
    // Everything shown follows: the language row and the program's own words and title.
    EXPECT_FALSE(m.English());
    EXPECT_EQ(m.Rows()[keyconfig::kLanguageRow].value, "日本語");
    EXPECT_EQ(m.Rows()[keyconfig::kLanguageRow].label, "言語");
    EXPECT_EQ(m.Title(), "Rushmora 設定");
    EXPECT_EQ(m.Message(), "初期設定に戻しました");
    EXPECT_EQ(RunLine(m, "ジャンプ").keys, "A");

    // The pad answers too: the direction pad to "Restore", A.
    ASSERT_TRUE(platform::settings::WriteSettings(file, mine));
    Model pad(mine, file);
    pad.ClickTab(Page::kOther);
    for (int i = 0; i < keyconfig::kDefaultsRow; ++i) pad.PadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    pad.PadButton(SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(pad.WaitingFor(), Waiting::kRestore);
    pad.PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    pad.PadButton(SDL_CONTROLLER_BUTTON_A);
    EXPECT_TRUE(ReadBack(file) == Settings());
    EXPECT_FALSE(pad.English());
}

// The language the program speaks: the game's (--lang) when it gives one, else the settings';
// changing the language row makes the program speak it.
TEST(KeyConfigLanguage, TheProgramSpeaksTheGamesLanguageAndFollowsTheRow) {
    const std::string file = FreshFile("language");
    Model m(Settings(), file, "en");  // settings.ini says ja, the game runs in English
    EXPECT_TRUE(m.English());
    EXPECT_EQ(m.Title(), "Rushmora Settings");
    EXPECT_EQ(m.PageName(Page::kOther), "Other");
    m.ClickTab(Page::kOther);
    EXPECT_EQ(m.Rows()[keyconfig::kLanguageRow].value, "日本語");  // the setting, as the file holds it
    EXPECT_EQ(m.Rows()[keyconfig::kScaleRow].value, "System default");
    EXPECT_EQ(m.Rows()[keyconfig::kWindowRow].value, "Full screen");
    m.ClickRow(keyconfig::kLanguageRow, RowPart::kMore);
    EXPECT_EQ(ReadBack(file).language, "en");
    EXPECT_TRUE(m.English());
    m.ClickRow(keyconfig::kLanguageRow, RowPart::kLess);
    EXPECT_EQ(ReadBack(file).language, "ja");
    EXPECT_FALSE(m.English());
    EXPECT_EQ(m.Rows()[keyconfig::kScaleRow].value, "システムの設定");
    EXPECT_EQ(m.Title(), "Rushmora 設定");
    Model fromFile(ReadBack(file), file);
    EXPECT_FALSE(fromFile.English());
}

// The controls page lists the player's keys and buttons and lights a line while one of its keys or
// buttons is held.
TEST(KeyConfigControls, ThePlayersKeysAndButtonsAreListedAndLightUpWhileHeld) {
    const std::string file = FreshFile("lit");
    Model m(Settings(), file, "en");
    m.ClickTab(Page::kKeys);
    m.ClickRow(int(Action("jump")), RowPart::kValue);
    m.Key(SDL_SCANCODE_J, false);
    m.KeyUp(SDL_SCANCODE_J);
    ASSERT_EQ(m.Shown().keys[Action("jump")], SDL_SCANCODE_J);
    m.SetPad(true, SDL_CONTROLLER_TYPE_XBOXONE);
    m.ClickTab(Page::kControls);
    const auto lit = [&m] {
        std::vector<std::string> out;
        for (const keyconfig::ControlsLine& line : m.Controls())
            if (line.lit) out.push_back(line.scene + " " + line.effect);
        return out;
    };
    EXPECT_EQ(RunLine(m, "Jump").keys, "J");
    EXPECT_EQ(RunLine(m, "Jump").joystick, "3 (X)");
    EXPECT_TRUE(lit().empty());

    m.Key(SDL_SCANCODE_J, false);
    EXPECT_EQ(lit(), std::vector<std::string>{"Run Jump"});
    m.KeyUp(SDL_SCANCODE_J);
    m.Key(SDL_SCANCODE_A, false);  // A is no key of the game's any more
    EXPECT_TRUE(lit().empty());
    m.KeyUp(SDL_SCANCODE_A);
    // The menus' Enter lights the opening's, the title's and the result's lines; F5 its own.
    m.Key(SDL_SCANCODE_RETURN, false);
    EXPECT_EQ(lit().size(), 3u);
    m.ReleaseAll();
    EXPECT_TRUE(lit().empty());
    m.Key(SDL_SCANCODE_F5, false);
    EXPECT_EQ(lit(), std::vector<std::string>{"Options Open this program"});
    m.KeyUp(SDL_SCANCODE_F5);
    // The pad's X is the game's 3: jump and the menus' way back to the title.
    m.PadButton(SDL_CONTROLLER_BUTTON_X);
    const std::vector<std::string> x = lit();
    EXPECT_NE(std::find(x.begin(), x.end(), "Run Jump"), x.end());
    EXPECT_NE(std::find(x.begin(), x.end(), "Result Back to the title"), x.end());
    m.PadButtonUp(SDL_CONTROLLER_BUTTON_X);
    EXPECT_TRUE(lit().empty());

    // A pad button moved: the game's 3 on the direction pad's down, which lights jump; X does not.
    Settings moved;
    moved.padButtons[2] = SDL_CONTROLLER_BUTTON_DPAD_DOWN;
    Model n(moved, file, "en");
    n.SetPad(true, SDL_CONTROLLER_TYPE_PS4);
    EXPECT_EQ(RunLine(n, "Jump").joystick, "3 (D-pad ↓)");
    EXPECT_EQ(RunLine(n, "Attack").joystick, "2 (Circle)");
    n.PadButton(SDL_CONTROLLER_BUTTON_X);
    bool jumpLit = false;
    for (const keyconfig::ControlsLine& line : n.Controls())
        jumpLit = jumpLit || (line.lit && line.effect == "Jump");
    EXPECT_FALSE(jumpLit);
    n.PadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    for (const keyconfig::ControlsLine& line : n.Controls())
        jumpLit = jumpLit || (line.lit && line.effect == "Jump");
    EXPECT_TRUE(jumpLit);
}

// The pad page names what each of the game's buttons does and the pad's own button for it, and
// says when there is no pad.
TEST(KeyConfigPad, EachButtonIsNamedByWhatItDoesAndNoPadIsSaid) {
    const std::string file = FreshFile("padnames");
    Model m(Settings(), file, "en");
    m.ClickTab(Page::kPad);
    EXPECT_EQ(m.PageNote(), "No pad is connected. Plug one in and it shows here.");
    const std::vector<keyconfig::Row> rows = m.Rows();
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_EQ(rows[0].label, "1  Dash");
    EXPECT_EQ(rows[2].label, "3  Jump / Back to the title");
    EXPECT_EQ(rows[7].label, "8  Pause");
    EXPECT_EQ(rows[2].value, "X");
    EXPECT_EQ(rows[4].value, "LB");
    for (const keyconfig::Row& row : rows)
        EXPECT_EQ(row.value.find("shoulder"), std::string::npos) << row.value;
    // Taking a row without a pad says what to do.
    m.ClickRow(2, RowPart::kValue);
    EXPECT_EQ(m.Rows()[2].value, "Plug in a pad…");
    m.Key(SDL_SCANCODE_ESCAPE, false);
    // A PlayStation pad: its own names, and no note.
    m.SetPad(true, SDL_CONTROLLER_TYPE_PS5);
    EXPECT_EQ(m.PageNote(), "");
    EXPECT_EQ(m.Rows()[2].value, "Square");
    m.ClickRow(2, RowPart::kValue);
    EXPECT_EQ(m.Rows()[2].value, "Press a pad button…");
    m.PadButton(SDL_CONTROLLER_BUTTON_A);  // button 1's
    EXPECT_EQ(m.Message(), "Cross is in use for button 1");
    m.SetPad(false);
    EXPECT_FALSE(m.PadConnected());
    Model ja(Settings(), file);
    ja.ClickTab(Page::kPad);
    EXPECT_EQ(ja.Rows()[2].label, "3  ジャンプ / タイトルへ戻る");
    EXPECT_EQ(ja.PageNote().rfind("パッドがつながっていません", 0), 0u);
}

// The window's scale: the command line's, else the system's, else 1, shrunk to the hundredth that
// lets the window fit the screen.
TEST(KeyConfigScale, TheWindowTakesTheGamesScaleAndFitsTheScreen) {
    keyconfig::WindowFit fit = keyconfig::FitWindow(0, 0, 1920, 1040);
    EXPECT_EQ(fit.scale, 1);
    EXPECT_EQ(fit.width, keyconfig::kBaseWidth);
    EXPECT_EQ(fit.height, keyconfig::kBaseHeight);
    fit = keyconfig::FitWindow(0, 2, 3840, 2100);  // the system's
    EXPECT_EQ(fit.scale, 2);
    EXPECT_EQ(fit.width, 2 * keyconfig::kBaseWidth);
    EXPECT_EQ(fit.height, 2 * keyconfig::kBaseHeight);
    fit = keyconfig::FitWindow(1.5, 2, 3840, 2100);  // the command line's first
    EXPECT_EQ(fit.scale, 1.5);
    EXPECT_EQ(fit.width, 1080);
    EXPECT_EQ(fit.height, 960);
    fit = keyconfig::FitWindow(2, 0, 1920, 1000);  // too tall for 2: 1000 / 640 = 1.5625
    EXPECT_EQ(fit.scale, 1.56);
    EXPECT_LE(fit.height, 1000);
    EXPECT_LE(fit.width, 1920);
    fit = keyconfig::FitWindow(3, 0, 0, 0);  // no screen known: as asked
    EXPECT_EQ(fit.scale, 3);
}

TEST(KeyConfigCommandLine, TheGamesLanguageAndScaleAreTakenAndBadOnesSaid) {
    const char* const good[] = {"KeyConfig1.exe", "--lang", "en", "--scale", "1.5"};
    keyconfig::CommandLine c = keyconfig::ReadCommandLine(5, good);
    EXPECT_EQ(c.language, "en");
    EXPECT_EQ(c.scale, 1.5);
    EXPECT_FALSE(c.list);
    EXPECT_TRUE(c.warnings.empty());
    const char* const joined[] = {"KeyConfig1.exe", "--lang=ja", "--scale=2", "--list"};
    c = keyconfig::ReadCommandLine(4, joined);
    EXPECT_EQ(c.language, "ja");
    EXPECT_EQ(c.scale, 2);
    EXPECT_TRUE(c.list);
    const char* const bad[] = {"KeyConfig1.exe", "--lang", "fr", "--scale", "2x", "--what", "--scale"};
    c = keyconfig::ReadCommandLine(7, bad);
    EXPECT_EQ(c.language, "");
    EXPECT_EQ(c.scale, 0);
    ASSERT_EQ(c.warnings.size(), 4u);
    EXPECT_NE(c.warnings[0].find("fr"), std::string::npos);
    EXPECT_NE(c.warnings[1].find("2x"), std::string::npos);
    EXPECT_NE(c.warnings[2].find("--what"), std::string::npos);
    EXPECT_NE(c.warnings[3].find("needs a value"), std::string::npos);
    const char* const tiny[] = {"KeyConfig1.exe", "--scale", "0", "--scale", "nan"};
    EXPECT_EQ(keyconfig::ReadCommandLine(5, tiny).warnings.size(), 2u);
}

// Paths as the system writes them: on Windows every separator a backslash, elsewhere as they are;
// the message names the file so.
TEST(KeyConfigPaths, TheSettingsFileIsNamedInTheSystemsOwnForm) {
#ifdef _WIN32
    EXPECT_EQ(keyconfig::NativePath("C:\\users\\ゆう\\AppData/Rushmora/settings.ini"),
              "C:\\users\\ゆう\\AppData\\Rushmora\\settings.ini");
#else
    EXPECT_EQ(keyconfig::NativePath("/home/ゆう/.config/Rushmora/settings.ini"),
              "/home/ゆう/.config/Rushmora/settings.ini");
    EXPECT_EQ(keyconfig::NativePath("a\\b/c"), "a\\b/c");  // a backslash is a letter of a name here
#endif
    EXPECT_EQ(keyconfig::NativePath(""), "");
    const std::string file = FreshFile("paths");
    Model m(Settings(), file, "en");
    m.ClickTab(Page::kOther);
    m.ClickRow(keyconfig::kPauseRow, RowPart::kMore);
    EXPECT_EQ(m.Message(), "Saved: " + keyconfig::NativePath(file));
}

// The window row offers the sizes that fit the screen with a title bar, and keeps offering the size
// the game kept when the player resized its window.
TEST(KeyConfigOther, TheWindowSizesOfferedAreThoseThatFitThisScreen) {
    auto widths = [](const Model& m) {
        std::vector<int> w;
        for (const auto& size : m.WindowChoices()) w.push_back(size.first);
        return w;
    };
    Model m(Settings(), FreshFile("window-sizes"));
    m.SetScreen(1920, 1040);  // 1080p less a task bar: 1920x1080 no longer fits
    EXPECT_EQ(widths(m), (std::vector<int>{0, 960, 1024, 1280, 1366, 1600}));
    m.SetScreen(3840, 2120);
    EXPECT_EQ(widths(m).back(), 3200);
    m.SetScreen(1366, 768);  // a small laptop: only the small ones (1366x768 itself wants a title bar)
    EXPECT_EQ(widths(m), (std::vector<int>{0, 960, 1024, 1280}));
    m.ClickTab(Page::kOther);
    m.ClickRow(keyconfig::kWindowRow, RowPart::kLess);  // round from full screen to the largest that fits
    EXPECT_EQ(m.Shown().windowWidth, 1280);
    EXPECT_EQ(m.Shown().windowHeight, 720);

    Settings kept;
    kept.windowWidth = 1500, kept.windowHeight = 900;
    Model k(kept, FreshFile("window-kept"));
    k.SetScreen(1920, 1040);
    const auto& choices = k.WindowChoices();
    EXPECT_NE(std::find(choices.begin(), choices.end(), std::pair{1500, 900}), choices.end());
    EXPECT_TRUE(std::is_sorted(choices.begin() + 1, choices.end()));
    k.ClickTab(Page::kOther);
    k.ClickRow(keyconfig::kWindowRow, RowPart::kMore);  // the next larger after the kept one
    EXPECT_EQ(k.Shown().windowWidth, 1600);
}

// The pad page's dead zone and rumble (after its buttons, with a pad or without) and the access
// page's rows (between the pad and the other page): each turns its own setting and no other, both
// ways, by the keys, a click and the pad, saved at once; the values step within their bounds.
TEST(KeyConfigAccess, EachNewRowTurnsItsOwnSettingBothWaysWithinItsBounds) {
    const std::string file = FreshFile("access");
    Model m(Settings(), file);
    Settings expected;
    const auto same = [&] { return m.Shown() == expected && ReadBack(file) == expected; };
    struct Flag {
        Page page;
        int row;
        bool Settings::*field;
    };
    for (const Flag& f : {Flag{Page::kPad, keyconfig::kRumbleRow, &Settings::rumble},
                          Flag{Page::kAccess, keyconfig::kReduceMotionRow, &Settings::reduceMotion},
                          Flag{Page::kAccess, keyconfig::kReduceFlashingRow, &Settings::reduceFlashing},
                          Flag{Page::kAccess, keyconfig::kDashRow, &Settings::toggleDash},
                          Flag{Page::kAccess, keyconfig::kPowerRow, &Settings::togglePower}}) {
        m.ClickTab(f.page);
        for (int turn = 0; turn < 3; ++turn) {
            if (turn == 0) m.ClickRow(f.row, RowPart::kMore);
            if (turn == 1) m.Key(SDL_SCANCODE_LEFT, false);
            if (turn == 2) m.PadButton(SDL_CONTROLLER_BUTTON_A);
            expected.*f.field = !(expected.*f.field);
            EXPECT_TRUE(same()) << "row " << f.row << ", turn " << turn;
        }
    }
    struct Value {
        Page page;
        int row;
        int Settings::*field;
        int low, high, step;
    };
    for (const Value& v :
         {Value{Page::kPad, keyconfig::kDeadZoneRow, &Settings::deadZone, 5, 90, 5},
          Value{Page::kAccess, keyconfig::kGameSpeedRow, &Settings::gameSpeed, 50, 100, 10}}) {
        m.ClickTab(v.page);
        const int start = expected.*v.field;
        m.ClickRow(v.row, RowPart::kLess);
        expected.*v.field = start - v.step;
        EXPECT_TRUE(same()) << "row " << v.row;
        m.Key(SDL_SCANCODE_RETURN, false);  // Enter steps up, it asks for no pad button
        expected.*v.field = start;
        EXPECT_TRUE(same() && m.WaitingFor() == Waiting::kNothing) << "row " << v.row;
        for (int i = 0; i < 20; ++i) m.Key(SDL_SCANCODE_LEFT, false);
        expected.*v.field = v.low;
        EXPECT_TRUE(same()) << "row " << v.row;
        for (int i = 0; i < 20; ++i) m.ClickRow(v.row, RowPart::kMore);
        expected.*v.field = v.high;
        EXPECT_TRUE(same()) << "row " << v.row;
    }
    EXPECT_FALSE(m.TakeTone());
    m.Key(SDL_SCANCODE_TAB, false);
    EXPECT_EQ(m.CurrentPage(), Page::kOther);

    // A program started on the saved file shows them, in either language.
    Model ja(ReadBack(file), file, "ja");
    ja.ClickTab(Page::kAccess);
    EXPECT_EQ(ja.PageName(Page::kAccess), "アクセシビリティ");
    EXPECT_EQ(ja.Rows()[keyconfig::kDashRow].value, "おすたびに切りかえ");
    Model en(ReadBack(file), file, "en");
    en.ClickTab(Page::kPad);
    EXPECT_EQ(en.Rows()[keyconfig::kDeadZoneRow].value, "90 %");
    en.ClickTab(Page::kAccess);
    EXPECT_EQ(en.Rows()[keyconfig::kGameSpeedRow].label + " " + en.Rows()[keyconfig::kGameSpeedRow].value,
              "Game speed 100 %");

    // A dead zone the file holds between two steps goes to the next step either way.
    Settings odd;
    odd.deadZone = 27;
    Model n(odd, FreshFile("deadzone-odd"));
    n.ClickTab(Page::kPad);
    n.ClickRow(keyconfig::kDeadZoneRow, RowPart::kMore);
    EXPECT_EQ(n.Shown().deadZone, 30);
    n.ClickRow(keyconfig::kDeadZoneRow, RowPart::kLess);
    EXPECT_EQ(n.Shown().deadZone, 25);
}
