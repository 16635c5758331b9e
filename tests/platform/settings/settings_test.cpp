// The player's settings: a file is read line by line, each line it cannot take named with its
// place and left at its default, the rest taken; what it writes it reads back the same; moved keys
// play the game's keys; the pause when the player is away is a yes or a no; and a headless run
// reads no player's file.
#include "platform/desktop/desktop.h"
#include "platform/files/file_handle.h"
#include "platform/files/file_warnings.h"
#include "platform/settings/settings.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <cstdlib>
#include <fstream>
#include <thread>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace desktop = platform::desktop;

namespace {

using platform::settings::ReadSettings;
using platform::settings::Settings;

int IndexOf(const char* name) {
    const auto& keys = platform::GameKeys();
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (std::string(keys[i].name) == name) return int(i);
    return -1;
}

}  // namespace

// The first few bad lines are named with their places, the rest counted; the good ones are taken.
TEST(SettingsFile, BadLinesAreNamedAFewAtATimeAndTheRestIsTaken) {
    const std::string text =
        "; a comment\n"
        "stray=1\n"  // 2: before any section
        "[keys]\n"
        "jump=S\n"
        "dash=A\n"
        "attack=NoSuchKey\n"  // 6
        "kick=K\n"            // 7
        "[sound]\n"
        "music=40\n"
        "effects=101\n"  // 10
        "[pad]\n"
        "preset=confirm-with-a\n"
        "button3=triangle\n"  // 13
        "button11=a\n"        // 14
        "[screen]\n"
        "scale=1.5\n"
        "window=1024x\n"  // 17
        "language=fr\n"   // 18
        "[colours]\n"     // 19
        "sky=blue\n"
        "this line has no equals sign\n";  // 21
    std::vector<std::string> warnings;
    const Settings s = platform::settings::ReadSettings(text, "settings.ini", &warnings);
    std::string all;
    for (const std::string& w : warnings) all += w + "\n";
    for (const char* where :
         {"settings.ini:2:", "settings.ini:6:", "settings.ini:7:", "settings.ini:10:", "settings.ini:13:"})
        EXPECT_NE(all.find(where), std::string::npos) << where << " not named in:\n" << all;
    EXPECT_EQ(all.find("settings.ini:14:"), std::string::npos) << all;
    ASSERT_EQ(warnings.size(), platform::files::kWarningsShown + 1) << all;
    EXPECT_EQ(warnings.back(), "settings.ini: and 5 more lines that could not be taken");
    const Settings defaults;
    EXPECT_EQ(s.keys[std::size_t(IndexOf("jump"))], SDL_SCANCODE_S);
    EXPECT_EQ(s.keys[std::size_t(IndexOf("dash"))], SDL_SCANCODE_A);
    EXPECT_EQ(s.keys[std::size_t(IndexOf("attack"))], defaults.keys[std::size_t(IndexOf("attack"))]);
    EXPECT_EQ(s.musicVolume, 40);
    EXPECT_EQ(s.effectsVolume, 100);
    EXPECT_EQ(s.padButtons[0], SDL_CONTROLLER_BUTTON_B);  // confirm with A: 1 and 2 swapped
    EXPECT_EQ(s.padButtons[1], SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(s.padButtons[2], defaults.padButtons[2]);
    EXPECT_EQ(s.scale, 1.5);
    EXPECT_EQ(s.windowWidth, 0);
    EXPECT_EQ(s.language, "ja");
}

TEST(SettingsFile, WhatIsWrittenIsReadBackTheSame) {
    Settings s;
    s.keys[std::size_t(IndexOf("special"))] = SDL_SCANCODE_LSHIFT;
    s.keys[std::size_t(IndexOf("enter"))] = SDL_SCANCODE_KP_ENTER;
    platform::settings::ConfirmWithA(&s);
    s.musicVolume = 0;
    s.effectsVolume = 75;
    s.scale = 2;
    s.language = "en";
    s.windowWidth = 1600;
    s.windowHeight = 900;
    s.pauseWhenAway = false;
    const std::string file = testing_support::TempPath("settings-written/settings.ini");
    ASSERT_TRUE(platform::settings::WriteSettings(file, s));
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> warnings;
    EXPECT_TRUE(platform::settings::ReadSettings(text, file, &warnings) == s) << text;
    EXPECT_TRUE(warnings.empty());
    // Written as a player would write it by hand, its default noted.
    EXPECT_NE(text.find("\n[game]\npause-when-away=no ; yes\n"), std::string::npos) << text;
    // A scale of any number of digits is written whole.
    s.scale = 4.0 / 3.0;
    EXPECT_TRUE(platform::settings::ReadSettings(platform::settings::SettingsText(s), file, &warnings) == s)
        << platform::settings::SettingsText(s);
    s.scale = 1.5;  // and a short one as short as it is
    EXPECT_NE(platform::settings::SettingsText(s).find("\nscale=1.5 ;"), std::string::npos)
        << platform::settings::SettingsText(s);
    // The defaults' own file reads back as the defaults.
    EXPECT_TRUE(platform::settings::ReadSettings(platform::settings::SettingsText(Settings()), "x",
                                                 &warnings) == Settings());
    EXPECT_TRUE(warnings.empty());
}

// The pad's dead zone and rumble and the access settings: read and written back, their bounds held.
TEST(SettingsFile, ThePadsAndTheAccessSettingsAreReadWrittenAndBounded) {
    Settings s;
    s.deadZone = 40;
    s.rumble = false;
    s.reduceMotion = s.reduceFlashing = s.toggleDash = s.togglePower = true;
    s.gameSpeed = 70;
    std::vector<std::string> warnings;
    const std::string text = platform::settings::SettingsText(s);
    EXPECT_TRUE(ReadSettings(text, "s.ini", &warnings) == s) << text;
    EXPECT_TRUE(warnings.empty());
    EXPECT_NE(text.find("\n[access]\nreduce-motion=yes ; no\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\ndash=toggle ; hold\n"), std::string::npos) << text;

    // Out of bounds or no such value: named with its line, the default kept.
    const Settings bad =
        ReadSettings("[pad]\ndead-zone=95\nrumble=loud\n[access]\ngame-speed=30\ndash=tap\nzoom=yes\n",
                     "s.ini", &warnings);
    EXPECT_EQ(bad.deadZone, 25);
    EXPECT_TRUE(bad.rumble);
    EXPECT_EQ(bad.gameSpeed, 100);
    EXPECT_FALSE(bad.toggleDash);
    ASSERT_EQ(warnings.size(), 5u);
    EXPECT_EQ(warnings[0].rfind("s.ini:2: the dead zone \"95\" is not 5 to 90", 0), 0u) << warnings[0];
    EXPECT_EQ(warnings[2].rfind("s.ini:5: the game speed \"30\" is not 50 to 100", 0), 0u) << warnings[2];
    EXPECT_EQ(warnings[4].rfind("s.ini:7: unknown access entry \"zoom\"", 0), 0u) << warnings[4];

    // What one program changed goes over what another saved meanwhile, entry by entry.
    const std::string file = testing_support::TempPath("settings-access/settings.ini");
    Settings other;
    other.gameSpeed = 60;
    ASSERT_TRUE(platform::settings::WriteSettings(file, other));
    Settings mine;
    mine.reduceMotion = true;
    Settings saved;
    std::string why;
    ASSERT_TRUE(platform::settings::SaveSettingsChanges(file, Settings(), mine, &saved, &why)) << why;
    EXPECT_TRUE(saved.reduceMotion);
    EXPECT_EQ(saved.gameSpeed, 60);
}

// [game] pause-when-away: a yes or a no in any of the usual words and cases; anything else is named
// with its place and the game pauses as it does by default.
TEST(SettingsFile, PauseWhenAwayTakesAYesOrANoAndABadOneKeepsTheDefault) {
    std::vector<std::string> warnings;
    auto pause = [&](const std::string& value) {
        warnings.clear();
        return platform::settings::ReadSettings("[game]\npause-when-away=" + value + "\n", "s.ini", &warnings)
            .pauseWhenAway;
    };
    EXPECT_TRUE(Settings().pauseWhenAway);
    for (const char* no : {"no", "No", "OFF", "false", "0", "no ; yes"}) {
        EXPECT_FALSE(pause(no)) << no;
        EXPECT_TRUE(warnings.empty()) << no << ": " << warnings.front();
    }
    for (const char* yes : {"yes", "On", "TRUE", "1"}) {
        EXPECT_TRUE(pause(yes)) << yes;
        EXPECT_TRUE(warnings.empty()) << yes << ": " << warnings.front();
    }
    for (const char* bad : {"maybe", "", "2", "nope", "yes please"}) {
        EXPECT_TRUE(pause(bad)) << bad;
        ASSERT_EQ(warnings.size(), 1u) << bad;
        EXPECT_EQ(warnings[0].rfind("s.ini:2: ", 0), 0u) << warnings[0];
        EXPECT_NE(warnings[0].find("is not yes or no"), std::string::npos) << warnings[0];
    }
    // The section and the entry are any case, spaced as a hand likes; an unknown entry of the
    // section is named and changes nothing; the entry is no other section's.
    warnings.clear();
    const Settings s = ReadSettings(
        "[sound]\npause-when-away=no\n[ Game ]\npause=no\n Pause-When-Away = off\n", "s.ini", &warnings);
    EXPECT_FALSE(s.pauseWhenAway);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0].rfind("s.ini:2: unknown sound entry", 0), 0u) << warnings[0];
    EXPECT_EQ(warnings[1].rfind("s.ini:4: unknown game entry \"pause\"", 0), 0u) << warnings[1];
    EXPECT_TRUE(ReadSettings("[sound]\npause-when-away=no\n", "s.ini", &warnings).pauseWhenAway);
}

TEST(SettingsKeys, MovedKeysPlayTheGamesKeysAndNoOthers) {
    Settings s;
    s.keys[std::size_t(IndexOf("jump"))] = SDL_SCANCODE_S;  // S and A swapped
    s.keys[std::size_t(IndexOf("dash"))] = SDL_SCANCODE_A;
    s.keys[std::size_t(IndexOf("special"))] = SDL_SCANCODE_J;
    auto keysFor = [&](std::initializer_list<SDL_Scancode> down) {
        Uint8 pressed[SDL_NUM_SCANCODES] = {};
        for (SDL_Scancode sc : down) pressed[sc] = 1;
        std::array<BYTE, 256> keys{};
        desktop::AddPressedKeysMoved(pressed, SDL_NUM_SCANCODES, s, keys.data());
        return keys;
    };
    auto k = keysFor({SDL_SCANCODE_S});
    EXPECT_EQ(k['A'], 0x80);  // S jumps
    EXPECT_EQ(k['S'], 0);
    k = keysFor({SDL_SCANCODE_A});
    EXPECT_EQ(k['S'], 0x80);
    EXPECT_EQ(k['A'], 0);
    k = keysFor({SDL_SCANCODE_SPACE});  // Space plays nothing of the game's any more
    EXPECT_EQ(k[VK_SPACE], 0);
    k = keysFor({SDL_SCANCODE_J, SDL_SCANCODE_Z, SDL_SCANCODE_LEFT});
    EXPECT_EQ(k[VK_SPACE], 0x80);
    EXPECT_EQ(k['J'], 0);
    EXPECT_EQ(k['Z'], 0x80);  // other keys are themselves
    EXPECT_EQ(k[VK_LEFT], 0x80);
}

TEST(SettingsFile, AHeadlessRunReadsNoPlayersFileButOneItIsGiven) {
    const std::string folder = testing_support::TempPath("config-home");
    testing_support::MakeDir(folder);
    testing_support::MakeDir(folder + "/rushmora");
    std::ofstream(folder + "/rushmora/settings.ini") << "[sound]\nmusic=10\n";
#ifdef _WIN32
    _putenv_s("APPDATA", folder.c_str());
    std::ofstream(folder + "/Rushmora/settings.ini") << "[sound]\nmusic=10\n";
#else
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
#endif
    platform::settings::LoadSettings("", true);
    EXPECT_TRUE(platform::settings::CurrentSettings() == Settings());
    platform::settings::LoadSettings("", false);
    EXPECT_EQ(platform::settings::CurrentSettings().musicVolume, 10);
    const std::string named = testing_support::TempPath("named-settings.ini");
    std::ofstream(named) << "[sound]\neffects=20\n";
    platform::settings::LoadSettings(named, true);
    EXPECT_EQ(platform::settings::CurrentSettings().effectsVolume, 20);
    EXPECT_TRUE(platform::settings::CurrentSettings().pauseWhenAway);
    std::ofstream(named) << "[game]\npause-when-away=no\n";
    platform::settings::LoadSettings(named, true);
    EXPECT_FALSE(platform::settings::CurrentSettings().pauseWhenAway);
    platform::settings::LoadSettings("", true);
    EXPECT_TRUE(platform::settings::CurrentSettings() == Settings());
}

TEST(SettingsProgram, AKeyOrButtonAlreadyInUseIsRefusedWithWhoHasIt) {
    Settings s;
    int taken = -1;
    EXPECT_FALSE(platform::settings::AssignKey(&s, IndexOf("jump"), SDL_SCANCODE_S, &taken));
    EXPECT_EQ(taken, IndexOf("dash"));
    EXPECT_EQ(s.keys[std::size_t(IndexOf("jump"))], SDL_SCANCODE_A);
    EXPECT_TRUE(platform::settings::AssignKey(&s, IndexOf("jump"), SDL_SCANCODE_J, &taken));
    // Its own key again is no conflict; the freed A can go elsewhere.
    EXPECT_TRUE(platform::settings::AssignKey(&s, IndexOf("jump"), SDL_SCANCODE_J, &taken));
    EXPECT_TRUE(platform::settings::AssignKey(&s, IndexOf("dash"), SDL_SCANCODE_A, &taken));
    EXPECT_FALSE(platform::settings::AssignPadButton(&s, 2, SDL_CONTROLLER_BUTTON_A, &taken));
    EXPECT_EQ(taken, 0);
    EXPECT_TRUE(platform::settings::AssignPadButton(&s, 2, SDL_CONTROLLER_BUTTON_DPAD_UP, &taken));
    EXPECT_FALSE(
        platform::settings::AssignPadButton(&s, 10, SDL_CONTROLLER_BUTTON_X, &taken));  // no button 11
}

namespace {

std::string Contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

// Three writers save at once, each its own entry, while a reader reads: no read finds the file empty
// or cut, and no writer's last change is lost to another's save. The writers are programs of their
// own where the system can fork (as two windows of the settings program are), threads elsewhere.
TEST(SettingsFile, WritersAtOnceNeitherTearTheFileNorLoseEachOthersChanges) {
    const std::string file = testing_support::TempPath("settings-concurrent/settings.ini");
    ASSERT_TRUE(platform::settings::WriteSettings(file, Settings()));
    constexpr int kSaves = 60;
    std::atomic<bool> writing{true};
    std::atomic<int> torn{0}, reads{0}, failedSaves{0};
    std::mutex whyLock;
    std::string firstWhy;
    auto writer = [&](int which) {
        Settings base = Settings(), mine = base, saved;
        for (int i = 1; i <= kSaves; ++i) {
            if (which == 0) mine.musicVolume = i;
            if (which == 1) mine.effectsVolume = i;
            if (which == 2) mine.windowWidth = 640 + i, mine.windowHeight = 480;
            std::string why;
            if (!platform::settings::SaveSettingsChanges(file, base, mine, &saved, &why)) {
                ++failedSaves;
                const std::lock_guard<std::mutex> hold(whyLock);
                if (firstWhy.empty()) firstWhy = why;
            }
            base = mine = saved;
        }
    };
    std::thread reader([&] {
        while (writing) {
            // As the game reads it (on Windows, letting a writer replace the file meanwhile).
            std::vector<unsigned char> bytes;
            platform::files::ReadRegularFileAsNamed(file, &bytes, platform::settings::kMaxSettingsBytes);
            const std::string text(bytes.begin(), bytes.end());
            std::vector<std::string> warnings;
            platform::settings::ReadSettings(text, file, &warnings);
            if (text.empty() || text.back() != '\n' || !warnings.empty()) ++torn;
            ++reads;
            // Readers come often, but not in a loop that leaves a writer no moment to replace the
            // file (Wine's rename waits out an open reader).
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
#ifdef _WIN32
    std::thread a(writer, 0), b(writer, 1), c(writer, 2);
    a.join(), b.join(), c.join();
#else
    std::vector<pid_t> writers;
    for (int which = 0; which < 3; ++which) {
        const pid_t pid = fork();
        if (pid == 0) {
            writer(which);
            _exit(failedSaves == 0 ? 0 : 1);
        }
        if (pid < 0) ++failedSaves;  // (the reader thread must still be joined)
        if (pid > 0) writers.push_back(pid);
    }
    for (pid_t pid : writers) {
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failedSaves;
    }
#endif
    writing = false;
    reader.join();
    EXPECT_EQ(failedSaves, 0) << firstWhy;
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    std::vector<std::string> warnings;
    const Settings last = platform::settings::ReadSettings(Contents(file), file, &warnings);
    EXPECT_EQ(last.musicVolume, kSaves);
    EXPECT_EQ(last.effectsVolume, kSaves);
    EXPECT_EQ(last.windowWidth, 640 + kSaves);
}

// A program that read the settings, while another replaced the file, saves only what it changed.
TEST(SettingsFile, ASaveKeepsWhatAnotherProgramSavedMeanwhile) {
    const std::string file = testing_support::TempPath("settings-merge/settings.ini");
    ASSERT_TRUE(platform::settings::WriteSettings(file, Settings()));
    Settings base;
    Settings other;
    other.language = "en";
    other.keys[std::size_t(IndexOf("jump"))] = SDL_SCANCODE_J;
    other.pauseWhenAway = false;
    ASSERT_TRUE(platform::settings::WriteSettings(file, other));
    Settings mine = base, saved;
    mine.musicVolume = 30;
    std::string why;
    ASSERT_TRUE(platform::settings::SaveSettingsChanges(file, base, mine, &saved, &why)) << why;
    EXPECT_EQ(saved.language, "en");
    EXPECT_EQ(saved.keys[std::size_t(IndexOf("jump"))], SDL_SCANCODE_J);
    EXPECT_EQ(saved.musicVolume, 30);
    EXPECT_FALSE(saved.pauseWhenAway);  // not changed here: the other's no stays
    std::vector<std::string> warnings;
    EXPECT_TRUE(platform::settings::ReadSettings(Contents(file), file, &warnings) == saved);
    // This writer turns the pause back on while the other changes the scale: both stay.
    base = saved;
    mine = saved;
    mine.pauseWhenAway = true;
    other = saved;
    other.scale = 2;
    ASSERT_TRUE(platform::settings::WriteSettings(file, other));
    ASSERT_TRUE(platform::settings::SaveSettingsChanges(file, base, mine, &saved, &why)) << why;
    EXPECT_TRUE(saved.pauseWhenAway);
    EXPECT_EQ(saved.scale, 2);
    EXPECT_EQ(saved.musicVolume, 30);
    EXPECT_TRUE(platform::settings::ReadSettings(Contents(file), file, &warnings) == saved);
    // Two keys changed apart that would meet on one physical key: this writer's table goes whole.
    mine = base = saved;
    mine.keys[std::size_t(IndexOf("dash"))] = SDL_SCANCODE_K;
    other = saved;
    other.keys[std::size_t(IndexOf("attack"))] = SDL_SCANCODE_K;
    ASSERT_TRUE(platform::settings::WriteSettings(file, other));
    ASSERT_TRUE(platform::settings::SaveSettingsChanges(file, base, mine, &saved, &why)) << why;
    EXPECT_TRUE(saved.keys == mine.keys);
}

// A save that cannot be made says so and why, and leaves what is there as it is.
TEST(SettingsFile, ASaveThatCannotBeMadeSaysWhyAndChangesNothing) {
    const std::string folder = testing_support::TempPath("settings-folder.ini");
    testing_support::MakeDir(folder);
    std::string why;
    EXPECT_FALSE(platform::settings::WriteSettings(folder, Settings(), &why));
    EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
    // A file too large to be settings is not written over with the defaults.
    const std::string big = testing_support::TempPath("settings-big.ini");
    std::ofstream(big, std::ios::binary) << std::string(platform::settings::kMaxSettingsBytes + 1, ';');
    Settings mine, saved;
    mine.musicVolume = 5;
    EXPECT_FALSE(platform::settings::SaveSettingsChanges(big, Settings(), mine, &saved, &why));
    EXPECT_NE(why.find("over 64 KB"), std::string::npos) << why;
    EXPECT_EQ(Contents(big).size(), platform::settings::kMaxSettingsBytes + 1);
}

#ifndef _WIN32
// A link planted where a save makes its new file is never written through, nor is the old fixed
// name's.
TEST(SettingsFile, ASaveNeverWritesThroughALinkPlantedBesideIt) {
    const std::string folder = testing_support::TempPath("settings-planted");
    testing_support::MakeDir(folder);
    const std::string file = folder + "/settings.ini", victim = folder + "/victim";
    std::ofstream(victim) << "precious\n";
    for (const std::string& planted : {file + ".new", file + ".tmp" + std::to_string(getpid())})
        ASSERT_EQ(symlink(victim.c_str(), planted.c_str()), 0);
    ASSERT_TRUE(platform::settings::WriteSettings(file, Settings()));
    EXPECT_EQ(Contents(victim), "precious\n");
    EXPECT_EQ(Contents(file), platform::settings::SettingsText(Settings()));
}
#endif

// What an editor or a stranger may put in the file: a byte order mark is no part of the first line,
// and a bad line is quoted short with what cannot be shown escaped.
TEST(SettingsFile, AByteOrderMarkIsSkippedAndBadLinesAreQuotedShortAndEscaped) {
    std::vector<std::string> warnings;
    Settings s = platform::settings::ReadSettings("\xEF\xBB\xBF[keys]\njump=J\n", "s.ini", &warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    EXPECT_EQ(s.keys[std::size_t(IndexOf("jump"))], SDL_SCANCODE_J);
    std::string junk = "\x1b[31mred\x01\xff\"";
    junk += std::string(900 * 1024, 'x');
    s = platform::settings::ReadSettings("[sound]\nmusic=" + junk + "\n", "s.ini", &warnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_LT(warnings[0].size(), 200u);
    EXPECT_NE(warnings[0].find("\"\\x1B[31mred\\x01\\xFF\\\"xx"), std::string::npos) << warnings[0];
    EXPECT_EQ(warnings[0].find('\x1b'), std::string::npos);
    // Words of other languages are shown as they are.
    EXPECT_EQ(platform::files::Quoted("ジャンプ"), "\"ジャンプ\"");
    EXPECT_EQ(platform::files::Quoted("abcdef", 3), "\"abc...\"");
}

// The window's place as the game leaves it: "X,Y" (left of or above the first display too) or
// centred; a bad one is told and left centred; the game's own save of it keeps the rest as it is.
TEST(SettingsFile, TheWindowsPlaceIsReadWrittenAndSavedWithoutTouchingTheRest) {
    std::vector<std::string> warnings;
    Settings s =
        platform::settings::ReadSettings("[screen]\nwindow=1600x1000\nplace=-200,40\n", "s.ini", &warnings);
    EXPECT_TRUE(warnings.empty());
    EXPECT_TRUE(s.windowPlaced);
    EXPECT_EQ(s.windowX, -200);
    EXPECT_EQ(s.windowY, 40);
    EXPECT_TRUE(platform::settings::ReadSettings(platform::settings::SettingsText(s), "s.ini", &warnings) ==
                s);
    for (const char* bad : {"here", "10;20", "1,", "--5,3", "99999,1"}) {
        warnings.clear();
        s = platform::settings::ReadSettings(std::string("[screen]\nplace=") + bad + "\n", "s.ini",
                                             &warnings);
        EXPECT_FALSE(s.windowPlaced) << bad;
        ASSERT_EQ(warnings.size(), 1u) << bad;
        EXPECT_NE(warnings[0].find("s.ini:2"), std::string::npos) << warnings[0];
    }
    EXPECT_FALSE(
        platform::settings::ReadSettings("[screen]\nplace=centred\n", "s.ini", &warnings).windowPlaced);

    // The game keeps its window while the settings program changed the music meanwhile.
    const std::string file = testing_support::TempPath("settings-place/settings.ini");
    ASSERT_TRUE(platform::settings::WriteSettings(file, Settings()));
    Settings other;
    other.musicVolume = 40;
    ASSERT_TRUE(platform::settings::WriteSettings(file, other));
    Settings base, mine, saved;
    mine.windowWidth = 1600, mine.windowHeight = 1000, mine.windowPlaced = true, mine.windowX = 12,
    mine.windowY = 34;
    std::string why;
    ASSERT_TRUE(platform::settings::SaveSettingsChanges(file, base, mine, &saved, &why)) << why;
    EXPECT_EQ(saved.musicVolume, 40);
    EXPECT_EQ(saved.windowWidth, 1600);
    EXPECT_TRUE(saved.windowPlaced);
    EXPECT_EQ(saved.windowX, 12);
    EXPECT_EQ(saved.windowY, 34);
}
