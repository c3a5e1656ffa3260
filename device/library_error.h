// Failures of the device library binding. Each names what failed and why.
#pragma once

#include <stdexcept>
#include <string>

namespace dalvenix::device {

class LibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The library file could not be loaded.
class LibraryLoadError : public LibraryError {
 public:
  LibraryLoadError(std::string file, std::string reason)
      : LibraryError("cannot load " + file + ": " + reason),
        file_(std::move(file)),
        reason_(std::move(reason)) {}
  [[nodiscard]] const std::string& file() const noexcept { return file_; }
  [[nodiscard]] const std::string& reason() const noexcept { return reason_; }

 private:
  std::string file_;
  std::string reason_;
};

// The library was loaded but does not export an entry.
class EntryMissingError : public LibraryError {
 public:
  EntryMissingError(std::string file, std::string entry, std::string reason)
      : LibraryError(file + " has no entry " + entry + ": " + reason),
        file_(std::move(file)),
        entry_(std::move(entry)),
        reason_(std::move(reason)) {}
  [[nodiscard]] const std::string& file() const noexcept { return file_; }
  [[nodiscard]] const std::string& entry() const noexcept { return entry_; }
  [[nodiscard]] const std::string& reason() const noexcept { return reason_; }

 private:
  std::string file_;
  std::string entry_;
  std::string reason_;
};

}  // namespace dalvenix::device
