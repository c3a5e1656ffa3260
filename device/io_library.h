// The device I/O library as the panel calls it: six operations, four
// arguments each, a signed 32-bit result. Arguments an operation does not use
// are passed as 0; the panel examines only the results of dvn_find and
// dvn_getdevs.
#pragma once

#include <cstdint>

namespace dalvenix::device {

class IoLibrary {
 public:
  virtual ~IoLibrary() = default;

  // 0 when devices were found; any other value: not connected.
  virtual std::int32_t dvn_find(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                std::int32_t p4) = 0;
  // The number of devices the last dvn_find found.
  virtual std::int32_t dvn_getdevs(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                   std::int32_t p4) = 0;
  // p1: the device that later dvn_inp and dvn_out calls address.
  virtual std::int32_t dvn_seldev(std::intptr_t device, std::int32_t p2, std::int32_t p3,
                                  std::int32_t p4) = 0;
  // p1: the address of one byte that receives the 8-bit value of port p2.
  virtual std::int32_t dvn_inp(std::intptr_t byte_address, std::int32_t port, std::int32_t p3,
                               std::int32_t p4) = 0;
  // Drives port p1 with value p2, passed on as it is.
  virtual std::int32_t dvn_out(std::intptr_t port, std::int32_t value, std::int32_t p3,
                               std::int32_t p4) = 0;
  // Releases what the library holds.
  virtual std::int32_t dvn_free(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                std::int32_t p4) = 0;

 protected:
  IoLibrary() = default;
  IoLibrary(const IoLibrary&) = default;
  IoLibrary& operator=(const IoLibrary&) = default;
};

}  // namespace dalvenix::device
