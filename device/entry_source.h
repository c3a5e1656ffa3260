// Where the binding finds the library's entries: a loaded library file, or in
// tests anything that hands out entry addresses by name.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "device/entry_points.h"

namespace dalvenix::device {

class EntrySource {
 public:
  virtual ~EntrySource() = default;
  // The entry's address; throws EntryMissingError when there is none.
  virtual EntryPoint entry(std::string_view name) = 0;

 protected:
  EntrySource() = default;
  EntrySource(const EntrySource&) = default;
  EntrySource& operator=(const EntrySource&) = default;
};

// Opens the source; called once, at the first call of any operation.
// Throws LibraryLoadError when it cannot.
using EntrySourceOpener = std::function<std::unique_ptr<EntrySource>()>;

}  // namespace dalvenix::device
