// An owning handle of a C stream: the file is closed when the handle goes. Where the close's
// result matters (a file being written), release() it and close it by hand.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace platform::files {

struct FileClose {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileClose>;

// The language folder over the game's data: with a language other than Japanese ("ja"), a data file
// named relative to the data folder ("Texture/x.png") is opened from "lang/<language>/" when it is
// there, the way a system's language pack is laid over it. Every function here takes names through
// it; the game's own names do not change.
void SetDataLanguage(const std::string& language);
// Whether a regular file of that name is there (no language folder is laid over it).
bool IsRegularFile(const std::string& name);
const std::string& DataLanguage();
std::string Overlaid(const char* name);

// The data folder the run found and plays in ("" when it found none and plays where it was started).
const std::string& DataFolder();
void SetDataFolder(const std::string& folder);

// Waits while a data file is still on its way to the game (the web page fetches most of them after
// the game has started); returns at once everywhere else. Overlaid calls it, so every way to a
// data file (opening it, its identity) finds it whole.
void WaitWhileComing(const std::string& name);

// Opens a file of the game's data to read, only if it is a regular file: a named pipe, a device or
// a folder in its place would block the open or the reads, or read for ever. Null otherwise, with
// errno set (ENOENT, EACCES, ... or EINVAL for what is not a regular file).
FilePtr OpenRegularFile(const char* name);
// The same for a file named as it is, with no language folder laid over it (a file the player
// names on the command line, a settings file).
FilePtr OpenRegularFileAsNamed(const std::string& name);
// Reads all of such a file (false, with nothing read, when it cannot, or when it is over max bytes;
// errno is EFBIG then).
bool ReadRegularFile(const char* name, std::vector<unsigned char>* out,
                     std::size_t max = std::size_t(1) << 30);
bool ReadRegularFileAsNamed(const std::string& name, std::vector<unsigned char>* out,
                            std::size_t max = std::size_t(1) << 30);

// Opens a file the run writes (a recording, a screenshot, a sound recording) without waiting: a
// named pipe nobody reads would block its open, and one somebody reads would block the game each
// time they stop. Only a regular file (made or emptied) or a device such as /dev/null is taken;
// null otherwise, with why saying so.
FilePtr OpenOutputFile(const std::string& name, std::string* why);

// Why a file could not be read, for a message: "it is not there", "it is over 1 MB", ...
std::string ReadFailure(int error, std::size_t max);

// File names are UTF-8 everywhere in the game and the platform (SDL's, the game's data). A
// std::filesystem::path made from a narrow string would read it in the C library's locale on
// Windows, which turns "C:\\ゲーム フォルダ" into another name: these two convert as UTF-8 instead.
std::filesystem::path PathOfUtf8(const std::string& name);
std::string Utf8OfPath(const std::filesystem::path& path);

}  // namespace platform::files
