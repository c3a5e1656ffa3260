// A dynamic library file held open for as long as this object lives.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "device/entry_source.h"

namespace dalvenix::device {

class SharedLibrary final : public EntrySource {
 public:
  // Loads the file through the system's ordinary search, the program's own
  // folder first. Throws LibraryLoadError naming the file and the reason.
  explicit SharedLibrary(std::string file);

  EntryPoint entry(std::string_view name) override;

  [[nodiscard]] const std::string& file() const noexcept { return file_; }

 private:
  struct Unloader {
    void operator()(void* handle) const noexcept;
  };

  std::string file_;
  std::unique_ptr<void, Unloader> handle_;
};

// An opener that loads the given file.
EntrySourceOpener open_library_file(std::string file);

}  // namespace dalvenix::device
