#include "panel/main_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "device/library_error.h"
#include "fakes/event_log.h"
#include "fakes/fake_view.h"
#include "fakes/recording_library.h"
#include "panel/fatal_error.h"

namespace dalvenix::panel {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::EventLog;
using testing::FakeView;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::RecordingLibrary;

// One window on a recording library; every test reads the shared log.
class Handlers : public ::testing::Test {
 protected:
  EventLog log;
  RecordingLibrary library{log};
  FakeView view{log};
  MainWindow window{view, library};
};

// --- btnFind ---------------------------------------------------------------

struct FindCase {
  std::int32_t find_result;
  std::int32_t devices;
  std::vector<std::string> expected;
};

void PrintTo(const FindCase& c, std::ostream* os) {
  *os << "find " << c.find_result << ", devices " << c.devices;
}

class FindClick : public Handlers, public ::testing::WithParamInterface<FindCase> {};

TEST_P(FindClick, CallsFindThenShowsTheCountOrTheMessage) {
  library.find_result = GetParam().find_result;
  library.getdevs_result = GetParam().devices;
  window.on_btnFind_click(0);
  EXPECT_THAT(log, ElementsAreArray(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Results, FindClick,
    ::testing::Values(
        FindCase{0, 2, {"dvn_find(0, 0, 0, 0)", "dvn_getdevs(0, 0, 0, 0)", "set txtNo(0) = 2"}},
        FindCase{0, 0, {"dvn_find(0, 0, 0, 0)", "dvn_getdevs(0, 0, 0, 0)", "set txtNo(0) = 0"}},
        FindCase{0, -1, {"dvn_find(0, 0, 0, 0)", "dvn_getdevs(0, 0, 0, 0)", "set txtNo(0) = -1"}},
        FindCase{
            0, 1234, {"dvn_find(0, 0, 0, 0)", "dvn_getdevs(0, 0, 0, 0)", "set txtNo(0) = 1234"}},
        // Any non-zero status is "not connected"; the count is not asked for.
        FindCase{1, 2, {"dvn_find(0, 0, 0, 0)", "message USB未接続"}},
        FindCase{-1, 2, {"dvn_find(0, 0, 0, 0)", "message USB未接続"}},
        FindCase{2, 2, {"dvn_find(0, 0, 0, 0)", "message USB未接続"}}));

TEST_F(Handlers, NotConnectedLeavesTheCountAsItWas) {
  library.find_result = 1;
  window.on_btnFind_click(0);
  EXPECT_EQ(view.text({Group::txtNo, 0}), "00");
}

TEST_F(Handlers, ASecondFindAsksAgainAndOverwritesTheCount) {
  library.getdevs_result = 2;
  window.on_btnFind_click(0);
  library.getdevs_result = 1;
  window.on_btnFind_click(0);
  EXPECT_EQ(view.text({Group::txtNo, 0}), "1");
  EXPECT_EQ(log.size(), 6U);
}

// --- btnInp ----------------------------------------------------------------

class InputClick : public Handlers, public ::testing::WithParamInterface<std::int16_t> {};

TEST_P(InputClick, ReadsPortZeroThenOneThenFillsTheColumnsPair) {
  const std::int16_t d = GetParam();
  library.set_port(d, 0, 0x0A);
  library.set_port(d, 1, 0xF0);
  window.on_btnInp_click(d);
  const std::string port0_field = "txtInpDat(" + std::to_string(2 * d) + ")";
  const std::string port1_field = "txtInpDat(" + std::to_string(2 * d + 1) + ")";
  EXPECT_THAT(log, ElementsAre("dvn_seldev(" + std::to_string(d) + ", 0, 0, 0)",
                               "dvn_inp(*, 0, 0, 0)", "dvn_inp(*, 1, 0, 0)",
                               "set " + port0_field + " = 0A", "set " + port1_field + " = F0"));
}

TEST_P(InputClick, LeavesTheOtherColumnAlone) {
  const std::int16_t d = GetParam();
  const auto other = static_cast<std::int16_t>(1 - d);
  view.type({Group::txtInpDat, static_cast<std::int16_t>(2 * other)}, "xx");
  view.type({Group::txtInpDat, static_cast<std::int16_t>(2 * other + 1)}, "yy");
  window.on_btnInp_click(d);
  EXPECT_EQ(view.text({Group::txtInpDat, static_cast<std::int16_t>(2 * other)}), "xx");
  EXPECT_EQ(view.text({Group::txtInpDat, static_cast<std::int16_t>(2 * other + 1)}), "yy");
}

INSTANTIATE_TEST_SUITE_P(BothDevices, InputClick, ::testing::Values(0, 1));

TEST_F(Handlers, InputFromALibraryThatStoresNothingShowsZeros) {
  library.stores_nothing = true;
  view.type({Group::txtInpDat, 0}, "AB");  // typed by the user: overwritten, never read
  view.type({Group::txtInpDat, 1}, "CD");
  window.on_btnInp_click(0);
  EXPECT_EQ(view.text({Group::txtInpDat, 0}), "00");
  EXPECT_EQ(view.text({Group::txtInpDat, 1}), "00");
}

// --- BtnOut ----------------------------------------------------------------

struct OutputCase {
  std::int16_t device;
  std::string port0_text;
  std::string port1_text;
  std::int32_t port0_value;
  std::int32_t port1_value;
};

void PrintTo(const OutputCase& c, std::ostream* os) {
  *os << "device " << c.device << " \"" << c.port0_text << "\" \"" << c.port1_text << "\"";
}

class OutputClick : public Handlers, public ::testing::WithParamInterface<OutputCase> {};

TEST_P(OutputClick, SelectsReadsBothFieldsThenWritesPortZeroThenOne) {
  const OutputCase& c = GetParam();
  const auto field0 = static_cast<std::int16_t>(2 * c.device);
  const auto field1 = static_cast<std::int16_t>(2 * c.device + 1);
  view.type({Group::txtOutDat, field0}, c.port0_text);
  view.type({Group::txtOutDat, field1}, c.port1_text);
  window.on_BtnOut_click(c.device);
  EXPECT_THAT(log, ElementsAre("dvn_seldev(" + std::to_string(c.device) + ", 0, 0, 0)",
                               "get txtOutDat(" + std::to_string(field0) + ")",
                               "get txtOutDat(" + std::to_string(field1) + ")",
                               "dvn_out(0, " + std::to_string(c.port0_value) + ", 0, 0)",
                               "dvn_out(1, " + std::to_string(c.port1_value) + ", 0, 0)"));
  // Nothing is reformatted.
  EXPECT_EQ(view.text({Group::txtOutDat, field0}), c.port0_text);
  EXPECT_EQ(view.text({Group::txtOutDat, field1}), c.port1_text);
}

INSTANTIATE_TEST_SUITE_P(Fields, OutputClick,
                         ::testing::Values(OutputCase{0, "FF", "0F", 255, 15},
                                           OutputCase{0, "", "", 0, 0},
                                           OutputCase{1, "100", "FFFF", 256, -1},
                                           OutputCase{1, " 1f", "zz", 31, 0},
                                           OutputCase{0, "FFFFFFFF", "000000000FF", -1, 255}));

struct RefusedCase {
  std::string port0_text;
  std::string port1_text;
  std::string message;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
  const auto shown = [](const std::string& text) {
    return text.size() <= 40
               ? text
               : text.substr(0, 40) + "... (" + std::to_string(text.size()) + " bytes)";
  };
  *os << '"' << shown(c.port0_text) << "\" \"" << shown(c.port1_text) << '"';
}

// The form a refused text's message takes.
std::string refused(const std::string& quoted) {
  return quoted + " is out of range: the largest value accepted is FFFFFFFF.";
}

std::string repeated(std::string_view piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

class OutputOutOfRange : public Handlers, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(OutputOutOfRange, WritesNeitherPortAndNamesTheText) {
  view.type({Group::txtOutDat, 2}, GetParam().port0_text);
  view.type({Group::txtOutDat, 3}, GetParam().port1_text);
  window.on_BtnOut_click(1);
  EXPECT_THAT(log, ElementsAre("dvn_seldev(1, 0, 0, 0)", "get txtOutDat(2)", "get txtOutDat(3)",
                               "message " + GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OutputOutOfRange,
    ::testing::Values(
        RefusedCase{"100000000", "0F",
                    "\"100000000\" is out of range: the largest value accepted is FFFFFFFF."},
        RefusedCase{"FF", "FFFFFFFFF0",
                    "\"FFFFFFFFF0\" is out of range: the largest value accepted is FFFFFFFF."},
        RefusedCase{"123456789", "987654321",
                    "\"123456789\" is out of range: the largest value accepted is FFFFFFFF.\n"
                    "\"987654321\" is out of range: the largest value accepted is FFFFFFFF."},
        // A long text is quoted by its first 32 characters and its length.
        RefusedCase{repeated("F", 32), "0", refused("\"" + repeated("F", 32) + "\"")},
        RefusedCase{repeated("F", 33), "0",
                    refused("\"" + repeated("F", 32) + "…\" (33 characters)")},
        RefusedCase{"0", repeated("F", 1'000'000),
                    refused("\"" + repeated("F", 32) + "…\" (1000000 characters)")},
        // Characters, not bytes: a character is never cut in two.
        RefusedCase{
            repeated("F", 9) + repeated("あ", 40), "0",
            refused("\"" + repeated("F", 9) + repeated("あ", 23) + "…\" (49 characters)")}));

// --- hsbVol ----------------------------------------------------------------

struct LevelCase {
  std::int16_t level;
  BarPattern pattern;
};

void PrintTo(const LevelCase& c, std::ostream* os) { *os << "level " << c.level; }

class BarPatternTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(BarPatternTest, SetsTheLowestBitsOfTwelveAcrossBothPorts) {
  EXPECT_EQ(bar_pattern(GetParam().level), GetParam().pattern);
}

INSTANTIATE_TEST_SUITE_P(Levels, BarPatternTest,
                         ::testing::Values(LevelCase{0, {0, 0}}, LevelCase{1, {1, 0}},
                                           LevelCase{2, {3, 0}}, LevelCase{3, {7, 0}},
                                           LevelCase{4, {15, 0}}, LevelCase{5, {31, 0}},
                                           LevelCase{6, {63, 0}}, LevelCase{7, {127, 0}},
                                           LevelCase{8, {255, 0}}, LevelCase{9, {255, 1}},
                                           LevelCase{10, {255, 3}}, LevelCase{11, {255, 7}},
                                           LevelCase{12, {255, 15}}));

TEST(BarPatternRange, RefusesLevelsTheBarCannotHave) {
  EXPECT_THROW(bar_pattern(-1), std::out_of_range);
  EXPECT_THROW(bar_pattern(13), std::out_of_range);
}

TEST_F(Handlers, BarChangeSelectsWritesThenShowsWhatWasWritten) {
  view.move_bar(1, 12);
  window.on_hsbVol_change(1);
  EXPECT_THAT(
      log, ElementsAre("dvn_seldev(1, 0, 0, 0)", "get hsbVol(1)", "dvn_out(0, 255, 0, 0)",
                       "dvn_out(1, 15, 0, 0)", "set txtOutDat(2) = FF", "set txtOutDat(3) = 0F"));
  EXPECT_EQ(view.text({Group::txtOutDat, 0}), "00");
  EXPECT_EQ(view.text({Group::txtOutDat, 1}), "00");
}

TEST_F(Handlers, OutputRightAfterABarChangeWritesTheSameValuesAgain) {
  view.move_bar(0, 9);
  window.on_hsbVol_change(0);
  log.clear();
  window.on_BtnOut_click(0);
  EXPECT_THAT(log, ElementsAre("dvn_seldev(0, 0, 0, 0)", "get txtOutDat(0)", "get txtOutDat(1)",
                               "dvn_out(0, 255, 0, 0)", "dvn_out(1, 1, 0, 0)"));
}

// --- close and routing -----------------------------------------------------

TEST_F(Handlers, UnloadFreesTheLibraryAndDoesNothingElse) {
  window.on_unload();
  EXPECT_THAT(log, ElementsAre("dvn_free(0, 0, 0, 0)"));
}

TEST_F(Handlers, UnloadFreesTheLibraryOnceHoweverOftenTheWindowUnloads) {
  window.on_unload();
  window.on_unload();
  window.on_session_end();
  EXPECT_TRUE(window.on_close_request());
  EXPECT_THAT(log, ElementsAre("dvn_free(0, 0, 0, 0)"));
}

TEST_F(Handlers, ACloseRequestWithNoHandlerRunningFreesAndLetsTheWindowGo) {
  EXPECT_TRUE(window.on_close_request());
  EXPECT_THAT(log, ElementsAre("dvn_free(0, 0, 0, 0)"));
  // A closing window handles no more events.
  window.on_click({Group::btnFind, 0});
  window.on_bar_change(0);
  EXPECT_THAT(log, ElementsAre("dvn_free(0, 0, 0, 0)"));
}

// --- events that arrive while a handler's message box is up ----------------

struct ArrivingEvent {
  const char* name;
  void (*deliver)(MainWindow& window);
};

void PrintTo(const ArrivingEvent& e, std::ostream* os) { *os << e.name; }

const ArrivingEvent kControlEvents[] = {
    {"btnFind(0) click",
     [](MainWindow& w) {
       w.on_click({Group::btnFind, 0});
     }},
    {"btnInp(1) click",
     [](MainWindow& w) {
       w.on_click({Group::btnInp, 1});
     }},
    {"BtnOut(0) click",
     [](MainWindow& w) {
       w.on_click({Group::BtnOut, 0});
     }},
    {"hsbVol(1) change", [](MainWindow& w) { w.on_bar_change(1); }},
};

// No board attached: btnFind's handler shows "USB未接続", and the event
// arrives while that box is up.
class WhileAMessageIsUp : public Handlers, public ::testing::WithParamInterface<ArrivingEvent> {
 protected:
  void SetUp() override {
    library.find_result = 1;
    view.move_bar(1, 3);
  }
};

TEST_P(WhileAMessageIsUp, AControlsEventIsNotHandled) {
  view.while_message = [this] {
    EXPECT_FALSE(window.accepts_events());
    GetParam().deliver(window);
  };
  window.on_click({Group::btnFind, 0});
  EXPECT_THAT(log, ElementsAre("dvn_find(0, 0, 0, 0)", "message USB未接続"));
  // Once the box is answered, the same event is handled again.
  EXPECT_TRUE(window.accepts_events());
  view.while_message = nullptr;
  log.clear();
  GetParam().deliver(window);
  EXPECT_THAT(log, Not(IsEmpty()));
}

TEST_P(WhileAMessageIsUp, AfterACloseRequestNothingMoreIsHandledAndTheWindowCloses) {
  view.while_message = [this] {
    EXPECT_FALSE(window.on_close_request()) << "the window went while the box was up";
    GetParam().deliver(window);
  };
  window.on_click({Group::btnFind, 0});
  EXPECT_THAT(log, ElementsAre("dvn_find(0, 0, 0, 0)", "message USB未接続", "close window"));
  view.while_message = nullptr;
  GetParam().deliver(window);  // queued before the close comes back
  EXPECT_TRUE(window.on_close_request());
  EXPECT_THAT(log, ElementsAre("dvn_find(0, 0, 0, 0)", "message USB未接続", "close window",
                               "dvn_free(0, 0, 0, 0)"));
}

INSTANTIATE_TEST_SUITE_P(Events, WhileAMessageIsUp, ::testing::ValuesIn(kControlEvents));

TEST_F(Handlers, TwoCloseRequestsDuringAMessageCloseTheWindowOnce) {
  library.find_result = 1;
  view.while_message = [this] {
    EXPECT_FALSE(window.on_close_request());
    EXPECT_FALSE(window.on_close_request());
  };
  window.on_click({Group::btnFind, 0});
  EXPECT_THAT(log, ElementsAre("dvn_find(0, 0, 0, 0)", "message USB未接続", "close window"));
}

TEST_F(Handlers, TheEndOfTheSessionDuringAMessageFreesAtOnceAndOnlyOnce) {
  library.find_result = 1;
  view.while_message = [this] { window.on_session_end(); };
  window.on_click({Group::btnFind, 0});
  view.while_message = nullptr;
  window.on_click({Group::btnFind, 0});
  EXPECT_TRUE(window.on_close_request());
  EXPECT_THAT(log,
              ElementsAre("dvn_find(0, 0, 0, 0)", "message USB未接続", "dvn_free(0, 0, 0, 0)"));
}

TEST_F(Handlers, ClicksReachTheirGroupsHandlerWithTheMemberIndex) {
  window.on_click({Group::btnInp, 1});
  window.on_click({Group::BtnOut, 0});
  window.on_click({Group::btnFind, 0});
  EXPECT_THAT(
      log, ElementsAre("dvn_seldev(1, 0, 0, 0)", "dvn_inp(*, 0, 0, 0)", "dvn_inp(*, 1, 0, 0)",
                       "set txtInpDat(2) = 00", "set txtInpDat(3) = 00", "dvn_seldev(0, 0, 0, 0)",
                       "get txtOutDat(0)", "get txtOutDat(1)", "dvn_out(0, 0, 0, 0)",
                       "dvn_out(1, 0, 0, 0)", "dvn_find(0, 0, 0, 0)", "dvn_getdevs(0, 0, 0, 0)",
                       "set txtNo(0) = 2"));
}

TEST_F(Handlers, ClicksOnControlsWithoutAHandlerDoNothing) {
  window.on_click({Group::txtNo, 0});
  window.on_click({Group::hsbVol, 0});
  window.on_click({Group::Label1, kNoMember});
  EXPECT_THAT(log, IsEmpty());
}

// --- failures --------------------------------------------------------------

TEST_F(Handlers, AMissingEntryEndsTheHandlerWithNothingMoreWritten) {
  library.missing_entry = device::Entry::dvn_inp;
  EXPECT_THROW(window.on_btnInp_click(0), device::EntryMissingError);
  EXPECT_THAT(log, ElementsAre("dvn_seldev(0, 0, 0, 0)"));

  log.clear();
  library.missing_entry = device::Entry::dvn_out;
  view.move_bar(0, 5);
  EXPECT_THROW(window.on_hsbVol_change(0), device::EntryMissingError);
  EXPECT_THAT(log, ElementsAre("dvn_seldev(0, 0, 0, 0)", "get hsbVol(0)"));
  EXPECT_EQ(view.text({Group::txtOutDat, 0}), "00");
}

TEST(RunGuarded, RunsAHandlerThatSucceeds) {
  bool ran = false;
  run_guarded([&] { ran = true; }, [](std::string_view) { FAIL() << "nothing to report"; });
  EXPECT_TRUE(ran);
}

TEST(RunGuardedDeathTest, ReportsALibraryFailureAndEndsWithNonZeroStatus) {
  const auto failing = [] {
    throw device::EntryMissingError("dalvenix.dll", "_dvn_out@16", "procedure not found");
  };
  const auto reporter = [](std::string_view report) {
    fprintf(stderr, "shown: [%.*s]\n", static_cast<int>(report.size()), report.data());
  };
  EXPECT_EXIT(run_guarded(failing, reporter), ::testing::ExitedWithCode(kFatalExitStatus),
              "shown: \\[DALVENIX cannot reach the device library and must close.\n\n"
              "dalvenix.dll has no entry _dvn_out@16: procedure not found\\]");
}

TEST(RunGuardedDeathTest, NoHandlerRunsWhileTheReportIsUpAndItIsShownOnce) {
  // As a held scroll bar arrow does: the failing handler is asked for again
  // while its report is up.
  const auto failing = [] {
    fprintf(stderr, "handler ran\n");
    throw device::EntryMissingError("dalvenix.dll", "_dvn_out@16", "procedure not found");
  };
  std::function<void(std::string_view)> reporter;
  reporter = [&](std::string_view) {
    fprintf(stderr, "report shown\n");
    run_guarded(failing, reporter);
    run_guarded([] { fprintf(stderr, "another handler ran\n"); }, reporter);
  };
  const auto occurrences = [](const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
      ++count;
    }
    return count;
  };
  EXPECT_EXIT(run_guarded(failing, reporter), ::testing::ExitedWithCode(kFatalExitStatus),
              ::testing::AllOf(
                  ::testing::ResultOf(
                      [&](const std::string& err) { return occurrences(err, "handler ran"); }, 1U),
                  ::testing::ResultOf(
                      [&](const std::string& err) { return occurrences(err, "report shown"); }, 1U),
                  ::testing::ResultOf(
                      [&](const std::string& err) { return occurrences(err, "must close"); }, 1U)));
}

TEST(RunGuardedDeathTest, AnyOtherFailureEndsTheProgramToo) {
  EXPECT_EXIT(run_guarded([] { throw std::out_of_range("bar level 13"); }, nullptr),
              ::testing::ExitedWithCode(kFatalExitStatus), "unexpected error.*bar level 13");
  EXPECT_EXIT(run_guarded([] { throw 42; }, nullptr), ::testing::ExitedWithCode(kFatalExitStatus),
              "unknown error");
}

}  // namespace
}  // namespace dalvenix::panel
