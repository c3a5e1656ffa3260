// The freshly created window: its frame, its 21 controls, their texts, kinds,
// places at 96 DPI and after a DPI change, and their fonts.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "device/windows_text.h"
#include "drawn_text.h"
#include "panel/main_window.h"
#include "panel_fixture.h"

namespace dalvenix::win32::testing {
namespace {

using panel::ControlId;
using panel::Group;
using panel::kNoMember;

std::wstring class_name(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

RECT client_rect_of(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LOGFONTW font_of(HWND window) {
  LOGFONTW font{};
  const auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  EXPECT_NE(handle, nullptr);
  GetObjectW(handle, sizeof font, &font);
  return font;
}

using InitialState = PanelTest;

TEST_F(InitialState, TheWindowHasItsCaptionASystemMenuAndNoMenuBar) {
  const HWND window = panel().hwnd();
  wchar_t caption[64] = {};
  GetWindowTextW(window, caption, 64);
  EXPECT_STREQ(caption, L"DALVENIX TEST");
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetMenu(window), nullptr);
  EXPECT_NE(GetSystemMenu(window, FALSE), nullptr);
}

TEST_F(InitialState, NineTextBoxesShow00AndBothBarsStandAt0OfRange0To12) {
  for (const auto& entry : panel::kControls) {
    if (entry.kind != panel::ControlKind::TextBox) continue;
    EXPECT_EQ(text(entry.id), L"00") << panel::control_name(entry.id);
  }
  for (const std::int16_t member : {0, 1}) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(control({Group::hsbVol, member}), SB_CTL, &info));
    EXPECT_EQ(info.nPos, 0) << "hsbVol(" << member << ")";
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 12);
    EXPECT_EQ(panel().bar_value(member), 0);
  }
}

TEST_F(InitialState, NoLibraryCallIsMadeAndTheLibraryIsNotEvenLoaded) {
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(GetModuleHandleW(L"dalvenix.dll"), nullptr);
}

struct ControlCase {
  ControlId id;
  const wchar_t* window_class;
  const wchar_t* text;
  RECT pixels_at_96_dpi;  // left, top, right, bottom in the client area
};

void PrintTo(const ControlCase& c, std::ostream* os) { *os << panel::control_name(c.id); }

// Every control with its standard class, caption and rectangle at 96 DPI,
// worked out by hand from the twips (15 a pixel, rounded).
constexpr std::array<ControlCase, 21> kExpectedControls{{
    {{Group::btnFind, 0}, L"Button", L"dvn_find", {88, 16, 169, 49}},
    {{Group::btnInp, 0}, L"Button", L"dvn_inp", {88, 72, 169, 105}},
    {{Group::BtnOut, 0}, L"Button", L"dvn_out", {88, 128, 169, 161}},
    {{Group::hsbVol, 0}, L"ScrollBar", L"", {88, 168, 169, 185}},
    {{Group::txtOutDat, 0}, L"Edit", L"00", {56, 136, 81, 154}},
    {{Group::txtInpDat, 0}, L"Edit", L"00", {56, 80, 81, 98}},
    {{Group::txtOutDat, 1}, L"Edit", L"00", {32, 136, 57, 154}},
    {{Group::txtInpDat, 1}, L"Edit", L"00", {32, 80, 57, 98}},
    {{Group::txtInpDat, 3}, L"Edit", L"00", {200, 80, 225, 98}},
    {{Group::txtOutDat, 3}, L"Edit", L"00", {200, 136, 225, 154}},
    {{Group::txtInpDat, 2}, L"Edit", L"00", {224, 80, 249, 98}},
    {{Group::txtOutDat, 2}, L"Edit", L"00", {224, 136, 249, 154}},
    {{Group::hsbVol, 1}, L"ScrollBar", L"", {256, 168, 337, 185}},
    {{Group::BtnOut, 1}, L"Button", L"dvn_out", {256, 128, 337, 161}},
    {{Group::btnInp, 1}, L"Button", L"dvn_inp", {256, 72, 337, 105}},
    {{Group::txtNo, 0}, L"Edit", L"00", {56, 24, 81, 42}},
    {{Group::Label1, kNoMember}, L"Static", L"-(\u500B\u6570\uFF09", {8, 25, 49, 42}},
    {{Group::Label2, kNoMember}, L"Static", L"InpData", {32, 56, 89, 73}},
    {{Group::Label3, kNoMember}, L"Static", L"InpData", {200, 56, 257, 73}},
    {{Group::Label4, kNoMember}, L"Static", L"OutData", {32, 112, 89, 129}},
    {{Group::Label5, kNoMember}, L"Static", L"OutData", {200, 112, 257, 129}},
}};

class EachControl : public PanelTest, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(EachControl, IsAStandardControlWithItsTextAtItsPlace) {
  const ControlCase& expected = GetParam();
  const HWND child = control(expected.id);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetParent(child), panel().hwnd());
  EXPECT_EQ(_wcsicmp(class_name(child).c_str(), expected.window_class), 0) << class_name(child);
  EXPECT_EQ(text(expected.id), expected.text);
  const RECT rect = client_rect_of(child);
  EXPECT_EQ(rect.left, expected.pixels_at_96_dpi.left);
  EXPECT_EQ(rect.top, expected.pixels_at_96_dpi.top);
  EXPECT_EQ(rect.right, expected.pixels_at_96_dpi.right);
  EXPECT_EQ(rect.bottom, expected.pixels_at_96_dpi.bottom);
  EXPECT_TRUE(IsWindowVisible(child));
}

INSTANTIATE_TEST_SUITE_P(Table, EachControl, ::testing::ValuesIn(kExpectedControls));

TEST_F(InitialState, TheClientAreaIs351By195PixelsAt96Dpi) {
  RECT client;
  GetClientRect(panel().hwnd(), &client);
  EXPECT_EQ(client.right, 351);
  EXPECT_EQ(client.bottom, 195);
}

TEST_F(InitialState, ControlsAreCreatedInTabOrderWithTabStopsOnAllButLabels) {
  // The dialog manager's order is the children's order.
  HWND child = GetWindow(panel().hwnd(), GW_CHILD);
  for (const auto& entry : panel::kControls) {
    ASSERT_EQ(child, control(entry.id)) << panel::control_name(entry.id) << " is out of order";
    const bool tab_stop = (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) != 0;
    EXPECT_EQ(tab_stop, entry.kind != panel::ControlKind::Label) << panel::control_name(entry.id);
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "the window has more children than the table";
}

TEST_F(InitialState, ButtonsArePushButtonsAndBarsAreHorizontal) {
  for (const auto& entry : panel::kControls) {
    const LONG style = GetWindowLongW(control(entry.id), GWL_STYLE);
    if (entry.kind == panel::ControlKind::Button) {
      EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << panel::control_name(entry.id);
    } else if (entry.kind == panel::ControlKind::HorizontalScrollBar) {
      EXPECT_EQ(style & SBS_VERT, 0) << panel::control_name(entry.id);
    } else if (entry.kind == panel::ControlKind::TextBox) {
      EXPECT_EQ(style & ES_MULTILINE, 0) << panel::control_name(entry.id);
      EXPECT_EQ(style & ES_READONLY, 0) << panel::control_name(entry.id);
    }
  }
}

TEST_F(InitialState, TextBoxesTakeTextLongerThanTheDefaultLimit) {
  // A single-line EDIT takes 30000 characters unless told otherwise.
  for (const auto& entry : panel::kControls) {
    if (entry.kind != panel::ControlKind::TextBox) continue;
    const auto limit = SendMessageW(control(entry.id), EM_GETLIMITTEXT, 0, 0);
    EXPECT_GT(limit, 30000) << panel::control_name(entry.id);
  }
  // And it shows: a pasted text of 40000 characters stays whole (a paste
  // keeps to the limit as typing does), and typing goes on after it.
  const HWND box = control({Group::txtOutDat, 0});
  const std::wstring long_text(40000, L'7');
  SendMessageW(box, EM_SETSEL, 0, -1);
  SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(long_text.c_str()));
  SetFocus(box);
  PostMessageW(box, WM_CHAR, L'8', 1);
  pump();
  const std::wstring shown = text({Group::txtOutDat, 0});
  EXPECT_EQ(shown.size(), long_text.size() + 1);
  EXPECT_EQ(shown.back(), L'8');
}

TEST_F(InitialState, EveryControlWithATextUsesTheMessageFont) {
  // So that the panel looks like the system's own dialogs.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  for (const auto& entry : panel::kControls) {
    if (entry.kind == panel::ControlKind::HorizontalScrollBar) continue;  // no text, no font
    EXPECT_STREQ(font_of(control(entry.id)).lfFaceName, metrics.lfMessageFont.lfFaceName)
        << panel::control_name(entry.id);
  }
}

TEST_F(InitialState, EveryControlDrawsEachCharacterOfItsTextAsAGlyph) {
  // Label1's 個数 and ） too, which a Western message font lacks: Windows
  // draws them from the faces linked to it.
  for (const auto& entry : panel::kControls) {
    if (entry.kind == panel::ControlKind::HorizontalScrollBar) continue;  // no text
    EXPECT_EQ(characters_drawn_as_boxes(control(entry.id)), L"") << panel::control_name(entry.id);
  }
  EXPECT_EQ(text({Group::Label1, kNoMember}), L"-(\u500B\u6570\uFF09") << "the text is back";
}

using Glyphs = PanelTest;

TEST_F(Glyphs, ACharacterNoLinkedFaceHasIsSeenAsABox) {
  // The check above would pass for any text if it never told a box from a
  // glyph: Ethiopic is neither in the message font nor in the faces linked to it.
  const HWND label = control({Group::Label1, kNoMember});
  ASSERT_TRUE(SetWindowTextW(label, L"-(\u1200\u6570\uFF09"));
  EXPECT_EQ(characters_drawn_as_boxes(label), L"\u1200");
}

TEST_F(InitialState, ADpiChangeLaysTheControlsOutAgainAtTheNewDpi) {
  const LONG height_at_96 = font_of(control({Group::btnFind, 0})).lfHeight;
  RECT suggested;
  GetWindowRect(panel().hwnd(), &suggested);
  suggested.right = suggested.left + (suggested.right - suggested.left) * 3 / 2;
  suggested.bottom = suggested.top + (suggested.bottom - suggested.top) * 3 / 2;
  SendMessageW(panel().hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  pump();

  // btnFind (1320, 240, 1215, 495) and Label1 (120, 368, 615, 255) at 144 DPI.
  const RECT button = client_rect_of(control({Group::btnFind, 0}));
  EXPECT_EQ(button.left, 132);
  EXPECT_EQ(button.top, 24);
  EXPECT_EQ(button.right - button.left, 122);
  EXPECT_EQ(button.bottom - button.top, 50);
  const RECT label = client_rect_of(control({Group::Label1, kNoMember}));
  EXPECT_EQ(label.left, 12);
  EXPECT_EQ(label.top, 37);
  EXPECT_EQ(label.right - label.left, 62);

  RECT window;
  GetWindowRect(panel().hwnd(), &window);
  EXPECT_EQ(window.right - window.left, suggested.right - suggested.left);
  EXPECT_EQ(window.bottom - window.top, suggested.bottom - suggested.top);
  EXPECT_GT(std::abs(font_of(control({Group::btnFind, 0})).lfHeight), std::abs(height_at_96));
  // The label takes the new font too, and still draws every character of it.
  EXPECT_EQ(font_of(control({Group::Label1, kNoMember})).lfHeight,
            font_of(control({Group::btnFind, 0})).lfHeight);
  EXPECT_EQ(characters_drawn_as_boxes(control({Group::Label1, kNoMember})), L"");
}

}  // namespace
}  // namespace dalvenix::win32::testing
