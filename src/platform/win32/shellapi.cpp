#include "platform/shellapi.h"

#include "platform/win32/process.h"
#include "platform/runtime.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <sstream>

namespace {

std::vector<std::string> g_started;

}  // namespace

namespace platform {
const std::vector<std::string>& StartedPrograms() {
    return g_started;
}
}  // namespace platform

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT) {
    if (!file || !*file) return reinterpret_cast<HINSTANCE>(std::uintptr_t(SE_ERR_FNF));
    if (operation && std::strcmp(operation, "open") != 0)
        return reinterpret_cast<HINSTANCE>(std::uintptr_t(SE_ERR_NOASSOC));
    std::string path = file;
    if (path.find_first_of("/\\") == std::string::npos) {
        path = (directory && *directory ? std::string(directory) : ".") + "/" + file;
        // As Windows looks in the starting program's own folder too: a build folder holds the game
        // and the programs built with it side by side, while the game plays in the data folder.
        if (!platform::IsProgram(path)) {
            if (char* base = SDL_GetBasePath()) {
                const std::string beside = std::string(base) + file;
                SDL_free(base);
                if (platform::IsProgram(beside)) path = beside;
            }
        }
    }
    if (!platform::IsProgram(path)) return reinterpret_cast<HINSTANCE>(std::uintptr_t(SE_ERR_FNF));
    std::vector<std::string> args = {path};
    if (parameters && *parameters) {
        std::istringstream words(parameters);
        std::string w;
        while (words >> w) args.push_back(w);
    }
    // A headless run starts the program headless too.
    const bool headless = platform::Headless();
    std::vector<std::string> env;
    if (headless) env.push_back("RUSHMORA_HEADLESS=1");
    if (!platform::StartProgram(args, env, headless))
        return reinterpret_cast<HINSTANCE>(std::uintptr_t(SE_ERR_FNF));
    g_started.push_back(std::string(file) + (parameters && *parameters ? std::string(" ") + parameters : ""));
    return reinterpret_cast<HINSTANCE>(std::uintptr_t(42));
}
