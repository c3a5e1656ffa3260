// Each event of the real window reaching its handler: the calls recorded in
// the stand-in library's trace, and what the window shows afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_catcher.h"
#include "panel_fixture.h"

namespace dalvenix::win32::testing {
namespace {

using panel::ControlId;
using panel::Group;
using Calls = std::vector<std::string>;

using Find = PanelTest;
using Input = PanelTest;
using Output = PanelTest;
using Bar = PanelTest;
using Unhandled = PanelTest;

// --- btnFind ---------------------------------------------------------------

TEST_F(Find, FindShowsTheNumberOfBoardsInTxtNo) {
  click({Group::btnFind, 0});
  EXPECT_EQ(calls(), (Calls{"dvn_find(0, 0, 0, 0) = 0", "dvn_getdevs(0, 0, 0, 0) = 2"}));
  EXPECT_EQ(text({Group::txtNo, 0}), L"2");
}

TEST_F(Find, ASecondFindAsksAgain) {
  click({Group::btnFind, 0});
  click({Group::btnFind, 0});
  EXPECT_EQ(calls(), (Calls{"dvn_find(0, 0, 0, 0) = 0", "dvn_getdevs(0, 0, 0, 0) = 2",
                            "dvn_find(0, 0, 0, 0) = 0", "dvn_getdevs(0, 0, 0, 0) = 2"}));
  EXPECT_EQ(text({Group::txtNo, 0}), L"2");
}

class NoBoardAttached : public PanelTest {
 protected:
  NoBoardAttached() : PanelTest(L"0") {}
};

TEST_F(NoBoardAttached, FindShowsTheNotConnectedMessageOwnedByTheWindow) {
  DialogCatcher catcher(GetCurrentProcessId());
  click({Group::btnFind, 0});  // returns once the box is dismissed
  const auto box = catcher.result();
  ASSERT_TRUE(box.has_value()) << "no message box appeared";
  EXPECT_EQ(box->text, L"USB\u672A\u63A5\u7D9A");
  EXPECT_EQ(box->title, L"DALVENIX");
  EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"OK"}));
  EXPECT_EQ(box->button_ids, (std::vector<int>{IDOK}));
  EXPECT_FALSE(box->shows_icon);
  EXPECT_EQ(box->owner, panel().hwnd());
  // Characters, not boxes, and all of them.
  EXPECT_EQ(box->text_has_glyphs, std::optional<bool>(true));
  EXPECT_EQ(box->text_fits, std::optional<bool>(true));

  // dvn_getdevs is not asked and the count keeps its text.
  EXPECT_EQ(calls(), (Calls{"dvn_find(0, 0, 0, 0) = 1"}));
  EXPECT_EQ(text({Group::txtNo, 0}), L"00");
  EXPECT_TRUE(IsWindowEnabled(panel().hwnd())) << "the window stays usable after the box";
}

TEST_F(NoBoardAttached, EachFindShowsTheMessageOnce) {
  for (int round = 0; round < 2; ++round) {
    DialogCatcher catcher(GetCurrentProcessId());
    click({Group::btnFind, 0});
    ASSERT_TRUE(catcher.result().has_value()) << "round " << round;
  }
  EXPECT_EQ(calls(), (Calls{"dvn_find(0, 0, 0, 0) = 1", "dvn_find(0, 0, 0, 0) = 1"}));
}

// --- btnInp ----------------------------------------------------------------

TEST_F(Input, InputReadsPort0ThenPort1IntoItsColumnsPair) {
  // The stand-in reads back what was last driven: 0A on port 0, 5 on port 1.
  type_into({Group::txtOutDat, 0}, L"0A");
  type_into({Group::txtOutDat, 1}, L"5");
  click({Group::BtnOut, 0});
  clear_calls();

  click({Group::btnInp, 0});
  EXPECT_EQ(calls(), (Calls{"dvn_seldev(0, 0, 0, 0) = 0", "dvn_inp(*, 0, 0, 0) = 0 -> 0A",
                            "dvn_inp(*, 1, 0, 0) = 0 -> 05"}));
  // Port 0 in the right-hand field of the left pair, port 1 in the left-hand one.
  EXPECT_EQ(text({Group::txtInpDat, 0}), L"0A");
  EXPECT_EQ(text({Group::txtInpDat, 1}), L"05");
  EXPECT_EQ(text({Group::txtInpDat, 2}), L"00");
  EXPECT_EQ(text({Group::txtInpDat, 3}), L"00");
}

TEST_F(Input, InputOfDevice1WritesOnlyItsOwnFieldsOverWhatWasTyped) {
  type_into({Group::txtInpDat, 2}, L"zz");
  type_into({Group::txtInpDat, 0}, L"yy");
  click({Group::btnInp, 1});
  EXPECT_EQ(calls(), (Calls{"dvn_seldev(1, 0, 0, 0) = 0", "dvn_inp(*, 0, 0, 0) = 0 -> 00",
                            "dvn_inp(*, 1, 0, 0) = 0 -> 00"}));
  EXPECT_EQ(text({Group::txtInpDat, 2}), L"00");
  EXPECT_EQ(text({Group::txtInpDat, 3}), L"00");
  EXPECT_EQ(text({Group::txtInpDat, 0}), L"yy");
}

// --- BtnOut ----------------------------------------------------------------

struct OutputCase {
  const char* name;
  std::int16_t device;
  std::wstring port0_text;
  std::wstring port1_text;
  Calls expected;
};

void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }

class OutputFields : public PanelTest, public ::testing::WithParamInterface<OutputCase> {};

TEST_P(OutputFields, WritesTheTypedHexOfItsColumnToPort0ThenPort1) {
  const OutputCase& c = GetParam();
  const auto port0 = static_cast<std::int16_t>(2 * c.device);
  const auto port1 = static_cast<std::int16_t>(2 * c.device + 1);
  type_into({Group::txtOutDat, port0}, c.port0_text);
  type_into({Group::txtOutDat, port1}, c.port1_text);
  click({Group::BtnOut, c.device});
  EXPECT_EQ(calls(), c.expected);
  // Nothing is reformatted.
  EXPECT_EQ(text({Group::txtOutDat, port0}), c.port0_text);
  EXPECT_EQ(text({Group::txtOutDat, port1}), c.port1_text);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, OutputFields,
    ::testing::Values(OutputCase{"FF and 0F on device 0",
                                 0,
                                 L"FF",
                                 L"0F",
                                 {"dvn_seldev(0, 0, 0, 0) = 0", "dvn_out(0, 255, 0, 0) = 0",
                                  "dvn_out(1, 15, 0, 0) = 0"}},
                      OutputCase{"empty fields write 0",
                                 0,
                                 L"",
                                 L"",
                                 {"dvn_seldev(0, 0, 0, 0) = 0", "dvn_out(0, 0, 0, 0) = 0",
                                  "dvn_out(1, 0, 0, 0) = 0"}},
                      OutputCase{"100 and FFFF pass 256 and -1 on device 1",
                                 1,
                                 L"100",
                                 L"FFFF",
                                 {"dvn_seldev(1, 0, 0, 0) = 0", "dvn_out(0, 256, 0, 0) = 0",
                                  "dvn_out(1, -1, 0, 0) = 0"}},
                      OutputCase{"lower case, blanks and a stray letter",
                                 1,
                                 L" 1f",
                                 L"1G",
                                 {"dvn_seldev(1, 0, 0, 0) = 0", "dvn_out(0, 31, 0, 0) = 0",
                                  "dvn_out(1, 1, 0, 0) = 0"}}));

TEST_F(Output, OutputOfDevice1ReadsOnlyItsOwnFields) {
  type_into({Group::txtOutDat, 0}, L"11");
  type_into({Group::txtOutDat, 1}, L"22");
  click({Group::BtnOut, 1});
  EXPECT_EQ(calls(), (Calls{"dvn_seldev(1, 0, 0, 0) = 0", "dvn_out(0, 0, 0, 0) = 0",
                            "dvn_out(1, 0, 0, 0) = 0"}));
}

TEST_F(Output, AFieldBeyond32BitsIsReportedAndNothingIsWritten) {
  type_into({Group::txtOutDat, 0}, L"123456789");
  DialogCatcher catcher(GetCurrentProcessId());
  click({Group::BtnOut, 0});
  const auto box = catcher.result();
  ASSERT_TRUE(box.has_value()) << "no message box appeared";
  EXPECT_NE(box->text.find(L"123456789"), std::wstring::npos) << box->text.c_str();
  EXPECT_EQ(box->title, L"DALVENIX");
  EXPECT_FALSE(box->shows_icon);
  EXPECT_EQ(calls(), (Calls{"dvn_seldev(0, 0, 0, 0) = 0"}));
}

// --- hsbVol ----------------------------------------------------------------

struct LevelCase {
  int level;
  const char* port0_call;
  const char* port1_call;
  const wchar_t* port0_text;
  const wchar_t* port1_text;
};

void PrintTo(const LevelCase& c, std::ostream* os) { *os << "level " << c.level; }

class BarLevel : public PanelTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(BarLevel, ADroppedThumbWritesTheLevelAndShowsIt) {
  const LevelCase& c = GetParam();
  // Level 0 is the start: step away from it first so that it is a change.
  if (c.level == 0) {
    scroll(0, SB_LINERIGHT);
    clear_calls();
  }
  scroll(0, SB_THUMBPOSITION, c.level);
  EXPECT_EQ(bar_position(0), c.level);
  EXPECT_EQ(calls(), (Calls{"dvn_seldev(0, 0, 0, 0) = 0", c.port0_call, c.port1_call}));
  EXPECT_EQ(text({Group::txtOutDat, 0}), c.port0_text);
  EXPECT_EQ(text({Group::txtOutDat, 1}), c.port1_text);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, BarLevel,
    ::testing::Values(
        LevelCase{0, "dvn_out(0, 0, 0, 0) = 0", "dvn_out(1, 0, 0, 0) = 0", L"00", L"00"},
        LevelCase{1, "dvn_out(0, 1, 0, 0) = 0", "dvn_out(1, 0, 0, 0) = 0", L"01", L"00"},
        LevelCase{8, "dvn_out(0, 255, 0, 0) = 0", "dvn_out(1, 0, 0, 0) = 0", L"FF", L"00"},
        LevelCase{9, "dvn_out(0, 255, 0, 0) = 0", "dvn_out(1, 1, 0, 0) = 0", L"FF", L"01"},
        LevelCase{12, "dvn_out(0, 255, 0, 0) = 0", "dvn_out(1, 15, 0, 0) = 0", L"FF", L"0F"}));

TEST_F(Bar, TheBarOfColumn1DrivesDevice1AndWritesOnlyItsFields) {
  scroll(1, SB_PAGERIGHT);
  scroll(1, SB_PAGERIGHT);
  EXPECT_EQ(bar_position(1), 2);
  EXPECT_EQ(bar_position(0), 0);
  EXPECT_EQ(calls(), (Calls{"dvn_seldev(1, 0, 0, 0) = 0", "dvn_out(0, 1, 0, 0) = 0",
                            "dvn_out(1, 0, 0, 0) = 0", "dvn_seldev(1, 0, 0, 0) = 0",
                            "dvn_out(0, 3, 0, 0) = 0", "dvn_out(1, 0, 0, 0) = 0"}));
  EXPECT_EQ(text({Group::txtOutDat, 2}), L"03");
  EXPECT_EQ(text({Group::txtOutDat, 3}), L"00");
  EXPECT_EQ(text({Group::txtOutDat, 0}), L"00");
  EXPECT_EQ(text({Group::txtOutDat, 1}), L"00");
}

TEST_F(Bar, DraggingTheThumbWritesNothingUntilItIsDropped) {
  scroll(0, SB_THUMBTRACK, 4);
  scroll(0, SB_THUMBTRACK, 7);
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(bar_position(0), 0);
  EXPECT_EQ(text({Group::txtOutDat, 0}), L"00");

  scroll(0, SB_THUMBPOSITION, 7);
  scroll(0, SB_ENDSCROLL);
  EXPECT_EQ(calls(), (Calls{"dvn_seldev(0, 0, 0, 0) = 0", "dvn_out(0, 127, 0, 0) = 0",
                            "dvn_out(1, 0, 0, 0) = 0"}));
}

TEST_F(Bar, ANotificationThatLeavesTheValueAsItWasWritesNothing) {
  scroll(0, SB_LINELEFT);          // already at 0
  scroll(0, SB_PAGELEFT);          // still 0
  scroll(0, SB_THUMBPOSITION, 0);  // dropped where it was
  scroll(1, SB_LEFT);
  EXPECT_TRUE(calls().empty());
  scroll(0, SB_RIGHT);
  clear_calls();
  scroll(0, SB_LINERIGHT);  // already at 12
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(bar_position(0), 12);
}

TEST_F(Output, OutputRightAfterABarChangeWritesTheSameValuesAgain) {
  scroll(0, SB_THUMBPOSITION, 10);
  click({Group::BtnOut, 0});
  EXPECT_EQ(calls(), (Calls{"dvn_seldev(0, 0, 0, 0) = 0", "dvn_out(0, 255, 0, 0) = 0",
                            "dvn_out(1, 3, 0, 0) = 0", "dvn_seldev(0, 0, 0, 0) = 0",
                            "dvn_out(0, 255, 0, 0) = 0", "dvn_out(1, 3, 0, 0) = 0"}));
}

TEST_F(Unhandled, TypingIntoTheFieldsCallsNothingAndDoesNotMoveTheBar) {
  type_into({Group::txtOutDat, 0}, L"FF");
  type_into({Group::txtInpDat, 1}, L"12");
  type_into({Group::txtNo, 0}, L"9");
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(bar_position(0), 0);
}

TEST_F(Unhandled, ClicksOnLabelsCallNothing) {
  for (const auto& entry : panel::kControls) {
    if (entry.kind != panel::ControlKind::Label) continue;
    const HWND label = control(entry.id);
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  pump();
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(describe(focused()), "btnFind(0)");
}

}  // namespace
}  // namespace dalvenix::win32::testing
