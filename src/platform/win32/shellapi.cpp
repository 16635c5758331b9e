#include "platform/shellapi.h"
#include "platform/common/owner.h"

#include "platform/common/text.h"
#include "platform/desktop/desktop.h"
#include "platform/files/file_handle.h"
#include "platform/locale/language.h"
#include "platform/win32/process.h"
#include "platform/runtime.h"

#include <SDL.h>

#include <cmath>
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

// The settings program: the name the game asks for, as on Windows, and the name an install on
// another system gives it in a folder of programs (rushmora-settings beside the game, in /usr/bin).
constexpr const char* kSettingsProgram = "keyconfig1.exe";
constexpr const char* kInstalledSettingsProgram = "rushmora-settings";

// The names a bare name is looked for under, in each folder in turn: the settings program by its
// installed name first (a build folder may still hold a KeyConfig1.exe of an older build).
std::vector<std::string> NamesFor(const std::string& file) {
#if !defined(_WIN32) && \
    !defined(__EMSCRIPTEN__)  // (a web page has no programs: it says so of the name asked)
    if (platform::text::Lower(file) == kSettingsProgram) return {kInstalledSettingsProgram, file};
#endif
    return {file};
}

bool IsSettingsProgram(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name =
        platform::text::Lower(slash == std::string::npos ? path : path.substr(slash + 1));
    return name == kSettingsProgram || name == kInstalledSettingsProgram;
}

// The scale as the command line takes it: digits, a point and at most two decimals ("1", "1.5").
std::string ScaleArgument(double scale) {
    const long hundredths = scale > 0 && scale < 1000 ? std::lround(scale * 100) : 100;
    std::string s = std::to_string(hundredths / 100);
    const long rest = hundredths % 100;
    if (rest != 0) {
        s += '.';
        s += char('0' + rest / 10);
        if (rest % 10 != 0) s += char('0' + rest % 10);
    }
    return s;
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
        // The settings program is looked for under its installed name too.
        const std::vector<std::string> names = NamesFor(file);
        for (const std::string& folder : folders) {
            for (const std::string& name : names) {
                const std::string there =
                    folder + (folder.back() == '/' || folder.back() == '\\' ? "" : "/") + name;
                if (platform::IsProgram(there)) {
                    path = there;
                    break;
                }
            }
            if (!path.empty()) break;
        }
    }
    if (!platform::IsProgram(path)) return reinterpret_cast<HINSTANCE>(std::uintptr_t(SE_ERR_FNF));
    std::vector<std::string> args = {path};
    if (parameters && *parameters) {
        std::istringstream words(parameters);
        std::string w;
        while (words >> w) args.push_back(w);
    }
    // The settings program opens in the run's language and at its scale.
    if (IsSettingsProgram(path)) {
        args.insert(args.end(), {"--lang", platform::locale::CurrentLanguage(), "--scale",
                                 ScaleArgument(platform::desktop::DisplayScale())});
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
