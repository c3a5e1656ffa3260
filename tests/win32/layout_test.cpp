// The conversions behind the window's geometry and its bars, without a window.
#include <gtest/gtest.h>

#include "panel/control_table.h"
#include "win32/layout.h"
#include "win32/scroll_step.h"

namespace dalvenix::win32 {
namespace {

TEST(ControlRect, ConvertsPositionAndSizeEachOnItsOwn) {
  // 3360 + 375 twips at 144 DPI: 336 + 37.5; the right edge follows the
  // rounded width, so every 375-twip field is equally wide.
  const RECT rect = control_rect({3360, 2040, 375, 270}, 144);
  EXPECT_EQ(rect.left, 336);
  EXPECT_EQ(rect.top, 204);
  EXPECT_EQ(rect.right - rect.left, 38);
  EXPECT_EQ(rect.bottom - rect.top, 27);
}

TEST(ClientSize, Is5265By2925Twips) {
  EXPECT_EQ(client_size(96).cx, 351);
  EXPECT_EQ(client_size(96).cy, 195);
  EXPECT_EQ(client_size(192).cx, 702);
  EXPECT_EQ(client_size(192).cy, 390);
}

struct ScrollCase {
  const char* name;
  int code;
  int current;
  int thumb;
  std::optional<int> target;
};

void PrintTo(const ScrollCase& c, std::ostream* os) { *os << c.name; }

class ScrollTarget : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(ScrollTarget, MovesWithinZeroToTwelve) {
  EXPECT_EQ(scroll_target(GetParam().code, GetParam().current, GetParam().thumb, panel::kBarRange),
            GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ScrollTarget,
    ::testing::Values(ScrollCase{"line right", SB_LINERIGHT, 3, 0, 4},
                      ScrollCase{"line left", SB_LINELEFT, 3, 0, 2},
                      ScrollCase{"page right moves by one", SB_PAGERIGHT, 3, 0, 4},
                      ScrollCase{"page left moves by one", SB_PAGELEFT, 3, 0, 2},
                      ScrollCase{"line left stops at 0", SB_LINELEFT, 0, 0, 0},
                      ScrollCase{"page right stops at 12", SB_PAGERIGHT, 12, 0, 12},
                      ScrollCase{"thumb released", SB_THUMBPOSITION, 3, 9, 9},
                      ScrollCase{"thumb released beyond the end", SB_THUMBPOSITION, 3, 40, 12},
                      ScrollCase{"Home", SB_LEFT, 7, 0, 0}, ScrollCase{"End", SB_RIGHT, 7, 0, 12},
                      ScrollCase{"thumb still dragged", SB_THUMBTRACK, 3, 9, std::nullopt},
                      ScrollCase{"end of scrolling", SB_ENDSCROLL, 3, 0, std::nullopt}));

}  // namespace
}  // namespace dalvenix::win32
