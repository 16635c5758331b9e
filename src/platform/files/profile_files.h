// The file work under the profile functions that each system does its own way: a port brings
// ports/shared/profile_files_posix.cpp or ports/windows/profile_files_windows.cpp.
#pragma once

#include <string>

namespace platform::files {

// What there is to replace: whether the file exists, whether this process may change it, and the
// mode and owner to give its replacement.
struct Existing {
    bool exists = false;
    bool writable = true;
    unsigned mode = 0;
    unsigned owner = 0, group = 0;
};

long long ProcessId();
// Whether a process of that id runs (where that cannot be asked: true).
bool ProcessRuns(long long pid);
// Follows symbolic links to the file they name (a link may name a file not made yet).
std::string LinkTarget(const std::string& file);
// False when the file is there but is no regular file, or cannot be looked at.
bool Inspect(const std::string& file, Existing* e);
// Writes text to a temporary file beside the file and renames it over the file.
bool ReplaceFile(const std::string& file, const std::string& text, const Existing& existing);

// Removes the temporary files that interrupted writers left beside the file (those of processes
// that no longer run, or older than any write could take).
void RemoveStaleTemporaries(const std::string& file);

// An exclusive lock on "<file>.lock" beside the file, held while this lives: another writer of the
// same file (a thread, or another program) waits for it, up to kLockWaitMs. Writers that read the
// file, change it and write it back hold it, so that none loses another's change.
constexpr int kLockWaitMs = 20000;
class FileLock {
  public:
    explicit FileLock(const std::string& file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return held_; }

  private:
    long long handle_ = -1;
    bool held_ = false;
};

// The temporary file a writer puts beside the profile: "<name>.tmp<process id>".
inline std::string TemporaryOf(const std::string& file) {
    return file + ".tmp" + std::to_string(ProcessId());
}

}  // namespace platform::files
