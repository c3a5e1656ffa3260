#include "win32/message_boxes.h"

#include <string>

#include "device/windows_text.h"
#include "panel/main_window.h"
#include "win32/win32_error.h"

namespace dalvenix::win32 {

void show_panel_message(HWND owner, std::string_view text) {
  const std::wstring title = widen(panel::kApplicationTitle);
  if (MessageBoxW(owner, widen(text).c_str(), title.c_str(), MB_OK) == 0) {
    throw Win32Error("MessageBoxW", GetLastError());
  }
}

void show_fatal_report(HWND owner, std::string_view report) {
  const std::wstring title = widen(panel::kApplicationTitle);
  const std::wstring text = widen(report);
  // The program ends after this box: there is nothing to do if it fails.
  MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace dalvenix::win32
