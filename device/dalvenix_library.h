// The binding to the vendor's device I/O library.
//
// Nothing is loaded when this object is made: the first call of any operation
// opens the library, and each entry is looked up on its own first call and
// reused afterwards. A library that cannot be loaded, or a missing entry,
// throws a LibraryError naming it; the call is then not made.
#pragma once

#include <array>
#include <memory>

#include "device/entry_points.h"
#include "device/entry_source.h"
#include "device/io_library.h"

namespace dalvenix::device {

class DalvenixLibrary final : public IoLibrary {
 public:
  // Binds to the vendor file, found by the system's ordinary search.
  DalvenixLibrary();
  // Binds to whatever the opener opens.
  explicit DalvenixLibrary(EntrySourceOpener opener);

 private:
  std::int32_t call(Entry entry, std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                    std::int32_t p4) override;
  EntryPoint bound(Entry entry);

  EntrySourceOpener opener_;
  std::unique_ptr<EntrySource> library_;  // empty until the first call
  std::array<EntryPoint, kEntryCount> entries_{};
};

}  // namespace dalvenix::device
