// The Japanese user-interface font in the browser build: the IPA P gothic the game ships in "fonts"
// (in the web page's data package, or beside the node script).
#include "platform/desktop/font_lookup.h"

#include <SDL.h>

#include <filesystem>
#include <system_error>

namespace desktop {

std::string FindJapaneseFontFile() {
    char* base = SDL_GetBasePath();
    if (!base) return {};
    const std::filesystem::path shipped = std::filesystem::path(base) / "fonts";
    SDL_free(base);
    std::error_code error;
    for (const char* name : {"ipagp.ttf", "ipag.ttf"})
        if (std::filesystem::is_regular_file(shipped / name, error)) return (shipped / name).string();
    return {};
}

}  // namespace desktop
