// The Japanese user-interface font on Windows: the system's own gothic faces from its fonts folder,
// else the IPA gothic the game ships in "fonts" beside the program, wherever the player unpacked it.
#include "platform/desktop/font_lookup.h"
#include "platform/files/file_handle.h"

#include <SDL.h>

#include <cstdlib>
#include <system_error>

namespace platform::desktop {

const char* const kFontAdvice =
    "the fonts folder beside rushmora.exe is missing: unpack the whole zip, with its folders";

std::string FindJapaneseFontFile() {
    std::error_code error;
    const char* windows = std::getenv("WINDIR");
    if (!windows) windows = std::getenv("SystemRoot");
    const std::filesystem::path fonts = std::filesystem::path(windows ? windows : "C:\\Windows") / "Fonts";
    for (const char* name : {"msgothic.ttc", "YuGothM.ttc", "meiryo.ttc"})
        if (std::filesystem::is_regular_file(fonts / name, error))
            return platform::files::Utf8OfPath(fonts / name);
    char* base = SDL_GetBasePath();  // UTF-8
    if (!base) return {};
    const std::string folder = base;
    SDL_free(base);
    return FindShippedFont(folder);
}

}  // namespace platform::desktop
