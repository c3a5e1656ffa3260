// A dynamic library file held open for as long as this object lives.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "device/entry_source.h"

namespace dalvenix::device {

class SharedLibrary final : public EntrySource {
 public:
  // A file name without a folder is looked for in the program's own folder
  // first, never in the current folder. On Windows the system folder and the
  // full-path folders on PATH follow; on Linux the system's library search.
  // Every file is loaded by its full path, and a file that is no library for
  // this program (a folder, an empty file, another machine's library) is
  // passed over. A file given with a folder is loaded from there only.
  // Throws LibraryLoadError naming each place tried and what was found there.
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

#if defined(_WIN32)
// Leaves the current folder and PATH out of where Windows looks for the
// libraries that other libraries need, from here on for the whole process.
// Called first thing at the program's start. Where Windows is too old for
// that, nothing changes.
void use_safe_library_search() noexcept;
#else
// The running program's folder: from the link `self_link`, normally
// /proc/self/exe, or where that cannot be read, from the file the program's
// own code was loaded from. Nothing when neither gives a full path.
std::optional<std::string> program_folder(const std::string& self_link = "/proc/self/exe");
#endif

}  // namespace dalvenix::device
