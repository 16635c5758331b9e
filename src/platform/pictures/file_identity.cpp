#include "platform/pictures/file_identity.h"
#include "platform/files/file_handle.h"

#include <filesystem>
#include <system_error>

namespace platform::pictures {

std::string FileVersion(const char* file) {
    if (!file) return {};
    std::error_code error;
    const std::filesystem::path path = files::PathOfUtf8(files::Overlaid(file));
    const auto size = std::filesystem::file_size(path, error);
    if (error) return {};
    const auto written = std::filesystem::last_write_time(path, error);
    if (error) return {};
    return std::to_string(size) + '\n' +
           std::to_string(static_cast<long long>(written.time_since_epoch().count()));
}

}  // namespace platform::pictures
