// frmMain as a native window: the control table's controls as standard
// BUTTON, EDIT, SCROLLBAR and STATIC children, laid out at the window's DPI,
// with every event handed to the core's handlers through run_guarded.
//
// The window procedure only dispatches: each message it handles has one small
// on_xxx member. The object is attached to its window on WM_NCCREATE and
// detached on WM_NCDESTROY.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "device/io_library.h"
#include "panel/control_table.h"
#include "panel/main_window.h"
#include "panel/panel_view.h"
#include "win32/panel_fonts.h"

namespace dalvenix::win32 {

class PanelWindow final : public panel::PanelView {
 public:
  // Creates the window, hidden, with every control at its initial value.
  // Touches nothing of the library. Throws Win32Error when Windows cannot
  // make the window or one of its controls.
  PanelWindow(HINSTANCE instance, device::IoLibrary& library);
  ~PanelWindow() override;
  PanelWindow(const PanelWindow&) = delete;
  PanelWindow& operator=(const PanelWindow&) = delete;

  void show(int show_command);

  // Null once the window is destroyed.
  HWND hwnd() const noexcept { return hwnd_; }
  // The child window of a control; throws std::out_of_range for an id that
  // is not in the control table.
  HWND control(panel::ControlId id) const;
  // The control a child window is, if it is one of the panel's.
  std::optional<panel::ControlId> control_id(HWND child) const;

  // PanelView
  std::string output_text(std::int16_t member) const override;
  void set_text(panel::ControlId text_box, std::string_view text) override;
  std::int16_t bar_value(std::int16_t member) const override;
  void show_message(std::string_view text) override;
  void close_window() override;

 private:
  static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);

  bool on_create();
  void on_command(int id, int code);
  void on_hscroll(HWND bar, int code, int thumb);
  void on_dpi_changed(UINT dpi, const RECT& suggested);
  void on_activate(int state);
  void on_set_focus();
  void on_close();
  void on_end_session(bool ending);
  void on_destroy();
  void on_nc_destroy();

  void create_controls();
  // Places and sizes every control and the window for the DPI, with fonts
  // made for it.
  void apply_layout(UINT dpi);
  // Runs an event's work; a failure reports and ends the program.
  void run(const std::function<void()>& work);

  HINSTANCE instance_;
  panel::MainWindow handlers_;
  HWND hwnd_ = nullptr;
  std::array<HWND, panel::kControls.size()> controls_{};  // in the table's order
  std::optional<PanelFonts> fonts_;
  HWND focus_ = nullptr;  // the child to give the focus back to on activation
  std::exception_ptr creation_failure_;
};

}  // namespace dalvenix::win32
