#include "platform/win32/process.h"
#include "platform/common/owner.h"

#include <algorithm>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

// The programs we started, until they are collected.
struct Children {
    std::vector<pid_t> pids;
};

std::vector<pid_t>& TheChildren() {
    return owner::Part<Children>(owner::Life::Program).pids;
}

// Programs we started and that have ended are collected, so that none lingers as a zombie.
void ReapChildren() {
    std::vector<pid_t>& children = TheChildren();
    children.erase(std::remove_if(children.begin(), children.end(),
                                  [](pid_t p) { return waitpid(p, nullptr, WNOHANG) != 0; }),
                   children.end());
}

}  // namespace

bool IsProgram(const std::string& path) {
    return access(path.c_str(), X_OK) == 0;
}

bool StartProgram(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
                  bool quiet) {
    if (args.empty()) return false;
    std::vector<std::string> argStore = args;
    std::vector<char*> argv;
    for (std::string& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.push_back(*e);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ReapChildren();
    pid_t pid;
    const int r = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (r != 0) return false;
    TheChildren().push_back(pid);
    return true;
}

}  // namespace platform
