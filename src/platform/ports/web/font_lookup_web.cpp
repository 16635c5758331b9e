// The Japanese user-interface font in the browser build: the IPA P gothic the game ships in "fonts"
// (in the web page's data package, or beside the node script).
#include "platform/desktop/font_lookup.h"

#include <SDL.h>

namespace platform::desktop {

const char* const kFontAdvice = "the page's data package has no fonts/ipagp.ttf";

std::string FindJapaneseFontFile() {
    char* base = SDL_GetBasePath();
    if (!base) return {};
    const std::string folder = base;
    SDL_free(base);
    return FindShippedFont(folder);
}

}  // namespace platform::desktop
