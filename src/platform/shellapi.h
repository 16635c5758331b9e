// The shell and profile functions the game calls: starting a program, and the INI file entries.
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

// INI files: sections of "key=value" lines. A write keeps every other entry and line as it was and
// replaces the file in one step, so that a crash never leaves half a file.
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR out, DWORD size,
                               LPCSTR fileName);

namespace platform {
// The programs started in this run, as "file parameters" (for tests and replays).
const std::vector<std::string>& StartedPrograms();
}  // namespace platform
