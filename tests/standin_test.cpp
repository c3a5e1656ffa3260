// The stand-in library's own behaviour, reached through the real binding.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "device/dalvenix_library.h"
#include "trace_file.h"

namespace dalvenix::device {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

class StandIn : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv("DALVENIX_SIM_DEVICES"); }
  void TearDown() override {
    library.dvn_free(0, 0, 0, 0);
    unsetenv("DALVENIX_SIM_DEVICES");
  }

  [[nodiscard]] std::vector<std::string> trace() const { return trace_file.lines(); }

  std::optional<std::uint8_t> read(std::int32_t port) {
    std::uint8_t byte = 0xEE;
    if (library.dvn_inp(reinterpret_cast<std::intptr_t>(&byte), port, 0, 0) != 0) return {};
    return byte;
  }

  testing::TraceFile trace_file{"dalvenix-trace"};
  const std::filesystem::path& trace_path = trace_file.path();
  DalvenixLibrary library;
};

TEST_F(StandIn, TracesEveryCallAsItHappens) {
  library.dvn_find(0, 0, 0, 0);
  library.dvn_getdevs(0, 0, 0, 0);
  library.dvn_seldev(1, 0, 0, 0);
  library.dvn_out(1, 15, 0, 0);
  EXPECT_EQ(trace().size(), 4U) << "each line is flushed at once";
  read(1);
  library.dvn_out(0, -1, 0, 0);
  library.dvn_seldev(7, 0, 0, 0);
  read(0);
  library.dvn_free(0, 0, 0, 0);
  EXPECT_THAT(trace(), ElementsAre("dvn_find(0, 0, 0, 0) = 0", "dvn_getdevs(0, 0, 0, 0) = 2",
                                   "dvn_seldev(1, 0, 0, 0) = 0", "dvn_out(1, 15, 0, 0) = 0",
                                   "dvn_inp(*, 1, 0, 0) = 0 -> 0F", "dvn_out(0, -1, 0, 0) = 0",
                                   "dvn_seldev(7, 0, 0, 0) = -1", "dvn_inp(*, 0, 0, 0) = -1 -> --",
                                   "dvn_free(0, 0, 0, 0) = 0"));
}

TEST_F(StandIn, WithoutATraceFileItWritesNothing) {
  unsetenv("DALVENIX_SIM_TRACE");
  library.dvn_find(0, 0, 0, 0);
  EXPECT_FALSE(std::filesystem::exists(trace_path));
}

TEST_F(StandIn, NothingIsSelectedBeforeTheFirstSelection) {
  // A fresh load: no dvn_seldev yet, so there is no board to read.
  EXPECT_EQ(read(0), std::nullopt);
  EXPECT_EQ(library.dvn_out(0, 1, 0, 0), -1);
}

TEST_F(StandIn, RefusesPortsItDoesNotHave) {
  library.dvn_seldev(0, 0, 0, 0);
  EXPECT_EQ(library.dvn_out(2, 1, 0, 0), -1);
  EXPECT_EQ(read(-1), std::nullopt);
  EXPECT_EQ(library.dvn_inp(0, 0, 0, 0), -1) << "no address, nothing stored";
}

struct DevicesCase {
  const char* setting;  // nullptr: not set
  std::int32_t find_result;
  std::int32_t devices;
  bool explained;  // a "#" line in the trace says why
};

void PrintTo(const DevicesCase& c, std::ostream* os) {
  *os << (c.setting != nullptr ? std::string("\"") + c.setting + "\"" : "unset");
}

class StandInDevices : public StandIn, public ::testing::WithParamInterface<DevicesCase> {};

TEST_P(StandInDevices, FindsWhatTheEnvironmentAttaches) {
  if (GetParam().setting != nullptr) setenv("DALVENIX_SIM_DEVICES", GetParam().setting, 1);
  EXPECT_EQ(library.dvn_find(0, 0, 0, 0), GetParam().find_result);
  EXPECT_EQ(library.dvn_getdevs(0, 0, 0, 0), GetParam().devices);
  const auto lines = trace();
  ASSERT_FALSE(lines.empty());
  if (GetParam().explained) {
    EXPECT_THAT(lines.front(), StartsWith("# DALVENIX_SIM_DEVICES"));
    EXPECT_EQ(lines.size(), 3U);
  } else {
    EXPECT_EQ(lines.size(), 2U);
  }
  // The last board present works, the one after it is absent.
  if (GetParam().devices > 0) {
    EXPECT_EQ(library.dvn_seldev(GetParam().devices - 1, 0, 0, 0), 0);
  }
  EXPECT_EQ(library.dvn_seldev(GetParam().devices, 0, 0, 0), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StandInDevices,
    ::testing::Values(DevicesCase{nullptr, 0, 2, false}, DevicesCase{"1", 0, 1, false},
                      DevicesCase{"16", 0, 16, false}, DevicesCase{"0", 1, 0, false},
                      DevicesCase{"016", 0, 16, false}, DevicesCase{"0002", 0, 2, false},
                      DevicesCase{"00", 1, 0, false}, DevicesCase{"017", 2, 0, true},
                      DevicesCase{"00100", 2, 0, true}, DevicesCase{"-01", 2, 0, true},
                      DevicesCase{"17", 2, 0, true}, DevicesCase{"-1", 2, 0, true},
                      DevicesCase{"two", 2, 0, true}, DevicesCase{"2 ", 2, 0, true},
                      DevicesCase{"", 2, 0, true},
                      DevicesCase{"99999999999999999999", 2, 0, true}));

TEST_F(StandIn, FindReadsTheSettingAfresh) {
  setenv("DALVENIX_SIM_DEVICES", "3", 1);
  EXPECT_EQ(library.dvn_find(0, 0, 0, 0), 0);
  EXPECT_EQ(library.dvn_getdevs(0, 0, 0, 0), 3);
  setenv("DALVENIX_SIM_DEVICES", "0", 1);
  EXPECT_EQ(library.dvn_find(0, 0, 0, 0), 1);
  EXPECT_EQ(library.dvn_getdevs(0, 0, 0, 0), 0);
}

// A setting that carries control characters cannot forge or split a trace
// line: they are written escaped.
struct EscapeCase {
  const char* setting;
  const char* written;  // between the quotes of the "#" line
};

void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.written; }

class StandInEscapes : public StandIn, public ::testing::WithParamInterface<EscapeCase> {};

TEST_P(StandInEscapes, ControlCharactersInTheSettingAreWrittenEscaped) {
  setenv("DALVENIX_SIM_DEVICES", GetParam().setting, 1);
  EXPECT_EQ(library.dvn_find(0, 0, 0, 0), 2);
  EXPECT_THAT(trace(), ElementsAre(std::string("# DALVENIX_SIM_DEVICES=\"") + GetParam().written +
                                       "\" is not a whole number from 0 to 16: no device is "
                                       "connected",
                                   "dvn_find(0, 0, 0, 0) = 2"));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StandInEscapes,
    ::testing::Values(EscapeCase{"1\ndvn_find(0, 0, 0, 0) = 0", R"(1\ndvn_find(0, 0, 0, 0) = 0)"},
                      EscapeCase{"2\r\n", R"(2\r\n)"}, EscapeCase{"\x1b[2J3", R"(\x1b[2J3)"},
                      EscapeCase{"4\t\x7f", R"(4\t\x7f)"}, EscapeCase{"\x01", R"(\x01)"},
                      EscapeCase{R"(5\n)", R"(5\\n)"}, EscapeCase{"6\xC3\xA9", "6\xC3\xA9"}));

// A trace file that cannot be written: one line on stderr the first time,
// and every call still does its work.
struct UnwritableCase {
  const char* name;
  std::function<std::filesystem::path()> path;
};

void PrintTo(const UnwritableCase& c, std::ostream* os) { *os << c.name; }

class StandInUnwritableTrace : public StandIn,
                               public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(StandInUnwritableTrace, SaysSoOnceAndGoesOn) {
  const std::filesystem::path unwritable = GetParam().path();
  setenv("DALVENIX_SIM_TRACE", unwritable.c_str(), 1);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(library.dvn_find(0, 0, 0, 0), 0);
  EXPECT_EQ(library.dvn_getdevs(0, 0, 0, 0), 2);
  EXPECT_EQ(library.dvn_seldev(1, 0, 0, 0), 0);
  EXPECT_EQ(library.dvn_out(0, 0x3C, 0, 0), 0);
  EXPECT_EQ(read(0), 0x3C);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_THAT(said, StartsWith("dalvenix stand-in: cannot write the trace file "
                               "DALVENIX_SIM_TRACE=\"" +
                               unwritable.string() + "\" ("));
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

  // Once the file can be written, the calls are traced again.
  setenv("DALVENIX_SIM_TRACE", trace_path.c_str(), 1);
  EXPECT_EQ(library.dvn_out(1, 5, 0, 0), 0);
  EXPECT_THAT(trace(), ElementsAre("dvn_out(1, 5, 0, 0) = 0"));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, StandInUnwritableTrace,
    ::testing::Values(
        UnwritableCase{"AFolder", [] { return std::filesystem::temp_directory_path(); }},
        UnwritableCase{"InAMissingFolder",
                       [] {
                         return std::filesystem::temp_directory_path() /
                                ("dalvenix-missing-" + std::to_string(getpid())) / "trace.txt";
                       }},
        UnwritableCase{"AFullDevice", [] { return std::filesystem::path("/dev/full"); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dalvenix::device
