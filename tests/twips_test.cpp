#include "panel/twips.h"

#include <gtest/gtest.h>

#include "panel/control_table.h"

namespace dalvenix::panel {
namespace {

struct TwipsCase {
  int twips;
  int dpi;
  int pixels;
};

void PrintTo(const TwipsCase& c, std::ostream* os) {
  *os << c.twips << " twips at " << c.dpi << " dpi";
}

class TwipsToPixels : public ::testing::TestWithParam<TwipsCase> {};

TEST_P(TwipsToPixels, ScalesByTheDpiAndRoundsToTheNearestPixel) {
  EXPECT_EQ(twips_to_pixels(GetParam().twips, GetParam().dpi), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(Dpis, TwipsToPixels,
                         ::testing::Values(
                             // 15 twips a pixel at 96 DPI: the client area is 351 x 195.
                             TwipsCase{15, 96, 1}, TwipsCase{1215, 96, 81},
                             TwipsCase{kClientWidthTwips, 96, 351},
                             TwipsCase{kClientHeightTwips, 96, 195},
                             // Label1's top, 24.53 pixels at 96 DPI, and a half pixel at 144 DPI.
                             TwipsCase{368, 96, 25}, TwipsCase{1215, 144, 122},
                             TwipsCase{5265, 144, 527}, TwipsCase{1215, 120, 101},
                             TwipsCase{1215, 192, 162}, TwipsCase{0, 192, 0}));

TEST(TwipsRectToPixels, ConvertsPositionAndSizeEachOnItsOwn) {
  // 3360 + 375 twips at 144 DPI: 336 + 37.5, so the width rounds by itself and
  // every 375-twip field is equally wide.
  EXPECT_EQ(to_pixels({3360, 2040, 375, 270}, 144), (PixelRect{336, 204, 38, 27}));
  EXPECT_EQ(to_pixels({3000, 2040, 375, 270}, 144), (PixelRect{300, 204, 38, 27}));
}

}  // namespace
}  // namespace dalvenix::panel
