// The game's standard output on Windows.
//
// The windowed rushmora.exe has no console of its own, so a player starting it from Explorer sees no
// black box. Started from a command prompt, it writes its messages, help and state dumps there: it
// joins the prompt's console for whichever of its outputs were not redirected.
//
// Both programs write their output byte for byte, as on every other system: a state dump or a help
// text is the same file everywhere, without carriage returns added.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace {

bool Connected(DWORD which) {
    HANDLE h = GetStdHandle(which);
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

struct ParentConsole {
    ParentConsole() {
        const bool out = Connected(STD_OUTPUT_HANDLE), err = Connected(STD_ERROR_HANDLE);
        if ((!out || !err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
            if (!out) (void)std::freopen("CONOUT$", "w", stdout);
            if (!err) (void)std::freopen("CONOUT$", "w", stderr);
        }
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
    }
} g_parentConsole;

}  // namespace
