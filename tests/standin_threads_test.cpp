// Two threads calling the stand-in library at once, loaded with dlopen as any
// other program would load it: every call keeps its own result and every
// trace line stays whole. Also built with ThreadSanitizer (standin_threads_tsan),
// where any data race in the library fails the test.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "device/entry_points.h"
#include "trace_file.h"

namespace dalvenix::device {
namespace {

struct Closer {
  void operator()(void* handle) const noexcept { dlclose(handle); }
};

// The library beside this program, by its full path: under ThreadSanitizer,
// dlopen is called from the sanitizer's runtime, whose search would not look
// in this program's folder.
std::string library_beside_program() {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / kLibraryFile).string();
}

// The six entries of one dlopen of the library.
class LoadedStandIn {
 public:
  LoadedStandIn() : handle_(dlopen(library_beside_program().c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) throw std::runtime_error(dlerror());
    for (std::size_t index = 0; index < kEntryCount; ++index) {
      const std::string name(kEntryNames[index]);
      void* address = dlsym(handle_.get(), name.c_str());
      if (address == nullptr) throw std::runtime_error("no entry " + name);
      entries_[index] = reinterpret_cast<EntryPoint>(address);
    }
  }

  std::int32_t operator()(Entry entry, std::intptr_t p1, std::int32_t p2) const {
    return entries_[static_cast<std::size_t>(entry)](p1, p2, 0, 0);
  }

 private:
  std::unique_ptr<void, Closer> handle_;
  std::array<EntryPoint, kEntryCount> entries_{};
};

struct ThreadsCase {
  const char* devices;  // DALVENIX_SIM_DEVICES
  std::int32_t find_result;
  std::int32_t device_count;
  std::size_t lines_per_round;  // an invalid setting adds a "#" line to each dvn_find
};

void PrintTo(const ThreadsCase& c, std::ostream* os) { *os << '"' << c.devices << '"'; }

class StandInThreads : public ::testing::TestWithParam<ThreadsCase> {
 protected:
  // Set before any thread starts: the library only reads the environment.
  void SetUp() override { setenv("DALVENIX_SIM_DEVICES", GetParam().devices, 1); }
  void TearDown() override { unsetenv("DALVENIX_SIM_DEVICES"); }

  testing::TraceFile trace_file{"dalvenix-threads"};
};

constexpr std::size_t kRounds = 300;

// One thread's work: find, count, select, drive, read, again and again.
// Returns how many results differed from what the setting makes them.
int hammer(const LoadedStandIn& library, std::int32_t device, const ThreadsCase& expected) {
  int wrong = 0;
  for (std::size_t round = 0; round < kRounds; ++round) {
    wrong += library(Entry::dvn_find, 0, 0) != expected.find_result ? 1 : 0;
    wrong += library(Entry::dvn_getdevs, 0, 0) != expected.device_count ? 1 : 0;
    const std::int32_t present = device < expected.device_count ? 0 : -1;
    wrong += library(Entry::dvn_seldev, device, 0) != present ? 1 : 0;
    wrong += library(Entry::dvn_out, 0, static_cast<std::int32_t>(round)) != present ? 1 : 0;
    std::uint8_t byte = 0;
    // The other thread may select between these calls: only the result's
    // form is certain, not which board it read.
    library(Entry::dvn_inp, reinterpret_cast<std::intptr_t>(&byte), 0);
  }
  return wrong;
}

TEST_P(StandInThreads, TwoThreadsKeepResultsAndTraceLinesWhole) {
  const LoadedStandIn library;
  const ThreadsCase expected = GetParam();
  std::array<int, 2> wrong{};
  {
    const std::jthread first([&] { wrong[0] = hammer(library, 0, expected); });
    const std::jthread second([&] { wrong[1] = hammer(library, 1, expected); });
  }
  EXPECT_EQ(wrong, (std::array<int, 2>{0, 0}));

  const std::regex whole_line(
      R"(# DALVENIX_SIM_DEVICES="[^"]*" is not a whole number from 0 to 16: no device is connected)"
      R"(|dvn_[a-z]+\((\*|-?[0-9]+), -?[0-9]+, 0, 0\) = -?[0-9]+( -> ([0-9A-F]{2}|--))?)");
  const std::vector<std::string> lines = trace_file.lines();
  for (std::size_t index = 0; index < lines.size(); ++index) {
    ASSERT_TRUE(std::regex_match(lines[index], whole_line))
        << "line " << index + 1 << ": " << lines[index];
  }
  EXPECT_EQ(lines.size(), 2 * kRounds * expected.lines_per_round);
}

INSTANTIATE_TEST_SUITE_P(Settings, StandInThreads,
                         ::testing::Values(ThreadsCase{"2", 0, 2, 5},
                                           ThreadsCase{"not a number", 2, 0, 6}));

}  // namespace
}  // namespace dalvenix::device
