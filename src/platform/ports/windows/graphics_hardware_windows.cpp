// Whether Direct3D here is likely to draw on graphics hardware. Under Wine (and Proton) Direct3D runs
// on the Linux machine's OpenGL, and without graphics hardware that is llvmpipe on the processor,
// which Wine still reports as some real card: the game's own software drawing is several times
// faster there. Wine shows the Linux folders on drive Z:, where graphics hardware has /dev/dri as on
// Linux itself. On Windows proper, Direct3D is taken as it comes.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <initializer_list>

namespace platform::desktop {

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool SystemGraphicsHardwareLikely() {
    if (!UnderWine()) return true;
    for (const char* dri : {"Z:\\dev\\dri", "\\\\?\\unix\\dev\\dri"}) {
        const DWORD attributes = GetFileAttributesA(dri);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
    }
    return false;
}

}  // namespace platform::desktop
