// The font the game ships with, beside the program: the Windows and browser builds' own.
#include "platform/desktop/font_lookup.h"
#include "platform/files/file_handle.h"

#include <system_error>

namespace platform::desktop {

std::string FindShippedFont(const std::string& programFolder) {
    if (programFolder.empty()) return {};
    const std::filesystem::path folder = platform::files::PathOfUtf8(programFolder);
    std::error_code error;
    for (const std::filesystem::path& fonts : {folder / "fonts", folder / ".." / "fonts"}) {
        for (const char* name : {"ipagp.ttf", "ipag.ttf"})
            if (std::filesystem::is_regular_file(fonts / name, error))
                return platform::files::Utf8OfPath(fonts / name);
    }
    return {};
}

}  // namespace platform::desktop
