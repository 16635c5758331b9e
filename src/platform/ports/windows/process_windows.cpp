// Starting a program on Windows, through the C runtime's spawn so that no Windows header is needed.
#include "platform/win32/process.h"

#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <string>

namespace platform {
namespace {

// The C runtime joins the arguments into one command line: each needs quotes around spaces, with
// quotes and the backslashes before them escaped the way the startup code reads them back.
std::string Quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

}  // namespace

bool IsProgram(const std::string& path) {
    return _access(path.c_str(), 0) == 0;
}

bool StartProgram(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
                  bool quiet) {
    if (args.empty()) return false;
    std::vector<std::string> quoted;
    for (const std::string& a : args) quoted.push_back(Quoted(a));
    std::vector<const char*> argv;
    for (const std::string& a : quoted) argv.push_back(a.c_str());
    argv.push_back(nullptr);
    // The child inherits our environment and standard output as they are at the spawn: set them
    // for it, then put ours back.
    std::vector<std::pair<std::string, std::string>> saved;
    for (const std::string& e : extraEnv) {
        const std::size_t eq = e.find('=');
        if (eq == std::string::npos) continue;
        const std::string name = e.substr(0, eq);
        const char* old = std::getenv(name.c_str());
        saved.emplace_back(name, old ? old : "");
        _putenv_s(name.c_str(), e.c_str() + eq + 1);
    }
    int savedOut = -1;
    if (quiet) {
        const int nul = _open("NUL", _O_WRONLY);
        if (nul >= 0) {
            savedOut = _dup(1);
            _dup2(nul, 1);
            _close(nul);
        }
    }
    const intptr_t started = _spawnv(_P_NOWAIT, args[0].c_str(), argv.data());
    if (savedOut >= 0) {
        _dup2(savedOut, 1);
        _close(savedOut);
    }
    for (const auto& [name, value] : saved) _putenv_s(name.c_str(), value.c_str());
    return started != -1;
}

}  // namespace platform
