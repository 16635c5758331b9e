// Built only by the layer test, with the game's include settings: it must not compile.
#include <SDL.h>

int GameFileWithSdl() {
    return SDL_GetTicks() != 0;
}
