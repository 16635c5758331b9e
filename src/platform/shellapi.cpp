#include "platform/shellapi.h"

#include "platform/runtime.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<std::string> g_started;
std::vector<pid_t> g_children;

// Programs we started and that have ended are collected, so that none lingers as a zombie.
void ReapChildren() {
    g_children.erase(std::remove_if(g_children.begin(), g_children.end(),
                                    [](pid_t p) { return waitpid(p, nullptr, WNOHANG) != 0; }),
                     g_children.end());
}

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
    if (path.find('/') == std::string::npos)
        path = (directory && *directory ? std::string(directory) : ".") + "/" + path;
    if (access(path.c_str(), X_OK) != 0) return reinterpret_cast<HINSTANCE>(std::uintptr_t(SE_ERR_FNF));
    std::vector<std::string> args = {path};
    if (parameters && *parameters) {
        std::istringstream words(parameters);
        std::string w;
        while (words >> w) args.push_back(w);
    }
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    // A headless run starts the program headless too.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.push_back(*e);
    if (platform::Headless()) env.push_back("RUSHMORA_HEADLESS=1");
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (platform::Headless()) posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ReapChildren();
    pid_t pid;
    int r = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (r != 0) return reinterpret_cast<HINSTANCE>(std::uintptr_t(SE_ERR_FNF));
    g_children.push_back(pid);
    g_started.push_back(std::string(file) + (parameters && *parameters ? std::string(" ") + parameters : ""));
    return reinterpret_cast<HINSTANCE>(std::uintptr_t(42));
}
