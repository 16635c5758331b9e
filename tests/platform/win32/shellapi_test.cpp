// ShellExecuteA starting the settings program from a run: the game asks for KeyConfig1.exe, which an
// install on Linux has as rushmora-settings beside the game, and the program is told the run's
// language and scale. Each program here is a small script that writes its name and arguments.
#include "platform/shellapi.h"
#include "support/game_run.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#ifndef _WIN32

namespace {

using testing_support::RunGame;
using testing_support::RunSetup;

class StartingSettings : public GameRunTest {
  protected:
    // A program in folder that writes "<its name> <its arguments>" to folder/<marker>.
    static void Plant(const std::string& folder, const std::string& name, const std::string& marker) {
        const std::string path = folder + "/" + name;
        {
            std::ofstream script(path);
            script << "#!/bin/sh\necho \"$(basename \"$0\") $*\" >'" << folder << "/" << marker
                   << ".part'\nmv '" << folder << "/" << marker << ".part' '" << folder << "/" << marker
                   << "'\n";
        }
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
    }
    // What the program wrote, once it has run ("" if it never did).
    static std::string Wrote(const std::string& file) {
        for (int i = 0; i < 1000 && !std::filesystem::exists(file); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream in(file);
        std::string line;
        std::getline(in, line);
        return line;
    }
    // Runs the option screen headless in that language and at that scale, with ShellExecuteA called
    // once in its first frame; returns what it returned. dataDir: the test pictures when empty.
    static std::uintptr_t StartInRun(const std::string& language, double scale, const std::string& file,
                                     const char* parameters, const std::string& directory,
                                     const std::string& dataDir = "") {
        std::uintptr_t result = 0;
        RunSetup setup;
        setup.dataDir = dataDir;
        setup.scene = "Option";
        setup.frames = 2;
        setup.language = language;
        setup.scale = scale;
        setup.atFrameEnd = [&] {
            if (result == 0)
                result = reinterpret_cast<std::uintptr_t>(
                    ShellExecuteA(nullptr, "open", file.c_str(), parameters,
                                  directory.empty() ? nullptr : directory.c_str(), SW_SHOW));
        };
        RunGame(setup);
        return result;
    }
};

}  // namespace

TEST_F(StartingSettings, FoundUnderItsInstalledNameAndToldTheRunsLanguageAndScale) {
    const std::string folder = testing_support::TempPath("installed-settings");
    testing_support::MakeDir(folder);
    Plant(folder, "rushmora-settings", "ran");
    // The game's own parameters stay first; the scale is written as the command line takes it.
    struct Case {
        const char* language;
        double scale;
        const char* parameters;
        const char* expected;
    };
    for (const Case& c : {Case{"en", 1.5, nullptr, "rushmora-settings --lang en --scale 1.5"},
                          Case{"ja", 1.25, "--list", "rushmora-settings --list --lang ja --scale 1.25"}}) {
        SCOPED_TRACE(c.expected);
        std::filesystem::remove(folder + "/ran");
        const std::size_t before = platform::StartedPrograms().size();
        EXPECT_GT(StartInRun(c.language, c.scale, "KeyConfig1.exe", c.parameters, folder), 32u);
        EXPECT_EQ(Wrote(folder + "/ran"), c.expected);
        // The run's record keeps the name the game asked for.
        ASSERT_EQ(platform::StartedPrograms().size(), before + 1);
        EXPECT_EQ(platform::StartedPrograms().back(),
                  std::string("KeyConfig1.exe") + (c.parameters ? std::string(" ") + c.parameters : ""));
    }
}

TEST_F(StartingSettings, TheInstalledNameComesFirstAndOtherProgramsAreToldNothing) {
    const std::string folder = testing_support::TempPath("both-names");
    testing_support::MakeDir(folder);
    // A KeyConfig1.exe left from an older build beside the installed one.
    Plant(folder, "KeyConfig1.exe", "ran");
    Plant(folder, "rushmora-settings", "ran");
    EXPECT_GT(StartInRun("en", 1, "KeyConfig1.exe", nullptr, folder), 32u);
    EXPECT_EQ(Wrote(folder + "/ran"), "rushmora-settings --lang en --scale 1");
    // The game's name alone is still found, and still told.
    std::filesystem::remove(folder + "/ran");
    std::filesystem::remove(folder + "/rushmora-settings");
    EXPECT_GT(StartInRun("en", 1, "KeyConfig1.exe", nullptr, folder), 32u);
    EXPECT_EQ(Wrote(folder + "/ran"), "KeyConfig1.exe --lang en --scale 1");
    // Any other program gets its own parameters only.
    Plant(folder, "other-tool", "other");
    EXPECT_GT(StartInRun("en", 1.5, "other-tool", "a b", folder), 32u);
    EXPECT_EQ(Wrote(folder + "/other"), "other-tool a b");
}

// The folder the game was started from (a downloads folder, perhaps) is never looked in, under either
// name: the settings program built beside this test program starts instead.
TEST_F(StartingSettings, NeverTheInstalledNameInTheFolderTheGameWasStartedFrom) {
    const std::string folder = testing_support::TempPath("downloads-installed");
    testing_support::MakeDir(folder);
    Plant(folder, "rushmora-settings", "planted-ran");
    Plant(folder, "KeyConfig1.exe", "planted-ran");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    // No data folder: the game plays where it was started.
    const std::uintptr_t result =
        StartInRun("ja", 1, "KeyConfig1.exe", nullptr, "", folder + "/no-data-here");
    std::filesystem::current_path(before);
    EXPECT_GT(result, 32u);
    // Give a planted one time to show itself, were it run.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(std::filesystem::exists(folder + "/planted-ran"));
}

#endif
