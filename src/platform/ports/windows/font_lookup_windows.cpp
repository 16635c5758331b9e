// The Japanese user-interface font on Windows: the system's own gothic faces from its fonts folder,
// else the IPA gothic the game ships in "fonts" beside the program.
#include "platform/desktop/font_lookup.h"

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace desktop {

std::string FindJapaneseFontFile() {
    std::error_code error;
    auto there = [&error](const std::filesystem::path& p) {
        return std::filesystem::is_regular_file(p, error);
    };
    const char* windows = std::getenv("WINDIR");
    if (!windows) windows = std::getenv("SystemRoot");
    const std::filesystem::path fonts = std::filesystem::path(windows ? windows : "C:\\Windows") / "Fonts";
    for (const char* name : {"msgothic.ttc", "YuGothM.ttc", "meiryo.ttc"})
        if (there(fonts / name)) return (fonts / name).string();
    if (char* base = SDL_GetBasePath()) {
        const std::filesystem::path shipped = std::filesystem::path(base) / "fonts";
        SDL_free(base);
        for (const char* name : {"ipagp.ttf", "ipag.ttf"})
            if (there(shipped / name)) return (shipped / name).string();
    }
    return {};
}

}  // namespace desktop
