// Closing the window, in every way a person can: the unload handler frees the
// library exactly once, nothing is asked, and the message loop ends with 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_catcher.h"
#include "panel_fixture.h"

namespace dalvenix::win32::testing {
namespace {

using Calls = std::vector<std::string>;

struct CloseRoute {
  const char* name;
  void (*close)(HWND window);
};

void PrintTo(const CloseRoute& route, std::ostream* os) { *os << route.name; }

class Closing : public PanelTest, public ::testing::WithParamInterface<CloseRoute> {};

TEST_P(Closing, FreesTheLibraryOnceAndEndsTheLoopWith0) {
  const HWND window = panel().hwnd();
  GetParam().close(window);
  pump();
  EXPECT_EQ(calls(), (Calls{"dvn_free(0, 0, 0, 0) = 0"}));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(panel().hwnd(), nullptr);
  ASSERT_TRUE(quit_code_.has_value()) << "no WM_QUIT was posted";
  EXPECT_EQ(*quit_code_, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, Closing,
    ::testing::Values(
        CloseRoute{"WM_CLOSE", [](HWND window) { SendMessageW(window, WM_CLOSE, 0, 0); }},
        CloseRoute{"the system menu's Close",
                   [](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        CloseRoute{"Alt+F4 on the focused control",
                   [](HWND) {
                     // Alt held: the context bit of a system key.
                     const LPARAM alt = LPARAM{1} | (LPARAM{1} << 29) |
                                        (static_cast<LPARAM>(MapVirtualKeyW(VK_F4, 0)) << 16);
                     PostMessageW(GetFocus(), WM_SYSKEYDOWN, VK_F4, alt);
                   }},
        CloseRoute{"WM_CLOSE twice", [](HWND window) {
                     PostMessageW(window, WM_CLOSE, 0, 0);
                     PostMessageW(window, WM_CLOSE, 0, 0);
                   }}));

using Closed = PanelTest;

TEST_F(Closed, AfterUseTheLibraryIsFreedOnceAtTheEnd) {
  click({panel::Group::btnFind, 0});
  SendMessageW(panel().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(calls(), (Calls{"dvn_find(0, 0, 0, 0) = 0", "dvn_getdevs(0, 0, 0, 0) = 2",
                            "dvn_free(0, 0, 0, 0) = 0"}));
}

TEST_F(Closed, TheEndOfTheSessionFreesTheLibraryOnceEvenIfTheWindowIsClosedToo) {
  const HWND window = panel().hwnd();
  SendMessageW(window, WM_QUERYENDSESSION, 0, 0);
  SendMessageW(window, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(calls(), (Calls{"dvn_free(0, 0, 0, 0) = 0"}));
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(calls(), (Calls{"dvn_free(0, 0, 0, 0) = 0"}));
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(Closed, ACancelledEndOfSessionFreesNothing) {
  SendMessageW(panel().hwnd(), WM_ENDSESSION, FALSE, 0);
  EXPECT_TRUE(calls().empty());
}

// No board attached: btnFind's handler shows "USB未接続", and what was posted
// before the click arrives while that box is up.
class DeferredClosing : public PanelTest {
 protected:
  DeferredClosing() : PanelTest(L"0") {}
};

TEST_F(DeferredClosing, ACloseWhileAMessageIsUpWaitsForTheBoxAndEventsMeanwhileDoNothing) {
  const HWND window = panel().hwnd();
  PostMessageW(window, WM_CLOSE, 0, 0);
  PostMessageW(control({panel::Group::btnInp, 0}), BM_CLICK, 0, 0);
  PostMessageW(window, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0),
               reinterpret_cast<LPARAM>(control({panel::Group::hsbVol, 1})));
  DialogCatcher catcher(GetCurrentProcessId());
  SendMessageW(control({panel::Group::btnFind, 0}), BM_CLICK, 0, 0);  // returns with the box
  ASSERT_TRUE(catcher.result().has_value()) << "no message box appeared";
  EXPECT_TRUE(IsWindow(window)) << "the window went while the box was up";
  EXPECT_EQ(calls(), (Calls{"dvn_find(0, 0, 0, 0) = 1"}));
  EXPECT_EQ(bar_position(1), 0) << "the bar moved while the box was up";

  pump();
  EXPECT_EQ(calls(), (Calls{"dvn_find(0, 0, 0, 0) = 1", "dvn_free(0, 0, 0, 0) = 0"}));
  EXPECT_FALSE(IsWindow(window));
  ASSERT_TRUE(quit_code_.has_value()) << "no WM_QUIT was posted";
  EXPECT_EQ(*quit_code_, 0);
}

}  // namespace
}  // namespace dalvenix::win32::testing
