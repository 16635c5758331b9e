#include "platform/file_identity.h"

#include <sys/stat.h>

namespace platform {

std::string FileVersion(const char* file) {
    struct stat st;
    if (!file || stat(file, &st) != 0) return {};
    return std::to_string(st.st_size) + '\n' + std::to_string(st.st_mtim.tv_sec) + '.' +
           std::to_string(st.st_mtim.tv_nsec);
}

}  // namespace platform
