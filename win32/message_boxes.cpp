#include "win32/message_boxes.h"

#include <optional>
#include <string>

#include "device/windows_text.h"
#include "panel/main_window.h"
#include "win32/message_box_font.h"
#include "win32/win32_error.h"

namespace dalvenix::win32 {

void show_panel_message(HWND owner, std::string_view text) {
  const std::wstring title = widen(panel::kApplicationTitle);
  const MessageBoxFontFallback readable_text;
  if (MessageBoxW(owner, widen(text).c_str(), title.c_str(), MB_OK) == 0) {
    throw Win32Error("MessageBoxW", GetLastError());
  }
}

void show_fatal_report(HWND owner, std::string_view report) {
  const std::wstring title = widen(panel::kApplicationTitle);
  const std::wstring text = widen(report);
  std::optional<MessageBoxFontFallback> readable_text;
  try {
    readable_text.emplace();
  } catch (const Win32Error&) {
    // The report matters more than its font.
  }
  // The program ends after this box: there is nothing to do if it fails.
  MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace dalvenix::win32
