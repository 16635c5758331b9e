// The program's folder in the browser build. SDL says "/" there, which is right for the web page:
// its data package is laid out from the root of its file system. The node build reads the real file
// system (NODERAWFS), where the data, instruments and font lie beside the script: its folder is
// the one to look in. SDL_mixer and the rest get this through the linker (--wrap=SDL_GetBasePath).
#include <SDL.h>

#include <emscripten.h>

#include <cstdlib>

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
