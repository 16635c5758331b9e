// The command line: what it accepts, and how it says what is wrong.
#include "app/game_app.h"
#include "harness/cli.h"
#include "shell/start_scene.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

bool Parse(std::vector<const char*> args, CommandLine* cl, std::string* error) {
    args.insert(args.begin(), "rushmora");
    return ParseCommandLine(int(args.size()), args.data(), cl, error);
}

std::string ErrorOf(std::vector<const char*> args) {
    CommandLine cl;
    std::string error;
    EXPECT_FALSE(Parse(args, &cl, &error)) << "accepted";
    return error;
}

}  // namespace

TEST(CommandLine, ReadsAHeadlessReplay) {
#ifdef _WIN32
    const std::string absolute = "C:/tmp/a.png";
#else
    const std::string absolute = "/tmp/a.png";
#endif
    const std::string first = "10:" + absolute;
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(Parse({"--headless", "--screen", "1920x1080", "--frames", "760", "--seed", "42",
                       "--dump-state", "--screenshot", first.c_str(), "--screenshot", "20:b.png", "--set",
                       "gameMode=1", "--set", "totalScore=-5", "--scene", "Logo"},
                      &cl, &error))
        << error;
    EXPECT_TRUE(cl.runtime.headless);
    EXPECT_EQ(cl.runtime.screenWidth, 1920);
    EXPECT_EQ(cl.runtime.screenHeight, 1080);
    EXPECT_EQ(cl.runtime.frames, 760);
    EXPECT_TRUE(cl.runtime.hasSeed);
    EXPECT_EQ(cl.runtime.seed, 42u);
    EXPECT_TRUE(cl.dumpState);
    ASSERT_EQ(cl.runtime.screenshots.size(), 2u);
    EXPECT_EQ(cl.runtime.screenshots[0].frame, 10);
    EXPECT_EQ(cl.runtime.screenshots[0].file, absolute);
    // Relative files are taken from where the command was given, not the data folder.
    EXPECT_TRUE(std::filesystem::path(cl.runtime.screenshots[1].file).is_absolute());
    EXPECT_EQ(std::filesystem::path(cl.runtime.screenshots[1].file),
              std::filesystem::current_path() / "b.png");
    ASSERT_EQ(cl.start.fields.size(), 2u);
    EXPECT_EQ(cl.start.fields[1], std::make_pair(std::string("totalScore"), -5));
}

TEST(CommandLine, StatsAreAskedFor) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(Parse({"--headless"}, &cl, &error));
    EXPECT_FALSE(cl.runtime.stats);
    ASSERT_TRUE(Parse({"--headless", "--stats"}, &cl, &error)) << error;
    EXPECT_TRUE(cl.runtime.stats);
}

TEST(CommandLine, DefaultsToTheLogoOnA1280By720Screen) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(Parse({"--headless"}, &cl, &error));
    EXPECT_EQ(cl.runtime.screenWidth, 1280);
    EXPECT_EQ(cl.runtime.screenHeight, 720);
    EXPECT_EQ(cl.runtime.frames, -1);
    EXPECT_FALSE(cl.runtime.hasSeed);
    EXPECT_EQ(cl.start.scene, "Logo");
}

TEST(CommandLine, SaysWhatIsWrong) {
    EXPECT_NE(ErrorOf({"--fast"}).find("unknown option \"--fast\""), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--frames"}).find("needs a value"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--frames", "ten"}).find("--frames"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--frames", "-3"}).find("--frames"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--screen", "320x200"}).find("640x480"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--screen", "wide"}).find("WxH"), std::string::npos);
    EXPECT_NE(ErrorOf({"--screen", "1280x720"}).find("headless"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--window", "800x600"}).find("--window"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--seed", "99999999999"}).find("--seed"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--scene", "Credits"}).find("unknown scene"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--set", "lives=3"}).find("gameMode"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--set", "gameMode"}).find("FIELD=VALUE"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--set", "gameMode=x"}).find("whole number"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--screenshot", "0:a.png"}).find("N:FILE"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--screenshot", "5"}).find("N:FILE"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--input", "/no/such/script"}).find("/no/such/script"),
              std::string::npos);
}

TEST(CommandLine, NumbersArePlainDigitsAndSeedsTakeAllThirtyTwoBits) {
    CommandLine cl;
    std::string error;
    // The top of the seed's range, where a 32-bit long would already have overflowed.
    ASSERT_TRUE(Parse({"--headless", "--seed", "4000000000"}, &cl, &error)) << error;
    EXPECT_EQ(cl.runtime.seed, 4000000000u);
    ASSERT_TRUE(Parse({"--headless", "--seed", "4294967295"}, &cl, &error)) << error;
    EXPECT_EQ(cl.runtime.seed, 4294967295u);
    ASSERT_TRUE(Parse({"--headless", "--set", "elapsedClock=-2000"}, &cl, &error)) << error;
    EXPECT_EQ(cl.start.fields.back().second, -2000);
    // Signs, spaces and other bases are not numbers here.
    for (const char* seed : {"+7", " 7", "7 ", "0x10", "4294967296", "-1", ""})
        EXPECT_NE(ErrorOf({"--headless", "--seed", seed}).find("--seed"), std::string::npos) << seed;
    for (const char* set : {"gameMode=-+5", "gameMode=+5", "gameMode= 5", "gameMode=--5"})
        EXPECT_NE(ErrorOf({"--headless", "--set", set}).find("whole number"), std::string::npos) << set;
}

TEST(CommandLine, SetValuesStayWithinWhatTheGameCanHold) {
    struct Case {
        const char* set;
        const char* range;
    } refused[] = {
        {"resultCount=123456789", "resultCount goes from 0 to 9999"},
        {"resultCount=10000", "resultCount goes from 0 to 9999"},
        {"resultCount=-1", "resultCount goes from 0 to 9999"},
        {"elapsedClock=-2147483647", "elapsedClock goes from -1440000 to 1440000"},
        {"totalScore=2147483647", "totalScore goes from -999999 to 999999"},
        {"totalScore=-9999999999", "totalScore goes from -999999 to 999999"},
        {"gameMode=70000", "gameMode goes from 0 to 1"},  // a 16-bit field would have wrapped it to 4464
        {"arrivalRank=7", "arrivalRank goes from 0 to 6"},
    };
    for (const Case& c : refused) {
        const std::string error = ErrorOf({"--headless", "--set", c.set});
        EXPECT_NE(error.find(c.range), std::string::npos) << c.set << " -> " << error;
        EXPECT_NE(error.find(std::string(c.set).substr(std::string(c.set).find('=') + 1)), std::string::npos)
            << error;
    }
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(Parse({"--headless", "--set", "resultCount=9999", "--set", "elapsedClock=-1440000", "--set",
                       "totalScore=999999", "--set", "gameMode=1", "--set", "arrivalRank=6"},
                      &cl, &error))
        << error;
    EXPECT_EQ(cl.start.fields[0].second, 9999);
    EXPECT_EQ(cl.start.fields[1].second, -1440000);
    EXPECT_EQ(cl.start.fields[2].second, 999999);
}

TEST(CommandLine, FramesStartAtOne) {
    EXPECT_NE(ErrorOf({"--headless", "--frames", "0"}).find("from 1"), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--frames", "1073741825"}).find("--frames"), std::string::npos);
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(Parse({"--headless", "--frames", "1"}, &cl, &error)) << error;
    EXPECT_EQ(cl.runtime.frames, 1);
}

TEST(CommandLine, ARunTakesTheScreenItsScriptWasMadeFor) {
    const std::string script = testing_support::TempPath("screen-script.txt");
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("SCREEN 1920x1080\n1 RETURN\n", f);
    std::fclose(f);
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(Parse({"--headless", "--input", script.c_str()}, &cl, &error)) << error;
    EXPECT_EQ(cl.runtime.screenWidth, 1920);
    EXPECT_EQ(cl.runtime.screenHeight, 1080);
    EXPECT_TRUE(cl.warnings.empty());
    // Another screen asked for is used, with a warning that names both.
    CommandLine other;
    ASSERT_TRUE(Parse({"--headless", "--screen", "1280x720", "--input", script.c_str()}, &other, &error))
        << error;
    EXPECT_EQ(other.runtime.screenWidth, 1280);
    ASSERT_EQ(other.warnings.size(), 1u);
    EXPECT_NE(other.warnings[0].find("1920x1080"), std::string::npos) << other.warnings[0];
    EXPECT_NE(other.warnings[0].find("1280x720"), std::string::npos) << other.warnings[0];
    CommandLine same;
    ASSERT_TRUE(Parse({"--headless", "--screen", "1920x1080", "--input", script.c_str()}, &same, &error))
        << error;
    EXPECT_TRUE(same.warnings.empty());
    std::remove(script.c_str());
}

TEST(CommandLine, ARunStartsInAnySceneOfTheGame) {
    // This build has every scene; Quit is a request code, not a scene.
    for (const char* scene : {"Logo", "Title", "Option", "Help", "CharaSelect", "Game", "GameClear"}) {
        CommandLine cl;
        std::string error;
        EXPECT_TRUE(Parse({"--headless", "--scene", scene}, &cl, &error)) << scene << ": " << error;
        EXPECT_EQ(cl.start.scene, scene);
    }
    EXPECT_NE(ErrorOf({"--headless", "--scene", "Quit"}).find("unknown scene \"Quit\""), std::string::npos);
    EXPECT_NE(ErrorOf({"--headless", "--scene", "title"}).find("unknown scene"), std::string::npos);
}

TEST(CommandLine, OnlyTheFieldsOfTheGameCanBeSet) {
    // Names near a field's are not taken for it, nor given some other field's range.
    for (const char* set : {"totalscore=5", "totalScore2=5", "Score=5", "=5", " gameMode=1", "gameMode =1"}) {
        const std::string error = ErrorOf({"--headless", "--set", set});
        EXPECT_NE(error.find("expected FIELD=VALUE with FIELD one of gameMode, arrivalRank, elapsedClock, "
                             "resultCount, totalScore"),
                  std::string::npos)
            << set << " -> " << error;
    }
}

TEST(CommandLine, SetFieldsReachTheGameContext) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(Parse({"--set", "gameMode=1", "--set", "arrivalRank=6", "--set", "elapsedClock=-1440000",
                       "--set", "resultCount=9999", "--set", "totalScore=-999999"},
                      &cl, &error))
        << error;
    GameApp::Reset();
    for (const auto& field : cl.start.fields)
        EXPECT_TRUE(SetAppField(field.first, field.second)) << field.first;
    const GameApp& app = GameApp::Get();
    EXPECT_EQ(app.gameMode, 1);
    EXPECT_EQ(app.arrivalRank, 6);
    EXPECT_EQ(app.elapsedClock, -1440000);
    EXPECT_EQ(app.resultCount, 9999);
    EXPECT_EQ(app.totalScore, -999999);
    EXPECT_FALSE(SetAppField("lives", 3));
    GameApp::Reset();
}

TEST(CommandLine, HelpFitsInAHundredColumnsAndNamesEveryOption) {
    const std::string help = UsageText();
    std::size_t start = 0, longest = 0;
    for (std::size_t end; (end = help.find('\n', start)) != std::string::npos; start = end + 1)
        longest = std::max(longest, end - start);
    EXPECT_EQ(start, help.size()) << "the text ends with a line break";
    EXPECT_LE(longest, 100u) << help;
    // Each option is in the usage line and starts a line of the list below it.
    for (const char* option :
         {"--window", "--headless", "--screen", "--frames", "--seed", "--input", "--scene", "--set",
          "--dump-state", "--screenshot", "--audio-out", "--stats", "--help", "--version"}) {
        EXPECT_NE(help.find(std::string("[") + option), std::string::npos) << option;
        EXPECT_NE(help.find(std::string("\n  ") + option), std::string::npos) << option;
    }
    // The ranges of --set, so that they need not be learnt from mistakes.
    EXPECT_NE(help.find("elapsedClock -1440000 to 1440000"), std::string::npos) << help;
}

TEST(CommandLine, AScaleIsANumberFromAHalfToFourAndAReplayKeepsItsGameScreenAtAnyScale) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(Parse({"--headless", "--scale", "1.5"}, &cl, &error)) << error;
    EXPECT_DOUBLE_EQ(cl.runtime.scale, 1.5);
    for (const char* wrong : {"0.4", "4.5", "2x", "-1", ".5", "1.", "1.2.3", "", "nan", "1e0"})
        EXPECT_NE(ErrorOf({"--scale", wrong}).find("--scale"), std::string::npos) << wrong;
    // The script names the game's screen: at --scale 2 the display is twice as large, and nothing
    // is said.
    const std::string script = testing_support::TempPath("scale-script.txt");
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("SCREEN 1920x1080\n1 RETURN\n", f);
    std::fclose(f);
    CommandLine doubled;
    ASSERT_TRUE(Parse({"--headless", "--scale", "2", "--input", script.c_str()}, &doubled, &error)) << error;
    EXPECT_EQ(doubled.runtime.screenWidth, 3840);
    EXPECT_EQ(doubled.runtime.screenHeight, 2160);
    EXPECT_TRUE(doubled.warnings.empty());
    // A display given with it is over the scale: 3840x2160 at 2 is the script's screen, 1920x1080 at
    // 2 is not (and its frame window would not fit: the scale shrinks, and the run says so).
    CommandLine given;
    ASSERT_TRUE(Parse({"--headless", "--screen", "3840x2160", "--scale", "2", "--input", script.c_str()},
                      &given, &error))
        << error;
    EXPECT_TRUE(given.warnings.empty());
    CommandLine small;
    ASSERT_TRUE(Parse({"--headless", "--screen", "1920x1080", "--scale", "2", "--input", script.c_str()},
                      &small, &error))
        << error;
    ASSERT_EQ(small.warnings.size(), 1u);
    EXPECT_NE(small.warnings[0].find("1920x1080 screen and this run's is 1122x631"), std::string::npos)
        << small.warnings[0];
    std::remove(script.c_str());
}
