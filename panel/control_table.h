// frmMain as data: the window, every control with its group, member index,
// kind, caption or initial text, position in twips and tab order, and the
// scroll bars' range. Both front-ends build the window from this table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dalvenix::panel {

// The control groups and the single labels.
enum class Group : std::uint8_t {
  btnFind,
  btnInp,
  BtnOut,
  hsbVol,
  txtOutDat,
  txtInpDat,
  txtNo,
  Label1,
  Label2,
  Label3,
  Label4,
  Label5,
};

std::string_view group_name(Group group);

// The member index single labels carry: they belong to no group.
inline constexpr std::int16_t kNoMember = -1;

struct ControlId {
  Group group;
  std::int16_t member;
  friend constexpr bool operator==(const ControlId&, const ControlId&) = default;
};

enum class ControlKind : std::uint8_t { Button, HorizontalScrollBar, TextBox, Label };

// A rectangle from the top-left corner of the client area, in the unit the
// tag names: the table's twips, or pixels once converted (panel/twips.h).
template <class Unit>
struct Rect {
  int left;
  int top;
  int width;
  int height;
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};
struct Twips;  // 1/1440 inch
using TwipsRect = Rect<Twips>;

struct ControlSpec {
  ControlId id;
  ControlKind kind;
  std::string_view text;  // caption or initial text; empty for scroll bars
  TwipsRect twips;        // from the top-left corner of the client area
  int tab_order;          // labels have one too, but never take the focus
};

inline constexpr std::string_view kWindowCaption = "DALVENIX TEST";
inline constexpr int kClientWidthTwips = 5265;
inline constexpr int kClientHeightTwips = 2925;

// Both hsbVol bars.
struct ScrollRange {
  int minimum;
  int maximum;
  int initial;
  int small_change;  // per arrow
  int large_change;  // per trough click
};
inline constexpr ScrollRange kBarRange{0, 12, 0, 1, 1};

// Every control, in tab order. The front-ends rely on it: Win32's dialog
// manager moves the focus in creation order, and Qt's tab chain is set in
// the table's order.
inline constexpr std::array<ControlSpec, 21> kControls{{
    {{Group::btnFind, 0}, ControlKind::Button, "dvn_find", {1320, 240, 1215, 495}, 0},
    {{Group::btnInp, 0}, ControlKind::Button, "dvn_inp", {1320, 1080, 1215, 495}, 1},
    {{Group::BtnOut, 0}, ControlKind::Button, "dvn_out", {1320, 1920, 1215, 495}, 2},
    {{Group::hsbVol, 0}, ControlKind::HorizontalScrollBar, "", {1320, 2520, 1215, 255}, 3},
    {{Group::txtOutDat, 0}, ControlKind::TextBox, "00", {840, 2040, 375, 270}, 4},
    {{Group::txtInpDat, 0}, ControlKind::TextBox, "00", {840, 1200, 375, 270}, 5},
    {{Group::txtOutDat, 1}, ControlKind::TextBox, "00", {480, 2040, 375, 270}, 6},
    {{Group::txtInpDat, 1}, ControlKind::TextBox, "00", {480, 1200, 375, 270}, 7},
    {{Group::txtInpDat, 3}, ControlKind::TextBox, "00", {3000, 1200, 375, 270}, 8},
    {{Group::txtOutDat, 3}, ControlKind::TextBox, "00", {3000, 2040, 375, 270}, 9},
    {{Group::txtInpDat, 2}, ControlKind::TextBox, "00", {3360, 1200, 375, 270}, 10},
    {{Group::txtOutDat, 2}, ControlKind::TextBox, "00", {3360, 2040, 375, 270}, 11},
    {{Group::hsbVol, 1}, ControlKind::HorizontalScrollBar, "", {3840, 2520, 1215, 255}, 12},
    {{Group::BtnOut, 1}, ControlKind::Button, "dvn_out", {3840, 1920, 1215, 495}, 13},
    {{Group::btnInp, 1}, ControlKind::Button, "dvn_inp", {3840, 1080, 1215, 495}, 14},
    {{Group::txtNo, 0}, ControlKind::TextBox, "00", {840, 360, 375, 270}, 15},
    // A hyphen, an ASCII "(", 個数 and a full-width "）".
    {{Group::Label1, kNoMember}, ControlKind::Label, "-(個数）", {120, 368, 615, 255}, 16},
    {{Group::Label2, kNoMember}, ControlKind::Label, "InpData", {480, 840, 855, 255}, 17},
    {{Group::Label3, kNoMember}, ControlKind::Label, "InpData", {3000, 840, 855, 255}, 18},
    {{Group::Label4, kNoMember}, ControlKind::Label, "OutData", {480, 1680, 855, 255}, 19},
    {{Group::Label5, kNoMember}, ControlKind::Label, "OutData", {3000, 1680, 855, 255}, 20},
}};

// Whether every control stands at the index of its tab order.
constexpr bool lists_in_tab_order(const std::array<ControlSpec, kControls.size()>& controls) {
  for (std::size_t index = 0; index < controls.size(); ++index) {
    if (controls[index].tab_order != static_cast<int>(index)) return false;
  }
  return true;
}
static_assert(lists_in_tab_order(kControls),
              "the control table must list the controls in tab order");

// The control's index in kControls; throws std::out_of_range naming a control
// the panel does not have.
std::size_t index_of(ControlId id);

// Whether the control takes the keyboard focus (every kind but labels).
constexpr bool takes_focus(const ControlSpec& control) {
  return control.kind != ControlKind::Label;
}

// "btnInp(1)", "Label1": the control's name as the code and messages use it.
std::string control_name(ControlId id);

}  // namespace dalvenix::panel
