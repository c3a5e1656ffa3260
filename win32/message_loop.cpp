#include "win32/message_loop.h"

#include "win32/win32_error.h"

namespace dalvenix::win32 {

void dispatch_message(HWND panel, MSG& message) {
  if (IsWindow(panel) && IsDialogMessageW(panel, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int run_message_loop(HWND panel) {
  MSG message{};
  for (;;) {
    const BOOL result = GetMessageW(&message, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(message.wParam);
    if (result == -1) throw Win32Error("GetMessageW", GetLastError());
    dispatch_message(panel, message);
  }
}

}  // namespace dalvenix::win32
