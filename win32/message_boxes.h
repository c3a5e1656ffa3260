// The two message boxes of the program, both owned by the panel window and
// bearing the application's title.
#pragma once

#include <windows.h>

#include <string_view>

namespace dalvenix::win32 {

// A message for the user: a single OK button and no icon. Returns once the
// user has dismissed it.
void show_panel_message(HWND owner, std::string_view text);

// The report of a failure that ends the program: an error box naming what
// failed. Returns once the user has dismissed it.
void show_fatal_report(HWND owner, std::string_view report);

}  // namespace dalvenix::win32
