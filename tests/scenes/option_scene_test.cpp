// The option screen through scripted headless runs.
#include "scenes/option_scene.h"
#include "scenes/title_scene.h"
#include "app/game_app.h"
#include "support/game_run.h"
#include "platform/shellapi.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
#ifndef _WIN32
#include <sys/stat.h>
#endif

using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

OptionScene* Option() {
    return dynamic_cast<OptionScene*>(GameApp::Get().scene);
}

int GaugeAfter(const std::string& script, long frames) {
    RunSetup setup;
    setup.scene = "Option";
    setup.frames = frames;
    setup.script = script;
    RunGame(setup);
    EXPECT_NE(Option(), nullptr);
    return Option() ? Option()->gaugeRight : -1;
}

}  // namespace

class OptionScreen : public GameRunTest {};

TEST_F(OptionScreen, GaugeStaysBetween682And1024) {
    EXPECT_EQ(GaugeAfter("", 5), 1024);
    EXPECT_EQ(GaugeAfter("1-300 RIGHT\n", 20), 1024);
    EXPECT_EQ(GaugeAfter("1-300 LEFT\n", 170), 684);
    EXPECT_EQ(GaugeAfter("1-300 LEFT\n", 171), 682);
    EXPECT_EQ(GaugeAfter("1-300 LEFT\n", 250), 682);
    EXPECT_EQ(GaugeAfter("1-200 LEFT\n201-400 RIGHT\n", 371), 1024);
    EXPECT_EQ(GaugeAfter("1-200 LEFT\n201-400 RIGHT\n", 210), 682 + 20);
    // Both held: down and up in the same frame.
    EXPECT_EQ(GaugeAfter("1-10 LEFT\n11-20 LEFT RIGHT\n", 20), 1004);
}

TEST_F(OptionScreen, EscapeOrButtonThreeLeavesInTheSameFrame) {
    RunSetup setup;
    setup.scene = "Option";
    setup.frames = 5;
    setup.script = "5 ESCAPE\n";
    RunGame(setup);
    EXPECT_NE(dynamic_cast<TitleScene*>(GameApp::Get().scene), nullptr);
    setup.script = "5 JB=4\n";
    RunGame(setup);
    EXPECT_NE(dynamic_cast<TitleScene*>(GameApp::Get().scene), nullptr);
    setup.script = "5 JB=12\n";
    RunGame(setup);
    EXPECT_NE(Option(), nullptr);
}

TEST_F(OptionScreen, GaugeIsForgottenWhenLeft) {
    RunSetup setup;
    setup.scene = "Option";
    setup.frames = 12 + 11;
    // Shorten, leave, come back from the title's option entry.
    setup.script = "1-3 LEFT\n4 ESCAPE\n15 DOWN\n";
    setup.frames = 26;
    setup.script = "1-3 LEFT\n4 ESCAPE\n16 DOWN\n27 RETURN\n";
    setup.frames = 27;
    RunGame(setup);
    ASSERT_NE(Option(), nullptr);
    EXPECT_EQ(Option()->gaugeRight, 1024);
}

TEST_F(OptionScreen, F2WritesTheTestEntryAndSaysHowItWent) {
    // There is no "D:" folder in the working directory: the write fails and says NO.
    RunSetup setup;
    setup.scene = "Option";
    setup.frames = 3;
    setup.script = "2 F2\n";
    RunGame(setup);
    ASSERT_EQ(platform::MessageBoxes().size(), 1u);
    EXPECT_EQ(platform::MessageBoxes()[0].text, "NO");
    EXPECT_EQ(platform::MessageBoxes()[0].caption, "");

#ifdef _WIN32
    return;  // On Windows D: is a drive, as it always was for the game: nothing a test can make.
#endif
    // With the folder there, it writes the entry and says OK.
    const std::string data = testing_support::TempPath("data-with-d");
    testing_support::MakeDir(data);
    testing_support::MakeDir((data + "/D:"));
    setup.dataDir = data;
    RunGame(setup);
    ASSERT_EQ(platform::MessageBoxes().size(), 1u);
    EXPECT_EQ(platform::MessageBoxes()[0].text, "OK");
    std::ifstream in(data + "/D:/test.ini");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(all, "[TEST]\r\nvelkoro=100\r\n");
}

TEST_F(OptionScreen, F5AsksThenStartsTheKeyConfigurationFromBesideTheGame) {
    const std::size_t startedBefore = platform::StartedPrograms().size();
    RunSetup setup;
    setup.scene = "Option";
    setup.frames = 4;
    setup.script = "2-3 F5\n";
    RunGame(setup);
    // Held for two frames: asked twice.
    ASSERT_EQ(platform::MessageBoxes().size(), 2u);
    EXPECT_EQ(platform::MessageBoxes()[0].text, "KeyConfigを開こうとしています");
    EXPECT_EQ(platform::MessageBoxes()[0].caption, "確認");
    EXPECT_EQ(platform::MessageBoxes()[0].type, unsigned(MB_OK));
    EXPECT_NE(Option(), nullptr);
    // The test data has no settings program: the one built beside this program (as beside the game in
    // a build folder) starts, headless as the run is, once for each frame.
    const auto& started = platform::StartedPrograms();
    ASSERT_EQ(started.size(), startedBefore + 2);
    EXPECT_EQ(started[startedBefore], "KeyConfig1.exe");
    EXPECT_EQ(started[startedBefore + 1], "KeyConfig1.exe");
}

#ifndef _WIN32
// Without a data folder the game plays where it was started, perhaps a downloads folder: a program
// of the settings program's name there is never started, only the one beside the game.
TEST_F(OptionScreen, F5NeverStartsAProgramFromTheFolderTheGameWasStartedIn) {
    const std::string folder = testing_support::TempPath("downloads");
    testing_support::MakeDir(folder);
    const std::string marker = folder + "/planted-ran";
    std::remove(marker.c_str());
    {
        std::ofstream planted(folder + "/KeyConfig1.exe");
        planted << "#!/bin/sh\ntouch '" << marker << "'\n";
    }
    ASSERT_EQ(chmod((folder + "/KeyConfig1.exe").c_str(), 0755), 0);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const std::size_t startedBefore = platform::StartedPrograms().size();
    RunSetup setup;
    setup.scene = "Option";
    setup.frames = 3;
    setup.script = "2 F5\n";
    setup.dataDir = folder + "/no-data-here";
    RunGame(setup);
    std::filesystem::current_path(before);
    // The one beside this program started; give the planted one time to show itself, were it run.
    EXPECT_EQ(platform::StartedPrograms().size(), startedBefore + 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(std::filesystem::exists(marker));
}
#endif

TEST_F(OptionScreen, F2HeldKeepsOnlyTheLastBoxesButCountsThemAll) {
    // Held for 300 frames: a box every frame; the run keeps the last ones, oldest first.
    RunSetup setup;
    setup.scene = "Option";
    setup.frames = 301;
    setup.script = "2-301 F2\n";
    RunGame(setup);
    EXPECT_EQ(platform::MessageBoxCount(), 300u);
    const auto& kept = platform::MessageBoxes();
    ASSERT_EQ(kept.size(), platform::kKeptMessageBoxes);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(kept[i].frame, long(301 - kept.size() + 1 + i));
        EXPECT_EQ(kept[i].text, "NO");
    }
    // A new run starts counting again.
    setup.frames = 3;
    setup.script = "2 F2\n";
    RunGame(setup);
    EXPECT_EQ(platform::MessageBoxCount(), 1u);
    EXPECT_EQ(platform::MessageBoxes().size(), 1u);
}
