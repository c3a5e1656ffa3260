// Focus and keyboard: dialog-style navigation through the message loop's
// IsDialogMessageW, as a person uses the panel without a mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel_fixture.h"

namespace dalvenix::win32::testing {
namespace {

using panel::ControlId;
using panel::Group;

using Keyboard = PanelTest;

TEST_F(Keyboard, TheFocusStartsOnBtnFind) { EXPECT_EQ(describe(focused()), "btnFind(0)"); }

TEST_F(Keyboard, TabVisitsTabOrder1To15AndReturnsToBtnFind) {
  std::vector<std::string> visited;
  for (int step = 0; step < 16; ++step) {
    press(VK_TAB);
    visited.push_back(describe(focused()));
  }
  EXPECT_EQ(visited,
            (std::vector<std::string>{
                "btnInp(0)", "BtnOut(0)", "hsbVol(0)", "txtOutDat(0)", "txtInpDat(0)",
                "txtOutDat(1)", "txtInpDat(1)", "txtInpDat(3)", "txtOutDat(3)", "txtInpDat(2)",
                "txtOutDat(2)", "hsbVol(1)", "BtnOut(1)", "btnInp(1)", "txtNo(0)", "btnFind(0)"}));
}

TEST_F(Keyboard, ShiftTabGoesBackwards) {
  std::vector<std::string> visited;
  for (int step = 0; step < 3; ++step) {
    press(VK_TAB, /*shift=*/true);
    visited.push_back(describe(focused()));
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"txtNo(0)", "btnInp(1)", "BtnOut(1)"}));
}

TEST_F(Keyboard, TabbingDoesNothingButMoveTheFocus) {
  for (int step = 0; step < 16; ++step) press(VK_TAB);
  EXPECT_TRUE(calls().empty());
}

TEST_F(Keyboard, SpaceOnTheFocusedButtonClicksIt) {
  press(VK_SPACE);
  EXPECT_EQ(calls(),
            (std::vector<std::string>{"dvn_find(0, 0, 0, 0) = 0", "dvn_getdevs(0, 0, 0, 0) = 2"}));
  EXPECT_EQ(text({Group::txtNo, 0}), L"2");
}

TEST_F(Keyboard, ArrowKeysOnAFocusedBarMoveItAndWriteTheLevel) {
  for (int step = 0; step < 3; ++step) press(VK_TAB);
  ASSERT_EQ(describe(focused()), "hsbVol(0)");

  press(VK_RIGHT);
  EXPECT_EQ(bar_position(0), 1);
  press(VK_RIGHT);
  EXPECT_EQ(bar_position(0), 2);
  press(VK_LEFT);
  EXPECT_EQ(bar_position(0), 1);
  EXPECT_EQ(calls(),
            (std::vector<std::string>{"dvn_seldev(0, 0, 0, 0) = 0", "dvn_out(0, 1, 0, 0) = 0",
                                      "dvn_out(1, 0, 0, 0) = 0",  // level 1
                                      "dvn_seldev(0, 0, 0, 0) = 0", "dvn_out(0, 3, 0, 0) = 0",
                                      "dvn_out(1, 0, 0, 0) = 0",  // level 2
                                      "dvn_seldev(0, 0, 0, 0) = 0", "dvn_out(0, 1, 0, 0) = 0",
                                      "dvn_out(1, 0, 0, 0) = 0"}));  // level 1
  EXPECT_EQ(describe(focused()), "hsbVol(0)") << "an arrow must not move the focus";
}

TEST_F(Keyboard, EndAndHomeOnAFocusedBarGoToTheEnds) {
  for (int step = 0; step < 12; ++step) press(VK_TAB);
  ASSERT_EQ(describe(focused()), "hsbVol(1)");

  press(VK_END);
  EXPECT_EQ(bar_position(1), 12);
  EXPECT_EQ(text({Group::txtOutDat, 2}), L"FF");
  EXPECT_EQ(text({Group::txtOutDat, 3}), L"0F");
  press(VK_HOME);
  EXPECT_EQ(bar_position(1), 0);
  EXPECT_EQ(text({Group::txtOutDat, 2}), L"00");
  EXPECT_EQ(text({Group::txtOutDat, 3}), L"00");
  // Home again changes nothing, so nothing is written.
  clear_calls();
  press(VK_HOME);
  EXPECT_TRUE(calls().empty());
}

TEST_F(Keyboard, TheFocusComesBackToItsControlWhenTheWindowIsActivatedAgain) {
  press(VK_TAB);
  press(VK_TAB);
  ASSERT_EQ(describe(focused()), "BtnOut(0)");

  // Another window of this thread takes the activation, then gives it back.
  const HWND other =
      CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetActiveWindow(other);
  pump();
  EXPECT_EQ(GetActiveWindow(), other);
  EXPECT_EQ(focused(), std::nullopt);
  SetActiveWindow(panel().hwnd());
  pump();
  EXPECT_EQ(describe(focused()), "BtnOut(0)");
  DestroyWindow(other);
}

}  // namespace
}  // namespace dalvenix::win32::testing
