// frmMain's event handlers, free of any toolkit: each takes the member index
// of the control that raised the event, talks to the device library and
// updates the window through PanelView.
//
// A handler that meets a library failure stops at once, with nothing more
// written, and lets the LibraryError through; front-ends run handlers through
// run_guarded (panel/fatal_error.h), which reports it and ends the program.
#pragma once

#include <cstdint>
#include <string_view>

#include "device/io_library.h"
#include "panel/control_table.h"
#include "panel/panel_view.h"
#include "panel/version.h"

namespace dalvenix::panel {

inline constexpr std::string_view kNotConnectedMessage = "USB未接続";

class MainWindow {
 public:
  MainWindow(PanelView& view, device::IoLibrary& library) : view_(view), library_(library) {}

  // Finds the devices and shows their number in txtNo(member), or tells the
  // user that none is connected.
  void on_btnFind_click(std::int16_t member);
  // Reads both ports of device d into txtInpDat(2d) and txtInpDat(2d+1).
  void on_btnInp_click(std::int16_t device);
  // Writes txtOutDat(2d) to port 0 and txtOutDat(2d+1) to port 1 of device d.
  void on_BtnOut_click(std::int16_t device);
  // Writes the bar level of hsbVol(d) across both ports of device d and shows
  // what was written in txtOutDat(2d) and txtOutDat(2d+1).
  void on_hsbVol_change(std::int16_t device);
  // The window is unloading: releases the library. Never refuses.
  void on_unload();

  // Routes a click to the handler of the control's group; clicks on anything
  // but the three button groups are not handled.
  void on_click(ControlId control);

 private:
  void select_device(std::int16_t device);

  PanelView& view_;
  device::IoLibrary& library_;
};

// The 12-bit pattern with the lowest `level` bits set, split across the two
// ports: the low 8 bits for port 0, the high 4 for port 1.
struct BarPattern {
  std::int32_t port0;
  std::int32_t port1;
  friend constexpr bool operator==(const BarPattern&, const BarPattern&) = default;
};
// Throws std::out_of_range for a level outside 0..12.
BarPattern bar_pattern(std::int16_t level);

}  // namespace dalvenix::panel
