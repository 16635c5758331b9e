// The settings program's pages as the player works them: keys and pad buttons moved (and refused
// when another action has them), Escape kept for the questions, the volumes, language and screen,
// the pause when the window is left, the defaults back, every change saved at once without losing
// another writer's, and the controls table following the player's keys.
#include "actions/actions.h"
#include "keyconfig/model.h"
#include "platform/settings/settings.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

namespace {

using keyconfig::Model;
using keyconfig::Page;
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
    EXPECT_EQ(m.Message(), "保存しました: " + file);
    EXPECT_EQ(ReadBack(file).keys[Action("jump")], SDL_SCANCODE_J);
    // The run's jump line of the controls page shows the moved key, with the action's button and words.
    const keyconfig::ControlsLine jump = RunLine(m, "ジャンプ");
    EXPECT_EQ(jump.keys, "J");
    EXPECT_EQ(jump.joystick, "ボタン3");

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
    EXPECT_EQ(m.Rows()[2].value, "dpup");
    EXPECT_EQ(ReadBack(file).padButtons[2], SDL_CONTROLLER_BUTTON_DPAD_UP);

    // "Confirm with A": buttons 1 and 2 swapped, the rest as always.
    TakeRow(&m, Page::kPad, keyconfig::kConfirmWithARow);
    Settings confirmWithA;
    platform::settings::ConfirmWithA(&confirmWithA);
    EXPECT_EQ(ReadBack(file).padButtons, confirmWithA.padButtons);
    m.PadButton(SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_FALSE(m.Running());
}

TEST(KeyConfigOther, VolumesToneLanguageScaleAndWindowAreSavedAsTheyChange) {
    const std::string file = FreshFile("other");
    Model m(Settings(), file);
    m.ClickTab(Page::kOther);
    EXPECT_FALSE(m.TakeTone());
    m.ClickRow(keyconfig::kMusicRow, false);  // the left half lowers
    EXPECT_EQ(m.Shown().musicVolume, 90);
    EXPECT_EQ(m.TakeTone(), 90);
    EXPECT_FALSE(m.TakeTone());                // once
    m.ClickRow(keyconfig::kEffectsRow, true);  // the right half raises, never past 100
    EXPECT_EQ(m.Shown().effectsVolume, 100);
    EXPECT_EQ(m.TakeTone(), 100);

    m.Key(SDL_SCANCODE_DOWN, false);
    m.Key(SDL_SCANCODE_RIGHT, false);
    EXPECT_EQ(m.Shown().scale, 1);
    m.Key(SDL_SCANCODE_LEFT, false);
    m.Key(SDL_SCANCODE_LEFT, false);
    EXPECT_EQ(m.Shown().scale, 3);  // round from the system's to the largest
    EXPECT_EQ(m.Rows()[keyconfig::kScaleRow].value, "◀ 3 ▶");
    m.ClickRow(keyconfig::kWindowRow, true);
    EXPECT_EQ(m.Shown().windowWidth, 1280);
    EXPECT_EQ(m.Shown().windowHeight, 720);
    EXPECT_FALSE(m.TakeTone());

    m.ClickRow(keyconfig::kLanguageRow, true);
    EXPECT_TRUE(m.English());
    EXPECT_EQ(m.Rows()[keyconfig::kLanguageRow].label, "Language");
    EXPECT_EQ(m.Message(), "Saved: " + file);
    EXPECT_EQ(RunLine(m, "jump").joystick, "button 3");
    const Settings saved = ReadBack(file);
    EXPECT_TRUE(saved == m.Shown());
    EXPECT_EQ(saved.language, "en");
    EXPECT_EQ(saved.musicVolume, 90);
    EXPECT_EQ(saved.windowWidth, 1280);

    // The defaults back, all at once.
    m.ClickRow(keyconfig::kDefaultsRow, false);
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
    EXPECT_EQ(m.Rows()[keyconfig::kPauseRow].label, "ウィンドウを離れたら一時停止する");
    EXPECT_EQ(m.Rows()[keyconfig::kPauseRow].value, "◀ はい ▶");

    // The keyboard: down to its row, Enter turns it, the arrows turn it either way.
    for (int i = 0; i < keyconfig::kPauseRow; ++i) m.Key(SDL_SCANCODE_DOWN, false);
    ASSERT_EQ(m.Chosen(), keyconfig::kPauseRow);
    m.Key(SDL_SCANCODE_RETURN, false);
    EXPECT_FALSE(m.Shown().pauseWhenAway);
    EXPECT_EQ(m.Rows()[keyconfig::kPauseRow].value, "◀ いいえ ▶");
    EXPECT_FALSE(ReadBack(file).pauseWhenAway);
    EXPECT_EQ(m.Message(), "保存しました: " + file);
    m.Key(SDL_SCANCODE_LEFT, false);
    EXPECT_TRUE(ReadBack(file).pauseWhenAway);
    m.Key(SDL_SCANCODE_RIGHT, false);
    EXPECT_FALSE(ReadBack(file).pauseWhenAway);
    EXPECT_FALSE(m.TakeTone());  // a volume's tone only

    // A click on either half turns it.
    m.ClickRow(keyconfig::kPauseRow, false);
    EXPECT_TRUE(ReadBack(file).pauseWhenAway);
    m.ClickRow(keyconfig::kPauseRow, true);
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
    m.ClickRow(keyconfig::kLanguageRow, true);
    EXPECT_EQ(m.Rows()[keyconfig::kPauseRow].label, "Pause when the window is left");
    EXPECT_EQ(m.Rows()[keyconfig::kPauseRow].value, "◀ No ▶");
    EXPECT_FALSE(ReadBack(file).pauseWhenAway);
    m.ClickRow(keyconfig::kDefaultsRow, false);
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
    m.ClickRow(keyconfig::kMusicRow, false);
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
    m.ClickRow(keyconfig::kPauseRow, true);
    const Settings both = ReadBack(file);
    EXPECT_FALSE(both.pauseWhenAway);
    EXPECT_EQ(both.effectsVolume, 20);
    EXPECT_EQ(both.musicVolume, 90);
    EXPECT_TRUE(m.Shown() == both);
}

TEST(KeyConfigSave, ASaveThatCannotBeMadeIsSaidAndTheDefaultsAreNotClaimed) {
    Model nowhere(Settings(), "");
    nowhere.ClickTab(Page::kOther);
    nowhere.ClickRow(keyconfig::kMusicRow, true);
    EXPECT_EQ(nowhere.Message(), "設定を保存する場所がありません");

    const std::string folder = testing_support::TempPath("keyconfig-folder.ini");
    testing_support::MakeDir(folder);
    Settings changed;
    changed.musicVolume = 40;
    Model m(changed, folder);
    m.ClickTab(Page::kOther);
    m.ClickRow(keyconfig::kDefaultsRow, false);
    EXPECT_EQ(m.Message().rfind("保存できません: ", 0), 0u) << m.Message();
}

TEST(KeyConfigClicks, TabsChangeThePageAndRowsOutsideThePageOrDuringAQuestionDoNothing) {
    const std::string file = FreshFile("clicks");
    Model m(Settings(), file);
    m.ClickRow(0, false);  // the controls page has no rows to take
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    m.ClickTab(Page::kKeys);
    m.ClickRow(int(GameActions().size()), false);  // under the last row
    m.ClickRow(-1, false);
    EXPECT_EQ(m.WaitingFor(), Waiting::kNothing);
    EXPECT_EQ(m.Chosen(), 0);
    m.ClickRow(2, false);
    EXPECT_EQ(m.Chosen(), 2);
    EXPECT_EQ(m.WaitingFor(), Waiting::kKey);
    m.ClickRow(5, false);  // the question stays with its row
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
                EXPECT_EQ(line.joystick, "ボタン" + std::to_string(a.padButton));
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
        f5 = f5 || (line.keys == "F5" && line.effect == "open this program");
    EXPECT_TRUE(f5);
}
