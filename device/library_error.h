// Failures of the device library binding. Each names what failed and why.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace dalvenix::device {

class LibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One place the library file was looked for, and what was found there.
struct LoadAttempt {
  std::string place;    // the full path of the file, or what else was searched
  std::string outcome;  // the rest of a sentence that starts with the place
};

// The library file could not be loaded.
class LibraryLoadError : public LibraryError {
 public:
  // A single reason, for a file that was not searched for.
  LibraryLoadError(std::string file, std::string reason);

  // Every place tried, in the order tried; the last is where the search ended.
  LibraryLoadError(std::string file, std::vector<LoadAttempt> attempts);

  [[nodiscard]] const std::string& file() const noexcept { return file_; }
  [[nodiscard]] const std::string& reason() const noexcept { return reason_; }
  [[nodiscard]] const std::vector<LoadAttempt>& attempts() const noexcept { return attempts_; }

 private:
  // Declared in this order so that attempts_ is moved into last.
  std::string file_;
  std::string reason_;
  std::vector<LoadAttempt> attempts_;
};

// The library was loaded but does not export an entry.
class EntryMissingError : public LibraryError {
 public:
  EntryMissingError(std::string file, std::string entry, std::string reason);
  [[nodiscard]] const std::string& file() const noexcept { return file_; }
  [[nodiscard]] const std::string& entry() const noexcept { return entry_; }
  [[nodiscard]] const std::string& reason() const noexcept { return reason_; }

 private:
  std::string file_;
  std::string entry_;
  std::string reason_;
};

}  // namespace dalvenix::device
