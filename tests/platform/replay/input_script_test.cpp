// The input script of scripted runs: what it holds in each frame, and how it says what is wrong.
#include "platform/input_script.h"
#include "platform/win32.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

namespace {

// A script's state at every frame, as a plain reading of every line would give it.
struct Reference {
    std::string keys;
    unsigned x = 32767, y = 32767, buttons = 0;
    bool close = false;
    int answer = 0;
    bool operator==(const Reference&) const = default;
};

}  // namespace

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

TEST(InputScript, TimeLinesSayHowLongEachFrameLasts) {
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("1 RETURN\n", "t.txt", &error)) << error;
    EXPECT_FALSE(s.HasTimes());
    EXPECT_EQ(s.TimerStart(), platform::kTimerStart);
    EXPECT_EQ(s.FrameMs(1), 16u);
    // Lines in any order; frames no line names last 16 ms.
    ASSERT_TRUE(
        s.Parse("TIME 40-42 33  # a slow stretch\nTIME 7 17\nTIME START 4294967295\nTIME 43 0\n"
                "TIME 1073741824 4294967295\n",
                "t.txt", &error))
        << error;
    EXPECT_TRUE(s.HasTimes());
    EXPECT_EQ(s.TimerStart(), 4294967295u);
    const std::pair<long, std::uint32_t> frames[] = {
        {1, 16},  {6, 16},  {7, 17}, {8, 16},  {39, 16},
        {40, 33}, {42, 33}, {43, 0}, {44, 16}, {1073741824, 4294967295u}};
    for (const auto& [frame, ms] : frames) EXPECT_EQ(s.FrameMs(frame), ms) << "frame " << frame;
    // TIME START alone is a timer of its own too.
    ASSERT_TRUE(s.Parse("TIME START 0\n", "t.txt", &error)) << error;
    EXPECT_TRUE(s.HasTimes());
    EXPECT_EQ(s.TimerStart(), 0u);
    EXPECT_EQ(s.FrameMs(5), 16u);
    // Parsing again forgets them.
    ASSERT_TRUE(s.Parse("SEED 3\n", "t.txt", &error)) << error;
    EXPECT_FALSE(s.HasTimes());
    EXPECT_EQ(s.TimerStart(), platform::kTimerStart);
}

TEST(InputScript, SeedsComeInTheOrderOfTheirLines) {
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("SEED 1733390412\n100 RETURN\nSEED 0\nSEED 4294967295 # the last\n", "s.txt", &error))
        << error;
    EXPECT_EQ(s.Seeds(), (std::vector<std::uint32_t>{1733390412u, 0u, 4294967295u}));
    ASSERT_TRUE(s.Parse("1 RETURN\n", "s.txt", &error)) << error;
    EXPECT_TRUE(s.Seeds().empty());
}

// A recording made without a sound device names the openings of the device that failed.
TEST(InputScript, NoSoundLinesSayWhichOpeningsOfTheSoundDeviceFail) {
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("NOSOUND 1\n5 RETURN\nNOSOUND 3-4\n", "s.txt", &error)) << error;
    for (long opening : {1L, 3L, 4L}) EXPECT_TRUE(s.SoundOpeningFails(opening)) << opening;
    for (long opening : {0L, 2L, 5L}) EXPECT_FALSE(s.SoundOpeningFails(opening)) << opening;
    for (const char* bad : {"NOSOUND\n", "NOSOUND 0\n", "NOSOUND 4-3\n", "NOSOUND 1 2\n", "NOSOUND x\n"}) {
        EXPECT_FALSE(s.Parse(bad, "s.txt", &error)) << bad;
        EXPECT_NE(error.find("s.txt:1: "), std::string::npos) << bad << " -> " << error;
    }
    ASSERT_TRUE(s.Parse("1 RETURN\n", "s.txt", &error)) << error;
    EXPECT_FALSE(s.SoundOpeningFails(1));
}

// A run played at a lower game speed says so; the lowest is what it was played at.
TEST(InputScript, SpeedLinesSayTheLowestSpeedTheRunWasPlayedAt) {
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("SPEED 80\n5 RETURN\nSPEED 50  # slower still\nSPEED 100\n", "s.txt", &error))
        << error;
    EXPECT_EQ(s.LowestSpeed(), 50);
    for (const char* bad : {"SPEED\n", "SPEED 49\n", "SPEED 101\n", "SPEED 60 70\n", "SPEED half\n"}) {
        EXPECT_FALSE(s.Parse(bad, "s.txt", &error)) << bad;
        EXPECT_NE(error.find("s.txt:1: expected SPEED N"), std::string::npos) << bad << " -> " << error;
    }
    ASSERT_TRUE(s.Parse("1 RETURN\n", "s.txt", &error)) << error;
    EXPECT_EQ(s.LowestSpeed(), 100);
}

TEST(InputScript, BadSeedAndTimeLinesNameTheirLine) {
    struct Case {
        const char* text;
        const char* says;
    } cases[] = {
        {"SEED\n", "s.txt:1: expected SEED N"},
        {"SEED -1\n", "expected SEED N"},
        {"SEED 0x10\n", "expected SEED N"},
        {"SEED 4294967296\n", "expected SEED N"},
        {"SEED 1 2\n", "expected SEED N"},
        {"TIME\n", "expected TIME START MS or TIME A[-B] MS"},
        {"TIME 5\n", "expected TIME START MS"},
        {"TIME 5 17 18\n", "expected TIME START MS"},
        {"TIME 5 -1\n", "expected TIME START MS"},
        {"TIME 5 4294967296\n", "expected TIME START MS"},
        {"TIME START\n", "expected TIME START MS"},
        {"TIME START 5\n\nTIME START 5\n", "s.txt:3: TIME START is given twice"},
        {"TIME 0 17\n", "numbered from 1"},
        {"TIME 9-8 17\n", "ends before it starts"},
        {"TIME later 17\n", "expected frames"},
        {"TIME 1-1073741825 17\n", "1073741824"},
        {"TIME 10-20 17\nTIME 5-10 18\n", "s.txt:2: frame 10 is given its time twice (also on line 1)"},
        {"TIME 5-10 17\n1 RETURN\nTIME 7 17\n", "s.txt:3: frame 7 is given its time twice (also on line 1)"},
        {"time 5 17\n", "expected frames"},
    };
    for (const Case& c : cases) {
        platform::InputScript s;
        std::string error;
        EXPECT_FALSE(s.Parse(c.text, "s.txt", &error)) << c.text;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.text << " -> " << error;
    }
}

TEST(InputScript, EveryKeyARecordingHoldsHasANameThatReadsBack) {
    // The keys the game's keyboard gives: letters, digits, and the named ones.
    std::vector<int> keys = {VK_BACK,   VK_TAB,    VK_RETURN,   VK_SHIFT,    VK_CONTROL, VK_MENU,
                             VK_ESCAPE, VK_SPACE,  VK_LEFT,     VK_UP,       VK_RIGHT,   VK_DOWN,
                             VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU,   VK_RMENU};
    for (int vk = VK_F1; vk <= VK_F12; ++vk) keys.push_back(vk);
    for (int vk = '0'; vk <= '9'; ++vk) keys.push_back(vk);
    for (int vk = 'A'; vk <= 'Z'; ++vk) keys.push_back(vk);
    std::string line = "1";
    for (int vk : keys) {
        const char* name = platform::VirtualKeyName(vk);
        ASSERT_NE(name, nullptr) << vk;
        EXPECT_EQ(platform::VirtualKeyFromName(name), vk) << name;
        line += std::string(" ") + name;
    }
    EXPECT_STREQ(platform::VirtualKeyName(VK_F12), "F12");
    EXPECT_STREQ(platform::VirtualKeyName('Q'), "Q");
    for (int vk : {0, 0x01, 0x2E, 0x5B, int('a'), 0xFF, 256, -1})
        EXPECT_EQ(platform::VirtualKeyName(vk), nullptr) << vk;
    platform::InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse(line + "\n", "k.txt", &error)) << error;
    std::uint8_t held[256] = {};
    s.KeysAt(1, held);
    for (int vk = 0; vk < 256; ++vk)
        EXPECT_EQ(held[vk], std::find(keys.begin(), keys.end(), vk) != keys.end() ? 0x80 : 0) << vk;
    EXPECT_FALSE(s.Parse("1 F13\n", "k.txt", &error));
    EXPECT_FALSE(s.Parse("1 lshift\n", "k.txt", &error));
}
