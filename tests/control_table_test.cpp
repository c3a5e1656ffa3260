#include "panel/control_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dalvenix::panel {
namespace {

// The window as drawn: name, kind, text, left, top, width, height, tab order.
struct Row {
  std::string_view name;
  ControlKind kind;
  std::string_view text;
  TwipsRect twips;
  int tab_order;
};

constexpr auto B = ControlKind::Button;
constexpr auto S = ControlKind::HorizontalScrollBar;
constexpr auto T = ControlKind::TextBox;
constexpr auto L = ControlKind::Label;

constexpr std::array<Row, 21> kDrawn{{
    {"btnFind(0)", B, "dvn_find", {1320, 240, 1215, 495}, 0},
    {"btnInp(0)", B, "dvn_inp", {1320, 1080, 1215, 495}, 1},
    {"BtnOut(0)", B, "dvn_out", {1320, 1920, 1215, 495}, 2},
    {"hsbVol(0)", S, "", {1320, 2520, 1215, 255}, 3},
    {"txtOutDat(0)", T, "00", {840, 2040, 375, 270}, 4},
    {"txtInpDat(0)", T, "00", {840, 1200, 375, 270}, 5},
    {"txtOutDat(1)", T, "00", {480, 2040, 375, 270}, 6},
    {"txtInpDat(1)", T, "00", {480, 1200, 375, 270}, 7},
    {"txtInpDat(3)", T, "00", {3000, 1200, 375, 270}, 8},
    {"txtOutDat(3)", T, "00", {3000, 2040, 375, 270}, 9},
    {"txtInpDat(2)", T, "00", {3360, 1200, 375, 270}, 10},
    {"txtOutDat(2)", T, "00", {3360, 2040, 375, 270}, 11},
    {"hsbVol(1)", S, "", {3840, 2520, 1215, 255}, 12},
    {"BtnOut(1)", B, "dvn_out", {3840, 1920, 1215, 495}, 13},
    {"btnInp(1)", B, "dvn_inp", {3840, 1080, 1215, 495}, 14},
    {"txtNo(0)", T, "00", {840, 360, 375, 270}, 15},
    {"Label1", L, "\x2D\x28\xE5\x80\x8B\xE6\x95\xB0\xEF\xBC\x89", {120, 368, 615, 255}, 16},
    {"Label2", L, "InpData", {480, 840, 855, 255}, 17},
    {"Label3", L, "InpData", {3000, 840, 855, 255}, 18},
    {"Label4", L, "OutData", {480, 1680, 855, 255}, 19},
    {"Label5", L, "OutData", {3000, 1680, 855, 255}, 20},
}};

class ControlTableRow : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ControlTableRow, MatchesTheWindowAsDrawn) {
  const Row& drawn = kDrawn[GetParam()];
  const ControlSpec& control = kControls[GetParam()];
  EXPECT_EQ(control_name(control.id), drawn.name);
  EXPECT_EQ(control.kind, drawn.kind);
  EXPECT_EQ(control.text, drawn.text);
  EXPECT_EQ(control.twips, drawn.twips);
  EXPECT_EQ(control.tab_order, drawn.tab_order);
}

TEST_P(ControlTableRow, IsFoundAtItsIndexByItsId) {
  EXPECT_EQ(index_of(kControls[GetParam()].id), GetParam());
}

INSTANTIATE_TEST_SUITE_P(EveryControl, ControlTableRow, ::testing::Range<std::size_t>(0, 21));

TEST(ControlTable, AControlThePanelLacksIsNamedInTheError) {
  for (const ControlId id : {ControlId{Group::txtNo, 1}, ControlId{Group::btnFind, kNoMember},
                             ControlId{Group::Label1, 0}, ControlId{Group::txtInpDat, 4}}) {
    try {
      static_cast<void>(index_of(id));
      ADD_FAILURE() << control_name(id) << " was found";
    } catch (const std::out_of_range& error) {
      EXPECT_EQ(error.what(), "the panel has no control " + control_name(id));
    }
  }
}

TEST(ControlTable, TabOrdersZeroToTwentyEachOccurOnce) {
  std::set<int> orders;
  for (const auto& control : kControls) orders.insert(control.tab_order);
  EXPECT_EQ(orders.size(), kControls.size());
  EXPECT_EQ(*orders.begin(), 0);
  EXPECT_EQ(*orders.rbegin(), 20);
}

TEST(ControlTable, NamesAreUniqueAndOnlyLabelsStandAlone) {
  std::set<std::string> names;
  for (const auto& control : kControls) {
    names.insert(control_name(control.id));
    EXPECT_EQ(control.id.member == kNoMember, control.kind == ControlKind::Label)
        << control_name(control.id);
    EXPECT_EQ(takes_focus(control), control.kind != ControlKind::Label);
  }
  EXPECT_EQ(names.size(), kControls.size());
}

TEST(ControlTable, EveryControlLiesInsideTheClientArea) {
  for (const auto& control : kControls) {
    EXPECT_GE(control.twips.left, 0);
    EXPECT_GE(control.twips.top, 0);
    EXPECT_LE(control.twips.left + control.twips.width, kClientWidthTwips)
        << control_name(control.id);
    EXPECT_LE(control.twips.top + control.twips.height, kClientHeightTwips)
        << control_name(control.id);
  }
}

TEST(ControlTable, WindowAndBars) {
  EXPECT_EQ(kWindowCaption, "DALVENIX TEST");
  EXPECT_EQ(kClientWidthTwips, 5265);
  EXPECT_EQ(kClientHeightTwips, 2925);
  EXPECT_EQ(kBarRange.minimum, 0);
  EXPECT_EQ(kBarRange.maximum, 12);
  EXPECT_EQ(kBarRange.initial, 0);
  EXPECT_EQ(kBarRange.small_change, 1);
  EXPECT_EQ(kBarRange.large_change, 1);
}

}  // namespace
}  // namespace dalvenix::panel
