#include "platform/shellapi.h"
#include "platform/common/owner.h"

#include "platform/files/file_handle.h"
#include "platform/win32/process.h"
#include "platform/runtime.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <sstream>

namespace {

// The programs ShellExecute started in the program's life.
struct Started {
    std::vector<std::string> programs;
};

std::vector<std::string>& TheStarted() {
    return platform::owner::Part<Started>(platform::owner::Life::Program).programs;
}

}  // namespace

namespace platform {
const std::vector<std::string>& StartedPrograms() {
    return TheStarted();
}
}  // namespace platform

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT) {
    if (!file || !*file) return reinterpret_cast<HINSTANCE>(std::uintptr_t(SE_ERR_FNF));
    if (operation && std::strcmp(operation, "open") != 0)
        return reinterpret_cast<HINSTANCE>(std::uintptr_t(SE_ERR_NOASSOC));
    std::string path = file;
    if (path.find_first_of("/\\") == std::string::npos) {
        // A bare name is looked for beside the game and in its data folder, never in the folder the
        // player happened to start it from: a program planted in a downloads folder must not run.
        path.clear();
        std::vector<std::string> folders;
        if (directory && *directory) folders.push_back(directory);
        if (!platform::files::DataFolder().empty()) folders.push_back(platform::files::DataFolder());
        if (char* base = SDL_GetBasePath()) {
            folders.push_back(base);
            SDL_free(base);
        }
        for (const std::string& folder : folders) {
            const std::string there =
                folder + (folder.back() == '/' || folder.back() == '\\' ? "" : "/") + file;
            if (platform::IsProgram(there)) {
                path = there;
                break;
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
    TheStarted().push_back(std::string(file) +
                           (parameters && *parameters ? std::string(" ") + parameters : ""));
    return reinterpret_cast<HINSTANCE>(std::uintptr_t(42));
}
