// The device I/O library as the panel calls it: six operations, four
// arguments each, a signed 32-bit result. Arguments an operation does not use
// are passed as 0; the panel examines only the results of dvn_find and
// dvn_getdevs.
//
// The operations, one per entry of DVN_ENTRIES (device/entry_points.h):
//
//   dvn_find(0, 0, 0, 0)
//     0 when devices were found; any other value: not connected.
//   dvn_getdevs(0, 0, 0, 0)
//     The number of devices the last dvn_find found.
//   dvn_seldev(device, 0, 0, 0)
//     The device that later dvn_inp and dvn_out calls address.
//   dvn_inp(byte_address, port, 0, 0)
//     byte_address: the address of one byte that receives the 8-bit value of
//     the port.
//   dvn_out(port, value, 0, 0)
//     Drives the port with the value, passed on as it is.
//   dvn_free(0, 0, 0, 0)
//     Releases what the library holds.
#pragma once

#include <cstdint>

#include "device/entry_points.h"

namespace dalvenix::device {

class IoLibrary {
 public:
  virtual ~IoLibrary() = default;

  // One named operation per entry, each a call of that entry:
  // library.dvn_out(port, value, 0, 0) is call(Entry::dvn_out, port, value, 0, 0).
#define DVN_OPERATION(op)                                                                \
  std::int32_t op(std::intptr_t p1, std::int32_t p2, std::int32_t p3, std::int32_t p4) { \
    return call(Entry::op, p1, p2, p3, p4);                                              \
  }
  DVN_ENTRIES(DVN_OPERATION)
#undef DVN_OPERATION

 protected:
  IoLibrary() = default;
  IoLibrary(const IoLibrary&) = default;
  IoLibrary& operator=(const IoLibrary&) = default;

 private:
  // Calls the entry with the four arguments and returns its result: the one
  // thing a library implements.
  virtual std::int32_t call(Entry entry, std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                            std::int32_t p4) = 0;
};

}  // namespace dalvenix::device
