// Temporary files of a profile's writers: one left by a writer that was interrupted is removed.
#include "platform/files/profile_files.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

namespace platform::files {
namespace {

// A temporary file left by a writer that was interrupted: one of ours for the same profile, whose
// process no longer runs or that is older than any write could take. Others are left alone.
constexpr auto kStaleAfter = std::chrono::minutes(10);

}  // namespace

void RemoveStaleTemporaries(const std::string& file) {
    namespace fs = std::filesystem;
    const fs::path path(file);
    const std::string prefix = path.filename().string() + ".tmp";
    const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.size() > prefix.size() + 10 ||
            name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string digits = name.substr(prefix.size());
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
        std::error_code e;
        if (!it->is_regular_file(e) || e) continue;
        const long long pid = std::stoll(digits);
        const auto written = fs::last_write_time(it->path(), e);
        const bool old = !e && fs::file_time_type::clock::now() - written > kStaleAfter;
        if (pid == ProcessId() || old || !ProcessRuns(pid)) fs::remove(it->path(), e);
    }
}

}  // namespace platform::files
