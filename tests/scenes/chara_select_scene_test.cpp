// The character select screen through scripted headless runs.
#include "harness/state_dump.h"
#include "scenes/chara_select_scene.h"
#include "scenes/help_scene.h"
#include "scenes/title_scene.h"
#include "app/game_app.h"
#include "support/game_run.h"
#include "support/png.h"

using testing_support::PixelAt;
using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

constexpr Uint32 kPicture = 0xFF00FF00;

// A plain green stand-in for the screen's picture.
const std::string& CharaDataDir() {
    static std::string dir;
    if (!dir.empty()) return dir;
    dir = testing_support::TempPath("chara-data");
    testing_support::MakeDir(dir);
    testing_support::MakeDir((dir + "/Texture"));
    testing_support::WritePicture(dir + "/Texture/charaselect.png", 640, 480, kPicture);
    return dir;
}

SceneBase* Current() {
    return GameApp::Get().scene;
}

// Runs the screen from its first frame; returns the scene current after the last frame.
SceneBase* Play(const std::string& script, long frames, const std::string& dataDir = CharaDataDir()) {
    RunSetup setup;
    setup.scene = "CharaSelect";
    setup.frames = frames;
    setup.script = script;
    setup.dataDir = dataDir;
    RunGame(setup);
    return Current();
}

}  // namespace

class CharaSelect : public GameRunTest {};

TEST_F(CharaSelect, StaysWithoutAKeyAndShowsItsPicture) {
    RunSetup setup;
    setup.scene = "CharaSelect";
    setup.frames = 300;
    setup.script = "1-300 RETURN BACK UP DOWN LEFT RIGHT JB=2 JX=0 JY=65535\n";
    setup.dataDir = CharaDataDir();
    const std::string shot = testing_support::TempPath("chara.png");
    setup.screenshots = {{300, shot}};
    RunGame(setup);
    auto* scene = dynamic_cast<CharaSelectScene*>(Current());
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(scene->nextScene, -1);
    EXPECT_EQ(PixelAt(shot, 300 + 1, 150 + 1), kPicture);
    EXPECT_EQ(PixelAt(shot, 300 + 320, 150 + 240), kPicture);
    EXPECT_EQ(PixelAt(shot, 300 + 638, 150 + 478), kPicture);
}

TEST_F(CharaSelect, SpaceOpensTheHelpBookInTheSameFrame) {
    auto* help = dynamic_cast<HelpScene*>(Play("1 SPACE\n", 1));
    ASSERT_NE(help, nullptr);
    // A fresh book: its first frame is still to come.
    EXPECT_EQ(help->page, 0);
    EXPECT_EQ(help->inputDelay, 10);
    EXPECT_NE(dynamic_cast<HelpScene*>(Play("40 SPACE\n", 40)), nullptr);
}

TEST_F(CharaSelect, EscapeButtonThreeOrSpaceWithEscapeGoToTheTitle) {
    EXPECT_NE(dynamic_cast<TitleScene*>(Play("5 ESCAPE\n", 5)), nullptr);
    EXPECT_NE(dynamic_cast<TitleScene*>(Play("5 JB=4\n", 5)), nullptr);
    EXPECT_NE(dynamic_cast<TitleScene*>(Play("5 SPACE ESCAPE\n", 5)), nullptr);
}

TEST_F(CharaSelect, ButtonThreeCountsOnlyAlone) {
    EXPECT_NE(dynamic_cast<CharaSelectScene*>(Play("5 JB=6\n", 5)), nullptr);
    EXPECT_NE(dynamic_cast<CharaSelectScene*>(Play("5 JB=12\n", 5)), nullptr);
}

TEST_F(CharaSelect, TheTitleItLeadsToStartsAfresh) {
    auto* title = dynamic_cast<TitleScene*>(Play("5 ESCAPE\n", 6));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->cursor, 0);
    EXPECT_EQ(title->fading, 0);
    EXPECT_EQ(title->handAngle, 180 + 7);
}

TEST_F(CharaSelect, WithoutItsPictureTheScreenIsBlackAndTheKeysWork) {
    const std::string empty = testing_support::TempPath("chara-nothing");
    testing_support::MakeDir(empty);
    RunSetup setup;
    setup.scene = "CharaSelect";
    setup.frames = 10;
    setup.dataDir = empty;
    const std::string shot = testing_support::TempPath("chara-black.png");
    setup.screenshots = {{10, shot}};
    RunGame(setup);
    EXPECT_EQ(PixelAt(shot, 300 + 320, 150 + 240), 0xFF000000u);
    EXPECT_NE(dynamic_cast<HelpScene*>(Play("5 SPACE\n", 5, empty)), nullptr);
}

TEST_F(CharaSelect, TheTitlesRequestOpensIt) {
    RunSetup setup;
    setup.frames = 1;
    setup.dataDir = CharaDataDir();
    setup.make = [] {
        auto* title = new TitleScene;
        title->nextScene = kSceneCharaSelect;
        return static_cast<SceneBase*>(title);
    };
    RunGame(setup);
    EXPECT_NE(dynamic_cast<CharaSelectScene*>(Current()), nullptr);
}

TEST_F(CharaSelect, StateDumpNamesIt) {
    Play("", 3);
    const std::string dump = DumpState();
    EXPECT_NE(dump.find("\"name\": \"CharaSelectScene\", \"nextScene\": -1"), std::string::npos) << dump;
}
