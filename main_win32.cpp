// The Windows program's start: it creates and shows the panel and runs its
// messages until the window is closed. It reads no command line, environment
// or registry of its own, and does not touch the device library.
#include <windows.h>

#include <string_view>

#include "device/dalvenix_library.h"
#include "device/shared_library.h"
#include "panel/fatal_error.h"
#include "win32/message_boxes.h"
#include "win32/message_loop.h"
#include "win32/panel_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int show_command) {
  dalvenix::device::use_safe_library_search();
  int exit_code = dalvenix::panel::kFatalExitStatus;
  dalvenix::device::DalvenixLibrary library;  // bound on its first call
  dalvenix::panel::run_guarded(
      [&] {
        dalvenix::win32::PanelWindow window(instance, library);
        window.show(show_command);
        exit_code = dalvenix::win32::run_message_loop(window.hwnd());
      },
      [](std::string_view report) { dalvenix::win32::show_fatal_report(nullptr, report); });
  return exit_code;
}
