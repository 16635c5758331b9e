// Telling the player what in a file could not be read, readably: a line quoted with what cannot be
// shown escaped and cut short, and a file full of bad lines told in a few warnings, not thousands.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace platform::files {

// How many of one file's warnings are said before the rest are counted.
constexpr std::size_t kWarningsShown = 5;

// The text in double quotes: control characters, quotes, backslashes and bytes that are not UTF-8
// escaped (\t, \", \\, \xNN), and anything past `keep` characters left out ("...").
std::string Quoted(const std::string& text, std::size_t keep = 60);

// Gathers one file's warnings into a list: the first kWarningsShown as they come, the rest counted,
// and told as "<file>: and N more ..." when the reading is done. A file of a million bad lines costs
// a few lines of memory and of the player's terminal.
class FileWarnings {
  public:
    FileWarnings(std::string file, std::vector<std::string>* out) : file_(std::move(file)), out_(out) {}
    void Add(std::string warning);
    // Adds the count of those left out, if any.
    void Finish();

  private:
    std::string file_;
    std::vector<std::string>* out_;
    std::size_t added_ = 0, more_ = 0;
};

// The text without a UTF-8 byte order mark at its start (editors on Windows write one).
std::string WithoutByteOrderMark(std::string text);

}  // namespace platform::files
