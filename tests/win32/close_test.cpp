// Closing the window, in every way a person can: the unload handler frees the
// library exactly once, nothing is asked, and the message loop ends with 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
}  // namespace dalvenix::win32::testing
