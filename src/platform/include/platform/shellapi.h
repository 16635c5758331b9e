// The shell function the game calls: starting a program.
#pragma once

#include "platform/win32.h"

#include <string>
#include <vector>

// Starts a program without waiting for it. Returns a value above 32 on success, or a Windows error
// code (2: file not found, 31: no association for the verb).
HINSTANCE ShellExecuteA(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT showCmd);
#define SE_ERR_FNF 2
#define SE_ERR_NOASSOC 31

namespace platform {
// The programs started in this run, as "file parameters" (for tests and replays).
const std::vector<std::string>& StartedPrograms();
}  // namespace platform
