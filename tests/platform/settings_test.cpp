// The player's settings: a file is read line by line, each line it cannot take named with its
// place and left at its default, the rest taken; what it writes it reads back the same; moved keys
// play the game's keys; and a headless run reads no player's file.
#include "platform/desktop/desktop.h"
#include "platform/run/settings.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

using platform::ReadSettings;
using platform::Settings;

int IndexOf(const char* name) {
    for (int i = 0; i < platform::kGameKeyCount; ++i)
        if (std::string(platform::GameKeys()[std::size_t(i)].name) == name) return i;
    return -1;
}

}  // namespace

TEST(SettingsFile, EveryBadLineIsNamedOnceAndTheRestIsTaken) {
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
    const Settings s = ReadSettings(text, "settings.ini", &warnings);
    std::string all;
    for (const std::string& w : warnings) all += w + "\n";
    for (const char* where :
         {"settings.ini:2:", "settings.ini:6:", "settings.ini:7:", "settings.ini:10:", "settings.ini:13:",
          "settings.ini:14:", "settings.ini:17:", "settings.ini:18:", "settings.ini:19:", "settings.ini:21:"})
        EXPECT_NE(all.find(where), std::string::npos) << where << " not named in:\n" << all;
    EXPECT_EQ(warnings.size(), 10u) << all;
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
    platform::ConfirmWithA(&s);
    s.musicVolume = 0;
    s.effectsVolume = 75;
    s.scale = 2;
    s.language = "en";
    s.windowWidth = 1600;
    s.windowHeight = 900;
    const std::string file = testing_support::TempPath("settings-written/settings.ini");
    ASSERT_TRUE(platform::WriteSettings(file, s));
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> warnings;
    EXPECT_TRUE(ReadSettings(text, file, &warnings) == s) << text;
    EXPECT_TRUE(warnings.empty());
    // The defaults' own file reads back as the defaults.
    EXPECT_TRUE(ReadSettings(platform::SettingsText(Settings()), "x", &warnings) == Settings());
    EXPECT_TRUE(warnings.empty());
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
    platform::LoadSettings("", true);
    EXPECT_TRUE(platform::CurrentSettings() == Settings());
    platform::LoadSettings("", false);
    EXPECT_EQ(platform::CurrentSettings().musicVolume, 10);
    const std::string named = testing_support::TempPath("named-settings.ini");
    std::ofstream(named) << "[sound]\neffects=20\n";
    platform::LoadSettings(named, true);
    EXPECT_EQ(platform::CurrentSettings().effectsVolume, 20);
    platform::LoadSettings("", true);
    EXPECT_TRUE(platform::CurrentSettings() == Settings());
}

TEST(SettingsProgram, AKeyOrButtonAlreadyInUseIsRefusedWithWhoHasIt) {
    Settings s;
    int taken = -1;
    EXPECT_FALSE(platform::AssignKey(&s, IndexOf("jump"), SDL_SCANCODE_S, &taken));
    EXPECT_EQ(taken, IndexOf("dash"));
    EXPECT_EQ(s.keys[std::size_t(IndexOf("jump"))], SDL_SCANCODE_A);
    EXPECT_TRUE(platform::AssignKey(&s, IndexOf("jump"), SDL_SCANCODE_J, &taken));
    // Its own key again is no conflict; the freed A can go elsewhere.
    EXPECT_TRUE(platform::AssignKey(&s, IndexOf("jump"), SDL_SCANCODE_J, &taken));
    EXPECT_TRUE(platform::AssignKey(&s, IndexOf("dash"), SDL_SCANCODE_A, &taken));
    EXPECT_FALSE(platform::AssignPadButton(&s, 2, SDL_CONTROLLER_BUTTON_A, &taken));
    EXPECT_EQ(taken, 0);
    EXPECT_TRUE(platform::AssignPadButton(&s, 2, SDL_CONTROLLER_BUTTON_DPAD_UP, &taken));
    EXPECT_FALSE(platform::AssignPadButton(&s, 10, SDL_CONTROLLER_BUTTON_X, &taken));  // no button 11
}
