#include "device/dalvenix_library.h"

#include <string>
#include <utility>

#include "device/shared_library.h"

namespace dalvenix::device {

DalvenixLibrary::DalvenixLibrary()
    : DalvenixLibrary(open_library_file(std::string(kLibraryFile))) {}

DalvenixLibrary::DalvenixLibrary(EntrySourceOpener opener) : opener_(std::move(opener)) {}

EntryPoint DalvenixLibrary::bound(Entry entry) {
  EntryPoint& slot = entries_[static_cast<std::size_t>(entry)];
  if (slot == nullptr) {
    if (library_ == nullptr) library_ = opener_();
    slot = library_->entry(export_name(entry));
  }
  return slot;
}

std::int32_t DalvenixLibrary::call(Entry entry, std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                   std::int32_t p4) {
  return bound(entry)(p1, p2, p3, p4);
}

}  // namespace dalvenix::device
