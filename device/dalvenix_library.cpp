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

std::int32_t DalvenixLibrary::dvn_find(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                       std::int32_t p4) {
  return call(Entry::dvn_find, p1, p2, p3, p4);
}

std::int32_t DalvenixLibrary::dvn_getdevs(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                          std::int32_t p4) {
  return call(Entry::dvn_getdevs, p1, p2, p3, p4);
}

std::int32_t DalvenixLibrary::dvn_seldev(std::intptr_t device, std::int32_t p2, std::int32_t p3,
                                         std::int32_t p4) {
  return call(Entry::dvn_seldev, device, p2, p3, p4);
}

std::int32_t DalvenixLibrary::dvn_inp(std::intptr_t byte_address, std::int32_t port,
                                      std::int32_t p3, std::int32_t p4) {
  return call(Entry::dvn_inp, byte_address, port, p3, p4);
}

std::int32_t DalvenixLibrary::dvn_out(std::intptr_t port, std::int32_t value, std::int32_t p3,
                                      std::int32_t p4) {
  return call(Entry::dvn_out, port, value, p3, p4);
}

std::int32_t DalvenixLibrary::dvn_free(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                       std::int32_t p4) {
  return call(Entry::dvn_free, p1, p2, p3, p4);
}

}  // namespace dalvenix::device
