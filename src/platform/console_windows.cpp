// The windowed rushmora.exe has no console of its own, so a player starting it from Explorer sees no
// black box. Started from a command prompt, it writes its messages, help and state dumps there: it
// joins the prompt's console for whichever of its outputs were not redirected.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

namespace {

bool Redirected(DWORD which) {
    HANDLE h = GetStdHandle(which);
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

struct ParentConsole {
    ParentConsole() {
        const bool out = Redirected(STD_OUTPUT_HANDLE), err = Redirected(STD_ERROR_HANDLE);
        if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
        if (!out) (void)std::freopen("CONOUT$", "w", stdout);
        if (!err) (void)std::freopen("CONOUT$", "w", stderr);
    }
} g_parentConsole;

}  // namespace
