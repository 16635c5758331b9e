// The command line and the input script: what they accept, and how they say what is wrong.
#include "harness/cli.h"
#include "platform/win32.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
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
    EXPECT_NE(std::string(UsageText()).find("--stats"), std::string::npos);
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

TEST(CommandLine, RefusesScenesThisBuildDoesNotHave) {
    for (const char* scene : {"Title", "Option", "Help", "CharaSelect", "Game", "GameClear"}) {
        CommandLine cl;
        std::string error;
        bool ok = Parse({"--headless", "--scene", scene}, &cl, &error);
        if (!ok) {
            EXPECT_NE(error.find("not in this build"), std::string::npos) << scene << ": " << error;
        }
    }
}

TEST(InputScript, HoldsTokensOverInclusiveRanges) {
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("# a comment\n\n3-5 RETURN A 7   # Enter with A and 7\n5 ESCAPE\n9 F5 F2 BACK\n",
                        "s.txt", &error))
        << error;
    std::uint8_t keys[256];
    auto at = [&](long f) {
        std::fill(keys, keys + 256, 0);
        s.KeysAt(f, keys);
        return keys;
    };
    EXPECT_EQ(at(2)[VK_RETURN], 0);
    EXPECT_EQ(at(3)[VK_RETURN], 0x80);
    EXPECT_EQ(at(3)['A'], 0x80);
    EXPECT_EQ(at(3)['7'], 0x80);
    EXPECT_EQ(at(5)[VK_RETURN], 0x80);
    EXPECT_EQ(at(5)[VK_ESCAPE], 0x80);
    EXPECT_EQ(at(6)[VK_RETURN], 0);
    EXPECT_EQ(at(9)[VK_F5], 0x80);
    EXPECT_EQ(at(9)[VK_F2], 0x80);
    EXPECT_EQ(at(9)[VK_BACK], 0x80);
    EXPECT_FALSE(s.UsesJoystick());
}

TEST(InputScript, JoystickIsCentredUnlessTold) {
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("10-20 JX=0\n15 JB=4 JY=65535\n16 JB=0x3F0\n", "j.txt", &error)) << error;
    EXPECT_TRUE(s.UsesJoystick());
    unsigned x, y, b;
    s.JoystickAt(1, &x, &y, &b);
    EXPECT_EQ(x, 32767u);
    EXPECT_EQ(y, 32767u);
    EXPECT_EQ(b, 0u);
    s.JoystickAt(15, &x, &y, &b);
    EXPECT_EQ(x, 0u);
    EXPECT_EQ(y, 65535u);
    EXPECT_EQ(b, 4u);
    s.JoystickAt(16, &x, &y, &b);
    EXPECT_EQ(b, 0x3F0u);
    EXPECT_EQ(y, 32767u);
}

TEST(InputScript, CloseAndAnswersBelongToTheirFrames) {
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("4 CLOSE YES\n8-9 NO\n12 OK\n", "c.txt", &error)) << error;
    EXPECT_FALSE(s.CloseAt(3));
    EXPECT_TRUE(s.CloseAt(4));
    EXPECT_EQ(s.AnswerAt(4), IDYES);
    EXPECT_EQ(s.AnswerAt(9), IDNO);
    EXPECT_EQ(s.AnswerAt(10), 0);
    EXPECT_EQ(s.AnswerAt(12), IDOK);
}

TEST(InputScript, OverlappingLinesCombineAndLaterLinesWin) {
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(
        s.Parse("10-30 RIGHT JX=100 JB=1 YES\n"
                "20-25 SPACE RIGHT JX=200 JB=2 NO\n"
                "22 JY=7 CLOSE\n"
                "25-40 A JB=8\n",
                "o.txt", &error))
        << error;
    std::uint8_t keys[256];
    auto held = [&](long f) {
        std::fill(keys, keys + 256, 0);
        s.KeysAt(f, keys);
        std::string names;
        for (int k : {VK_RIGHT, VK_SPACE, int('A')})
            if (keys[k]) names += k == VK_RIGHT ? "R" : k == VK_SPACE ? "S" : "A";
        return names;
    };
    // Asked out of order, and past the last line, as a rewound or stepped run would.
    EXPECT_EQ(held(41), "");
    EXPECT_EQ(held(22), "RS");
    EXPECT_EQ(held(9), "");
    EXPECT_EQ(held(10), "R");
    EXPECT_EQ(held(25), "RSA");
    EXPECT_EQ(held(26), "RA");
    EXPECT_EQ(held(31), "A");
    EXPECT_EQ(held(40), "A");
    EXPECT_EQ(held(1000000000), "");
    unsigned x, y, b;
    s.JoystickAt(22, &x, &y, &b);
    EXPECT_EQ(x, 200u);
    EXPECT_EQ(y, 7u);
    EXPECT_EQ(b, 3u);
    s.JoystickAt(23, &x, &y, &b);
    EXPECT_EQ(y, 32767u);
    s.JoystickAt(25, &x, &y, &b);
    EXPECT_EQ(b, 11u);
    s.JoystickAt(26, &x, &y, &b);
    EXPECT_EQ(x, 100u);
    EXPECT_EQ(b, 9u);
    s.JoystickAt(35, &x, &y, &b);
    EXPECT_EQ(x, 32767u);
    EXPECT_EQ(b, 8u);
    EXPECT_EQ(s.AnswerAt(19), IDYES);
    EXPECT_EQ(s.AnswerAt(20), IDNO);
    EXPECT_EQ(s.AnswerAt(26), IDYES);
    EXPECT_EQ(s.AnswerAt(31), 0);
    EXPECT_FALSE(s.CloseAt(21));
    EXPECT_TRUE(s.CloseAt(22));
    EXPECT_FALSE(s.CloseAt(23));
}

TEST(InputScript, ParsingAgainForgetsTheLastScript) {
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("1-100 RETURN CLOSE\n", "a.txt", &error)) << error;
    ASSERT_TRUE(s.Parse("50 ESCAPE\n", "b.txt", &error)) << error;
    std::uint8_t keys[256] = {};
    s.KeysAt(50, keys);
    EXPECT_EQ(keys[VK_RETURN], 0);
    EXPECT_EQ(keys[VK_ESCAPE], 0x80);
    EXPECT_FALSE(s.CloseAt(10));
    // A script that fails half way keeps none of the first one either.
    EXPECT_FALSE(s.Parse("1-100 RETURN\n2 WHAT\n", "c.txt", &error));
    std::fill(keys, keys + 256, 0);
    s.KeysAt(50, keys);
    EXPECT_EQ(keys[VK_ESCAPE], 0);
}

TEST(InputScript, BadLinesNameTheFileAndLine) {
    struct Case {
        const char* text;
        const char* says;
    } cases[] = {
        {"1 RETURN\nx RETURN\n", "bad.txt:2:"},
        {"0 RETURN\n", "numbered from 1"},
        {"5-3 RETURN\n", "ends before it starts"},
        {"1 JUMP\n", "unknown token \"JUMP\""},
        {"1 JX=70000\n", "0..65535"},
        {"1 JX=abc\n", "bad value"},
        {"1\n", "no token"},
        {"1 a\n", "capitals"},
        {"1-\n", "expected frames"},
        {"\n\n 7-8 QQ\n", "bad.txt:3:"},
    };
    for (const Case& c : cases) {
        platform::InputScript s;
        std::string error;
        EXPECT_FALSE(s.Parse(c.text, "bad.txt", &error)) << c.text;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.text << " -> " << error;
    }
}

TEST(InputScript, NumbersAreStrict) {
    struct Case {
        const char* text;
        const char* says;
    } cases[] = {
        {"1 JX=0x-1\n", "bad value"},
        {"1 JY=0x+1\n", "bad value"},
        {"1 JX=0x 1\n", "bad value"},
        {"1 JX=-1\n", "bad value"},
        {"1 JX=0x10000\n", "0..65535"},
        {"1 JB=0x1FFFFFFFF\n", "bad value"},
        {"1 JB=4294967296\n", "bad value"},
        {"+1 RETURN\n", "expected frames"},
        {"1-+5 RETURN\n", "expected frames"},
        {"99999999999 RETURN\n", "expected frames"},
        {"1-1073741825 RETURN\n", "1073741824"},
    };
    for (const Case& c : cases) {
        platform::InputScript s;
        std::string error;
        EXPECT_FALSE(s.Parse(c.text, "n.txt", &error)) << c.text;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.text << " -> " << error;
    }
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("1-1073741824 JX=0xFFFF JY=0 JB=0xFFFFFFFF\n", "n.txt", &error)) << error;
    unsigned x, y, b;
    s.JoystickAt(1073741824, &x, &y, &b);
    EXPECT_EQ(x, 65535u);
    EXPECT_EQ(b, 0xFFFFFFFFu);
}

TEST(InputScript, NamesTheScreenItWasMadeFor) {
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("1 RETURN\n", "s.txt", &error)) << error;
    EXPECT_EQ(s.ScreenWidth(), 0);
    ASSERT_TRUE(s.Parse("# made on a big screen\nSCREEN 1920x1080  # full HD\n1 RETURN\n", "s.txt", &error))
        << error;
    EXPECT_EQ(s.ScreenWidth(), 1920);
    EXPECT_EQ(s.ScreenHeight(), 1080);
    for (const char* bad : {"SCREEN\n", "SCREEN 320x200\n", "SCREEN 1280x720 1\n", "SCREEN 1280*720\n"}) {
        EXPECT_FALSE(s.Parse(bad, "s.txt", &error)) << bad;
        EXPECT_NE(error.find("SCREEN WxH"), std::string::npos) << error;
    }
}

// A script's state at every frame, as a plain reading of every line would give it.
struct Reference {
    std::string keys;
    unsigned x = 32767, y = 32767, buttons = 0;
    bool close = false;
    int answer = 0;
    bool operator==(const Reference&) const = default;
};

TEST(InputScript, TheIndexGivesWhatEveryLineSays) {
    // Random scripts of overlapping lines, checked frame by frame against every line read in order.
    std::srand(7);
    const char* keyNames[] = {"RETURN", "SPACE", "A", "7"};
    const int keyCodes[] = {VK_RETURN, VK_SPACE, 'A', '7'};
    for (int round = 0; round < 20; ++round) {
        struct Line {
            long first, last;
            std::vector<int> keys;
            int x = -1, y = -1;
            unsigned buttons = 0;
            bool close = false;
            int answer = 0;
        };
        std::vector<Line> lines;
        std::string text;
        for (int i = 0; i < 60; ++i) {
            Line l;
            l.first = 1 + std::rand() % 200;
            l.last = l.first + std::rand() % (i % 3 == 0 ? 150 : 6);
            text += std::to_string(l.first) + "-" + std::to_string(l.last);
            for (int k = 0; k < 4; ++k)
                if (std::rand() % 3 == 0) l.keys.push_back(k), text += std::string(" ") + keyNames[k];
            if (std::rand() % 4 == 0) l.x = std::rand() % 65536, text += " JX=" + std::to_string(l.x);
            if (std::rand() % 4 == 0) l.y = std::rand() % 65536, text += " JY=" + std::to_string(l.y);
            if (std::rand() % 4 == 0)
                l.buttons = 1u << (std::rand() % 32), text += " JB=" + std::to_string(l.buttons);
            if (std::rand() % 9 == 0) l.close = true, text += " CLOSE";
            if (std::rand() % 5 == 0)
                l.answer = IDYES + std::rand() % 2, text += l.answer == IDYES ? " YES" : " NO";
            if (text.back() >= '0' && text.back() <= '9' &&
                text.find(' ', text.rfind('\n') + 1) == std::string::npos)
                l.close = true, text += " CLOSE";
            text += "\n";
            lines.push_back(l);
        }
        platform::InputScript s;
        std::string error;
        ASSERT_TRUE(s.Parse(text, "r.txt", &error)) << error;
        for (long f = 1; f <= 360; ++f) {
            Reference want;
            bool held[4] = {};
            for (const Line& l : lines) {
                if (f < l.first || f > l.last) continue;
                for (int k : l.keys) held[k] = true;
                if (l.x >= 0) want.x = unsigned(l.x);
                if (l.y >= 0) want.y = unsigned(l.y);
                want.buttons |= l.buttons;
                want.close = want.close || l.close;
                if (l.answer) want.answer = l.answer;
            }
            for (int k = 0; k < 4; ++k) want.keys += held[k] ? keyNames[k] : "-";
            Reference got;
            std::uint8_t keys[256] = {};
            s.KeysAt(f, keys);
            for (int k = 0; k < 4; ++k) got.keys += keys[keyCodes[k]] ? keyNames[k] : "-";
            s.JoystickAt(f, &got.x, &got.y, &got.buttons);
            got.close = s.CloseAt(f);
            got.answer = s.AnswerAt(f);
            ASSERT_TRUE(got == want) << "round " << round << ", frame " << f << ": " << got.keys << " vs "
                                     << want.keys << "\n"
                                     << text;
        }
    }
}

TEST(InputScript, LoadsOnlyARegularFileOfAtMostSixteenMegabytes) {
    platform::InputScript s;
    std::string error;
#ifndef _WIN32
    EXPECT_FALSE(s.Load("/dev/zero", &error));
    EXPECT_NE(error.find("/dev/zero: the input script is not a regular file"), std::string::npos) << error;
#endif
    const std::string dir = testing_support::TempPath("script-folder");
    testing_support::MakeDir(dir);
    EXPECT_FALSE(s.Load(dir, &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_FALSE(s.Load(dir + "/missing.txt", &error));
    EXPECT_NE(error.find("missing.txt: cannot read"), std::string::npos) << error;
    // Exactly the bound is read (one long comment); a byte more is refused.
    const std::string big = testing_support::TempPath("big-script.txt");
    std::string text(platform::InputScript::kMaxBytes - 10, '#');
    text += "\n1 RETURN\n";
    ASSERT_EQ(text.size(), platform::InputScript::kMaxBytes);
    FILE* f = std::fopen(big.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    ASSERT_TRUE(s.Load(big, &error)) << error;
    std::uint8_t keys[256] = {};
    s.KeysAt(1, keys);
    EXPECT_EQ(keys[VK_RETURN], 0x80);
    f = std::fopen(big.c_str(), "ab");
    ASSERT_NE(f, nullptr);
    std::fputc('\n', f);
    std::fclose(f);
    EXPECT_FALSE(s.Load(big, &error));
    EXPECT_NE(error.find("larger than 16 MB"), std::string::npos) << error;
    std::remove(big.c_str());
}

// The program itself: exit codes and messages of the command line.
namespace {
// Runs a shell command and returns its exit status, with its output (stdout and stderr) in out.
int Shell(const std::string& cmd, std::string* out) {
    return testing_support::RunCommand(cmd, out);
}

// The tests of the real window need an X server's tools.
#ifdef _WIN32
#define SKIP_WITHOUT_X11() GTEST_SKIP() << "a test of the X11 window"
#else
#define SKIP_WITHOUT_X11() (void)0
#endif

// Runs the game with the arguments, as Shell does.
int RunExe(const std::string& args, std::string* output) {
    return Shell(testing_support::GameProgram() + " " + args, output);
}
}  // namespace

TEST(Program, MistakesExitWithTwo) {
    std::string out;
    EXPECT_EQ(RunExe("--bogus", &out), 2);
    EXPECT_NE(out.find("--bogus"), std::string::npos);
    const std::string script = testing_support::TempPath("bad-script.txt");
    FILE* f = fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("1 RETURN\n2 WHAT\n", f);
    fclose(f);
    EXPECT_EQ(RunExe("--headless --input " + script, &out), 2);
    EXPECT_NE(out.find("bad-script.txt:2:"), std::string::npos) << out;
    std::remove(script.c_str());
}

TEST(Program, BadScriptsAndValuesExitWithTwoAtOnce) {
    std::string out;
    // /dev/zero would be read for ever, and a folder taken for an empty script.
#ifndef _WIN32
    EXPECT_EQ(Shell("timeout 20 " + testing_support::GameProgram() + " --headless --input /dev/zero", &out),
              2)
        << out;
    EXPECT_NE(out.find("/dev/zero"), std::string::npos) << out;
#endif
    const std::string folder = testing_support::TempPath("a-folder");
    testing_support::MakeDir(folder);
    EXPECT_EQ(RunExe("--headless --input " + folder, &out), 2) << out;
    EXPECT_NE(out.find("not a regular file"), std::string::npos) << out;
    for (const char* args :
         {"--seed +7", "--seed ' 7'", "--set gameMode=-+5", "--set gameMode=70000", "--frames 0",
          "--set resultCount=123456789", "--set elapsedClock=-2147483647", "--set totalScore=2147483647"}) {
        EXPECT_EQ(RunExe("--headless " + std::string(args), &out), 2) << args << ": " << out;
        EXPECT_NE(out.find("rushmora: --"), std::string::npos) << args << ": " << out;
    }
}

TEST(Program, OutputsThatCannotBeWrittenEndTheRunWithOne) {
#ifdef _WIN32
    GTEST_SKIP() << "needs /dev/full";
#endif
    std::string out;
    // The run goes on to its end (the state is dumped), then says what it could not write.
    EXPECT_EQ(
        RunExe("--headless --frames 8 --dump-state --screenshot 5:/dev/full --audio-out /dev/full", &out), 1)
        << out;
    EXPECT_NE(out.find("cannot write the screenshot /dev/full: No space left on device"), std::string::npos)
        << out;
    EXPECT_NE(out.find("cannot write the audio output /dev/full: No space left on device"), std::string::npos)
        << out;
    EXPECT_NE(out.find("{\"frame\": 8"), std::string::npos) << out;
    const std::string dir = testing_support::TempPath("no-such-folder");
    EXPECT_EQ(
        RunExe("--headless --frames 3 --screenshot 2:" + dir + "/a.png --audio-out " + dir + "/a.wav", &out),
        1)
        << out;
    EXPECT_NE(out.find("cannot write the screenshot " + dir + "/a.png"), std::string::npos) << out;
    EXPECT_NE(out.find("cannot write the audio output " + dir + "/a.wav"), std::string::npos) << out;
    // Written in full, they end it with 0 as before.
    const std::string shot = testing_support::TempPath("written.png"),
                      wav = testing_support::TempPath("written.wav");
    EXPECT_EQ(RunExe("--headless --frames 3 --screenshot 2:" + shot + " --audio-out " + wav, &out), 0) << out;
    EXPECT_EQ(testing_support::PixelAt(shot, 0, 0) >> 24, 0xFFu);
}

TEST(Program, AScriptMadeForAnotherScreenIsToldOf) {
    const std::string script = testing_support::TempPath("screen-replay.txt");
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("SCREEN 1920x1080\n1 RETURN\n", f);
    std::fclose(f);
    const std::string shot = testing_support::TempPath("screen-replay.png");
    std::string out;
    ASSERT_EQ(RunExe("--headless --frames 2 --input " + script + " --screenshot 2:" + shot, &out), 0) << out;
    EXPECT_EQ(out.find("made for"), std::string::npos) << out;
    // The picture is of the script's screen (a PNG's header holds its width and height).
    std::string png(24, '\0');
    FILE* in = std::fopen(shot.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    ASSERT_EQ(std::fread(png.data(), 1, png.size(), in), png.size());
    std::fclose(in);
    auto at = [&](int i) { return (unsigned(std::uint8_t(png[i])) << 8) | std::uint8_t(png[i + 1]); };
    EXPECT_EQ(at(18), 1920u);
    EXPECT_EQ(at(22), 1080u);
    ASSERT_EQ(RunExe("--headless --frames 2 --screen 1280x720 --input " + script, &out), 0) << out;
    EXPECT_NE(
        out.find("rushmora: the input script was made for a 1920x1080 screen and this run's is 1280x720"),
        std::string::npos)
        << out;
    std::remove(script.c_str());
}

TEST(Program, AWindowOnAnotherScreenThanTheScriptsIsToldOf) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    const std::string script = testing_support::TempPath("window-screen-replay.txt");
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("SCREEN 1920x1080\n", f);
    std::fclose(f);
    std::string out;
    ASSERT_EQ(Shell("SDL_AUDIODRIVER=dummy timeout 60 xvfb-run -a -n 350 -s '-screen 0 1280x720x24' " +
                        std::string(RUSHMORA_GAME_EXE) + " --frames 3 --input " + script,
                    &out),
              0)
        << out;
    EXPECT_NE(out.find("made for a 1920x1080 screen and this run's is 1280x720"), std::string::npos) << out;
    std::remove(script.c_str());
}

TEST(Program, WithoutADisplayItSaysHowToRunHeadless) {
    SKIP_WITHOUT_X11();
    const std::string exe = testing_support::GameProgram();
    // Asked for X11 with no X server; and left to SDL, which falls back to drawing offscreen where
    // nobody would see the game: either way a message and exit status 1 at once.
    for (const char* env : {"SDL_VIDEODRIVER=x11", "-u SDL_VIDEODRIVER", "SDL_VIDEODRIVER=offscreen"}) {
        std::string out;
        EXPECT_EQ(Shell("env -u DISPLAY -u WAYLAND_DISPLAY " + std::string(env) + " timeout 30 " + exe +
                            " --frames 5",
                        &out),
                  1)
            << env << ": " << out;
        EXPECT_NE(out.find("--headless"), std::string::npos) << env << ": " << out;
    }
}

TEST(Program, WithoutASoundDeviceTheBoxShowsInTheMappedWindow) {
    SKIP_WITHOUT_X11();
    if (std::system("command -v xvfb-run >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 && "
                    "command -v xwininfo >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xvfb-run, xdotool or xwininfo is not installed";
    // No sound driver: the box about it comes before the game's windows. The real window is mapped
    // while it waits, Enter answers it, and the game then runs silent to its end.
    const std::string script = testing_support::TempPath("no-sound-device.sh");
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f,
                 "\"%s\" --frames 30 & pid=$!\n"
                 "for i in $(seq 120); do\n"
                 "  xwininfo -name 'Rushmora ～走れ若者～' 2>/dev/null | grep -q IsViewable && break\n"
                 "  sleep 0.25\n"
                 "done\n"
                 "xwininfo -name 'Rushmora ～走れ若者～' | grep 'Map State'\n"
                 "sleep 1\n"
                 "xdotool key Return\n"
                 "wait $pid\n"
                 "echo exit=$?\n",
                 testing_support::GameProgram().c_str());
    std::fclose(f);
    std::string out;
    // Each windowed test looks for a free X display from a number of its own, so that two of them
    // starting at once do not pick the same one.
    ASSERT_EQ(Shell("SDL_AUDIODRIVER=none-here timeout 90 xvfb-run -a -n 150 -s '-screen 0 1280x720x24' sh " +
                        script,
                    &out),
              0)
        << out;
    EXPECT_NE(out.find("IsViewable"), std::string::npos) << out;
    EXPECT_NE(out.find("no sound device"), std::string::npos) << out;
    EXPECT_NE(out.find("answered OK"), std::string::npos) << out;
    EXPECT_NE(out.find("exit=0"), std::string::npos) << out;
}

TEST(Program, HelpAndVersion) {
    std::string out;
    EXPECT_EQ(RunExe("--help", &out), 0);
    EXPECT_NE(out.find("--dump-state"), std::string::npos);
    EXPECT_EQ(RunExe("--version", &out), 0);
    EXPECT_EQ(out.rfind("rushmora ", 0), 0u);
}

TEST(Program, HeadlessRunDumpsItsState) {
    std::string out;
    ASSERT_EQ(RunExe("--headless --frames 200 --dump-state", &out), 0) << out;
    EXPECT_NE(out.find("{\"frame\": 200, \"app\": {"), std::string::npos) << out.substr(0, 300);
    EXPECT_NE(out.find("\"scene\": {\"name\": \"LogoScene\", \"nextScene\": -1, \"frame\": 201"),
              std::string::npos);
}

TEST(Program, StatsReportFramesAndCpuTimeAtTheEnd) {
    std::string out;
    ASSERT_EQ(RunExe("--headless --frames 40 --stats", &out), 0) << out;
    EXPECT_NE(out.find("stats: frames shown   40\n"), std::string::npos) << out;
    std::smatch late;
    EXPECT_TRUE(std::regex_search(
        out, late, std::regex("stats: frames late    ([0-9]+) \\(CPU time over 16 ms[^\n]*\n")))
        << out;
    if (!late.empty()) {
        EXPECT_LE(std::stol(late[1]), 40);
    }
    std::smatch cpu;
    ASSERT_TRUE(
        std::regex_search(out, cpu,
                          std::regex("stats: CPU per frame  median ([0-9]+\\.[0-9]{3}) ms, 99th percentile "
                                     "([0-9]+\\.[0-9]{3}) ms, worst ([0-9]+\\.[0-9]{3}) ms\n")))
        << out;
    EXPECT_LE(std::stod(cpu[1]), std::stod(cpu[2]));
    EXPECT_LE(std::stod(cpu[2]), std::stod(cpu[3]));
    // One block, and none without the option.
    EXPECT_EQ(out.find("stats: frames shown"), out.rfind("stats: frames shown"));
    ASSERT_EQ(RunExe("--headless --frames 5", &out), 0) << out;
    EXPECT_EQ(out.find("stats:"), std::string::npos) << out;
}

TEST(Program, RunsInARealWindowOnAVirtualDisplay) {
    SKIP_WITHOUT_X11();
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    const std::string shot = testing_support::TempPath("real-window.png");
    std::string out;
    // A real window on a virtual X display: the same picture as a headless run, and a normal end.
    // SDL's dummy sound driver stands in for a sound card (without one the game would ask about it).
    ASSERT_EQ(Shell("SDL_AUDIODRIVER=dummy timeout 60 xvfb-run -a -n 250 -s '-screen 0 1280x720x24' " +
                        testing_support::GameProgram() + " --frames 30 --screenshot 30:" + shot,
                    &out),
              0)
        << out;
    // The frame window's caption bar sits above the game window, dark blue at its left end.
    const Uint32 caption = testing_support::PixelAt(shot, 302, 131);
    EXPECT_LT((caption >> 16) & 0xFF, 0x40u) << std::hex << caption;
    EXPECT_GT(caption & 0xFF, 0x50u) << std::hex << caption;
}
