// What the browser build changes in SDL, through the linker (--wrap, see cmake/platforms/emscripten.cmake).
//
// The program's folder: SDL says "/" there, which is right for the web page, whose data package is
// laid out from the root of its file system. The node build reads the real file system (NODERAWFS),
// where the data, instruments and font lie beside the script: its folder is the one to look in.
//
// Sleeping: the game gives the browser its thread back only while it sleeps (ASYNCIFY turns a sleep
// into a return to the browser's event loop). SDL would also hand it back after every picture it
// puts on the page, which costs a timer of its own each frame (browsers make nested timers wait at
// least 4 ms); SDL_EMSCRIPTEN_ASYNCIFY=0 leaves that to the game's one sleep a frame (and the
// platform's yield in a frame that did not sleep, runtime.cpp). The browser wakes a sleeper late:
// the time one sleep overran is taken off the next, so that frames keep 16 ms on average.
#include <SDL.h>
#include "platform/common/owner.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Set before SDL reads its hints, when the program's statics are made.
[[maybe_unused]] const bool g_sdlLeavesYieldsToUs = setenv("SDL_EMSCRIPTEN_ASYNCIFY", "0", 1) == 0;

struct Sleeps {
    double overran = 0;  // ms the last sleep took beyond what it asked for
};

double& Overran() {
    return platform::owner::Part<Sleeps>(platform::owner::Life::Program).overran;
}

}  // namespace

// A copy made with malloc, as SDL_GetBasePath's callers free it with SDL_free (SDL's free here).
EM_JS(char*, RushmoraScriptFolder, (), {
    var folder = (typeof ENVIRONMENT_IS_NODE != "undefined" && ENVIRONMENT_IS_NODE) ? scriptDirectory : "/";
    if (!folder.endsWith("/")) folder += "/";
    var bytes = lengthBytesUTF8(folder) + 1;
    var copy = _malloc(bytes);
    stringToUTF8(folder, copy, bytes);
    return copy;
});

extern "C" char* __wrap_SDL_GetBasePath(void) {
    return RushmoraScriptFolder();
}

extern "C" void __wrap_SDL_Delay(Uint32 ms) {
    if (!emscripten_has_asyncify()) {  // the node build: a wait without giving anything back, as SDL's
        const double until = emscripten_get_now() + ms;
        while (emscripten_get_now() < until) {
        }
        return;
    }
    const double asked = std::max(0.0, double(ms) - Overran());
    const double start = emscripten_get_now();
    emscripten_sleep(unsigned(asked + 0.5));
    Overran() = std::clamp(emscripten_get_now() - start - asked, 0.0, 16.0);
}
