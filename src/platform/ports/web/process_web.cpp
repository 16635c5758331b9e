// Starting programs in the browser build: a web page cannot start a program. Every name counts as a
// program (a page cannot look for one), and starting it says so to the player in a message box
// (a headless run says nothing, as where the program is missing) and fails.
#include "platform/win32/process.h"

#include "platform/runtime.h"
#include "platform/win32.h"

namespace platform {

bool IsProgram(const std::string&) {
    return true;
}

bool StartProgram(const std::vector<std::string>& args, const std::vector<std::string>&, bool) {
    if (args.empty() || Headless()) return false;
    std::string name = args[0];
    if (const std::size_t slash = name.find_last_of("/\\"); slash != std::string::npos)
        name.erase(0, slash + 1);
    const std::string text = name + " はブラウザの中では起動できません (a web page cannot start programs).";
    MessageBoxA(nullptr, text.c_str(), "Rushmora", MB_OK | MB_ICONINFORMATION);
    return false;
}

}  // namespace platform
