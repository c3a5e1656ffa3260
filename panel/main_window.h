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

namespace dalvenix::panel {

inline constexpr std::string_view kApplicationTitle = "DALVENIX";
inline constexpr std::string_view kApplicationVersion = "1.00";
inline constexpr std::string_view kNotConnectedMessage = "USB未接続";

class MainWindow {
 public:
  MainWindow(PanelView& view, device::IoLibrary& library) : view_(view), library_(library) {}

  // --- the handlers ----------------------------------------------------------

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
  // The window is unloading: releases the library, at most once per window
  // however often it is called. Never refuses.
  void on_unload();

  // --- events as the front-ends deliver them ---------------------------------
  //
  // Handlers run one at a time, each to its end. A handler's message box runs
  // the window's events while it is up; those events must not start another
  // handler or take the window away under the one that is running.

  // Whether a control's event is handled now: not while a handler runs, and
  // not once the window is closing. A front-end leaves a control as it was
  // for an event that is not handled (a scroll bar does not move).
  [[nodiscard]] bool accepts_events() const noexcept { return !running_ && !closing_; }
  // Routes a click to the handler of the control's group; clicks on anything
  // but the three button groups are not handled, nor any while
  // accepts_events() is false.
  void on_click(ControlId control);
  // A change of the value of hsbVol(member), handled as on_click is.
  void on_bar_change(std::int16_t member);
  // Someone asks the window to close: its close button, the system menu, a
  // signal or the window system. When the window may go now, releases the
  // library and returns true. While a handler runs, returns false and
  // remembers the request: once the handler has returned, the view's
  // close_window() asks again, and the window goes then.
  [[nodiscard]] bool on_close_request();
  // The session is ending and the program with it, without a close: releases
  // the library (once) and handles no further event.
  void on_session_end();

 private:
  void select_device(std::int16_t device);
  // Runs a handler through the gate described above.
  template <class Handler>
  void handle_event(const Handler& handler);

  PanelView& view_;
  device::IoLibrary& library_;
  bool running_ = false;        // a handler is running (its message box may be up)
  bool closing_ = false;        // a close was asked for, or the session is ending
  bool close_pending_ = false;  // asked for while a handler ran; not carried out yet
  bool unloaded_ = false;       // dvn_free has been called
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
