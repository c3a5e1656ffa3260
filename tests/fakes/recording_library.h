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

  std::int32_t dvn_find(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                        std::int32_t p4) override {
    record(device::Entry::dvn_find, std::to_string(p1), p2, p3, p4);
    return find_result;
  }

  std::int32_t dvn_getdevs(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                           std::int32_t p4) override {
    record(device::Entry::dvn_getdevs, std::to_string(p1), p2, p3, p4);
    return getdevs_result.value_or(devices);
  }

  std::int32_t dvn_seldev(std::intptr_t device, std::int32_t p2, std::int32_t p3,
                          std::int32_t p4) override {
    record(device::Entry::dvn_seldev, std::to_string(device), p2, p3, p4);
    selected_ = device >= 0 && device < devices ? std::optional<int>(static_cast<int>(device))
                                                : std::nullopt;
    return selected_ ? 0 : -1;
  }

  std::int32_t dvn_inp(std::intptr_t byte_address, std::int32_t port, std::int32_t p3,
                       std::int32_t p4) override {
    record(device::Entry::dvn_inp, byte_address == 0 ? "0" : "*", port, p3, p4);
    if (stores_nothing || !selected_ || byte_address == 0 || (port != 0 && port != 1)) return -1;
    *reinterpret_cast<std::uint8_t*>(byte_address) =
        boards_[*selected_][static_cast<std::size_t>(port)];
    return 0;
  }

  std::int32_t dvn_out(std::intptr_t port, std::int32_t value, std::int32_t p3,
                       std::int32_t p4) override {
    record(device::Entry::dvn_out, std::to_string(port), value, p3, p4);
    if (!selected_ || (port != 0 && port != 1)) return -1;
    const std::uint32_t mask = port == 0 ? 0xFFU : 0x0FU;
    boards_[*selected_][static_cast<std::size_t>(port)] =
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & mask);
    return 0;
  }

  std::int32_t dvn_free(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                        std::int32_t p4) override {
    record(device::Entry::dvn_free, std::to_string(p1), p2, p3, p4);
    boards_.clear();
    return 0;
  }

 private:
  void record(device::Entry entry, const std::string& p1, std::int32_t p2, std::int32_t p3,
              std::int32_t p4) {
    if (missing_entry == entry) {
      throw device::EntryMissingError("recording library", std::string(device::export_name(entry)),
                                      "not exported");
    }
    log_.push_back(std::string(device::operation_name(entry)) + "(" + p1 + ", " +
                   std::to_string(p2) + ", " + std::to_string(p3) + ", " + std::to_string(p4) +
                   ")");
  }

  EventLog& log_;
  std::optional<int> selected_;
  std::map<int, std::array<std::uint8_t, 2>> boards_;
};

}  // namespace dalvenix::testing
