// An owning handle of a C stream: the file is closed when the handle goes. Where the close's
// result matters (a file being written), release() it and close it by hand.
#pragma once

#include <cstdio>
#include <memory>

namespace platform {

struct FileClose {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileClose>;

}  // namespace platform
