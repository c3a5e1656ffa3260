// What the panel relies on from a device library, checked once against the
// recording fake and once against the real binding with the stand-in library
// behind it, so the fake cannot drift from the library it stands for.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "device/dalvenix_library.h"
#include "device/io_library.h"
#include "fakes/event_log.h"
#include "fakes/recording_library.h"

namespace dalvenix::device {
namespace {

struct LibraryFactory {
  std::string name;
  std::function<std::unique_ptr<IoLibrary>(testing::EventLog&)> make;
};

void PrintTo(const LibraryFactory& factory, std::ostream* os) { *os << factory.name; }

class LibraryContract : public ::testing::TestWithParam<LibraryFactory> {
 protected:
  void SetUp() override {
    unsetenv("DALVENIX_SIM_DEVICES");
    library = GetParam().make(log);
    ASSERT_EQ(library->dvn_find(0, 0, 0, 0), 0);
  }
  void TearDown() override { library->dvn_free(0, 0, 0, 0); }

  std::uint8_t read(std::int32_t port, std::uint8_t before = 0xA5) {
    std::uint8_t byte = before;
    library->dvn_inp(reinterpret_cast<std::intptr_t>(&byte), port, 0, 0);
    return byte;
  }

  testing::EventLog log;
  std::unique_ptr<IoLibrary> library;
};

TEST_P(LibraryContract, FindsTwoBoards) { EXPECT_EQ(library->dvn_getdevs(0, 0, 0, 0), 2); }

TEST_P(LibraryContract, WhatIsDrivenReadsBackPerDeviceAndPort) {
  library->dvn_seldev(0, 0, 0, 0);
  library->dvn_out(0, 0x5A, 0, 0);
  library->dvn_out(1, 0x03, 0, 0);
  library->dvn_seldev(1, 0, 0, 0);
  library->dvn_out(0, 0xC3, 0, 0);
  EXPECT_EQ(read(0), 0xC3);
  EXPECT_EQ(read(1), 0x00);
  library->dvn_seldev(0, 0, 0, 0);
  EXPECT_EQ(read(0), 0x5A);
  EXPECT_EQ(read(1), 0x03);
}

TEST_P(LibraryContract, PortsKeepOnlyTheirLines) {
  library->dvn_seldev(1, 0, 0, 0);
  library->dvn_out(0, 256 + 0x12, 0, 0);
  library->dvn_out(1, 0xFF, 0, 0);
  EXPECT_EQ(read(0), 0x12);
  EXPECT_EQ(read(1), 0x0F);
  library->dvn_out(0, -1, 0, 0);
  EXPECT_EQ(read(0), 0xFF);
}

TEST_P(LibraryContract, AnAbsentDeviceStoresNothingAndDrivesNothing) {
  library->dvn_seldev(0, 0, 0, 0);
  library->dvn_out(0, 0x11, 0, 0);
  library->dvn_seldev(2, 0, 0, 0);
  library->dvn_out(0, 0x22, 0, 0);
  EXPECT_EQ(read(0, 0xA5), 0xA5);
  library->dvn_seldev(-1, 0, 0, 0);
  EXPECT_EQ(read(1, 0x5A), 0x5A);
  library->dvn_seldev(0, 0, 0, 0);
  EXPECT_EQ(read(0), 0x11);
}

TEST_P(LibraryContract, FreeClearsEveryLatch) {
  library->dvn_seldev(1, 0, 0, 0);
  library->dvn_out(0, 0x77, 0, 0);
  library->dvn_free(0, 0, 0, 0);
  library->dvn_seldev(1, 0, 0, 0);
  EXPECT_EQ(read(0), 0x00);
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, LibraryContract,
    ::testing::Values(LibraryFactory{"RecordingFake",
                                     [](testing::EventLog& log) -> std::unique_ptr<IoLibrary> {
                                       return std::make_unique<testing::RecordingLibrary>(log);
                                     }},
                      LibraryFactory{"StandInThroughTheBinding",
                                     [](testing::EventLog&) -> std::unique_ptr<IoLibrary> {
                                       return std::make_unique<DalvenixLibrary>();
                                     }}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace dalvenix::device
