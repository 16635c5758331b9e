// libFuzzer target: any text as the player's settings.ini. Reading takes what it can and tells the
// rest in a few warnings, each short and with nothing a terminal would act on; the settings read are
// always ones the game can use, and what is written of them reads back the same, through the file
// and its lock as the settings program saves them.
#include "actions/actions.h"
#include "platform/settings/settings.h"
#include "scratch_folder.h"
#include "text_file_checks.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The game's keys, as the game hands them over.
    static const bool handed = (platform::UseGameKeys(GameActions()), true);
    (void)handed;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> warnings;
    const platform::settings::Settings s = platform::settings::ReadSettings(text, "settings.ini", &warnings);
    CheckWarnings(warnings);
    Check(s.musicVolume >= 0 && s.musicVolume <= 100 && s.effectsVolume >= 0 && s.effectsVolume <= 100);
    Check(s.scale == 0 || (s.scale >= 0.5 && s.scale <= 4));
    Check(s.language == "ja" || s.language == "en");
    Check((s.windowWidth == 0 && s.windowHeight == 0) || (s.windowWidth >= 320 && s.windowHeight >= 240));
    for (SDL_Scancode k : s.keys) Check(k != SDL_SCANCODE_UNKNOWN);
    for (SDL_GameControllerButton b : s.padButtons) Check(b != SDL_CONTROLLER_BUTTON_INVALID);

    // What is written reads back the same, with nothing to warn of.
    warnings.clear();
    Check(platform::settings::ReadSettings(platform::settings::SettingsText(s), "again.ini", &warnings) == s);
    Check(warnings.empty());

    // Saved as the settings program saves: over the file as the text left it, only what changed.
    static const std::string file = ScratchFolder() + "/settings.ini";
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    platform::settings::Settings mine = s, saved;
    mine.musicVolume = s.musicVolume == 40 ? 41 : 40;
    std::string why;
    if (text.size() <= platform::settings::kMaxSettingsBytes) {
        Check(platform::settings::SaveSettingsChanges(file, s, mine, &saved, &why));
        Check(saved == mine);
    }
    return 0;
}
