// One real panel window per test, in this process and on this thread, bound to
// the real stand-in dalvenix.dll beside this program, with a trace file of its
// own. Input reaches the window as it would from a person: posted keystrokes
// go through the message loop's dialog manager, clicks through the buttons.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/dalvenix_library.h"
#include "environment.h"
#include "panel/control_table.h"
#include "win32/panel_window.h"

namespace dalvenix::win32::testing {

class PanelTest : public ::testing::Test {
 protected:
  explicit PanelTest(const std::wstring& devices = L"2");
  void SetUp() override;
  void TearDown() override;

  PanelWindow& panel() { return *window_; }
  HWND control(panel::ControlId id) { return window_->control(id); }
  std::wstring text(panel::ControlId id);

  // Handles every message waiting for this thread through the program's own
  // dispatching; remembers a WM_QUIT and its exit code.
  void pump();
  // Pumps until the condition holds or the time is up; returns the condition.
  bool pump_until(const std::function<bool()>& condition,
                  std::chrono::milliseconds timeout = std::chrono::seconds(5));

  // A mouse click on the button, as the button itself carries it out.
  void click(panel::ControlId button);
  // A key pressed and released on the focused control, with Shift held if asked.
  void press(UINT key, bool shift = false);
  // Types the text into the box as keystrokes, replacing what it showed.
  void type_into(panel::ControlId box, const std::wstring& typed);
  // A WM_HSCROLL from hsbVol(member) to the window.
  void scroll(std::int16_t member, int code, int thumb = 0);
  int bar_position(std::int16_t member);
  // The control with the keyboard focus, if it is one of the panel's.
  std::optional<panel::ControlId> focused();

  std::vector<std::string> calls() const { return trace_.calls(); }
  void clear_calls() const { trace_.clear(); }

  std::optional<int> quit_code_;

 private:
  TraceFile trace_;
  ScopedVariable devices_;
  device::DalvenixLibrary library_;  // outlives the window that calls it
  std::optional<PanelWindow> window_;
};

// "btnInp(1)" for a focus that is a panel control, "none" otherwise.
std::string describe(const std::optional<panel::ControlId>& id);

}  // namespace dalvenix::win32::testing
