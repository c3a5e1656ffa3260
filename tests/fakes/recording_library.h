// An in-process device library that records every call into an EventLog and
// simulates boards like the stand-in library does (port 0 with 8 lines, port 1
// with 4, outputs read back), with results and stored bytes that a test can
// override.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "device/entry_points.h"
#include "device/io_library.h"
#include "device/library_error.h"
#include "fakes/event_log.h"

namespace dalvenix::testing {

class RecordingLibrary final : public device::IoLibrary {
 public:
  explicit RecordingLibrary(EventLog& log) : log_(log) {}

  // Overrides for the next calls.
  std::int32_t find_result = 0;
  std::optional<std::int32_t> getdevs_result;  // default: the simulated count
  int devices = 2;
  bool stores_nothing = false;
  // The operation that fails as if its entry were missing from the library.
  std::optional<device::Entry> missing_entry;

  // Sets what a port of a device reads, as if a signal were wired to it.
  void set_port(int device, int port, std::uint8_t value) {
    boards_[device][static_cast<std::size_t>(port)] = value;
  }

 private:
  std::int32_t call(device::Entry entry, std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                    std::int32_t p4) override {
    using device::Entry;
    if (missing_entry == entry) {
      throw device::EntryMissingError("recording library", std::string(device::export_name(entry)),
                                      "not exported");
    }
    // dvn_inp's first argument is an address: written "*" unless it is 0.
    const std::string first = entry == Entry::dvn_inp && p1 != 0 ? "*" : std::to_string(p1);
    log_.push_back(std::string(device::operation_name(entry)) + "(" + first + ", " +
                   std::to_string(p2) + ", " + std::to_string(p3) + ", " + std::to_string(p4) +
                   ")");
    switch (entry) {
      case Entry::dvn_find: return find_result;
      case Entry::dvn_getdevs: return getdevs_result.value_or(devices);
      case Entry::dvn_seldev: return select(p1);
      case Entry::dvn_inp: return input(p1, p2);
      case Entry::dvn_out: return output(p1, p2);
      case Entry::dvn_free: boards_.clear(); return 0;
      default: return 0;  // an operation the panel does not use: recorded only
    }
  }

  std::int32_t select(std::intptr_t device) {
    selected_ = device >= 0 && device < devices ? std::optional<int>(static_cast<int>(device))
                                                : std::nullopt;
    return selected_ ? 0 : -1;
  }

  std::int32_t input(std::intptr_t byte_address, std::int32_t port) {
    if (stores_nothing || !selected_ || byte_address == 0 || (port != 0 && port != 1)) return -1;
    *reinterpret_cast<std::uint8_t*>(byte_address) =
        boards_[*selected_][static_cast<std::size_t>(port)];
    return 0;
  }

  std::int32_t output(std::intptr_t port, std::int32_t value) {
    if (!selected_ || (port != 0 && port != 1)) return -1;
    const std::uint32_t mask = port == 0 ? 0xFFU : 0x0FU;
    boards_[*selected_][static_cast<std::size_t>(port)] =
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & mask);
    return 0;
  }

  EventLog& log_;
  std::optional<int> selected_;
  std::map<int, std::array<std::uint8_t, 2>> boards_;
};

}  // namespace dalvenix::testing
