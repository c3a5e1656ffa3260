// The DPI-dependent system calls, through the per-monitor functions of
// Windows 10 where the system has them and their system-DPI forms elsewhere,
// so that the program still starts on older Windows.
#pragma once

#include <windows.h>

namespace dalvenix::win32 {

inline constexpr UINT kDefaultDpi = USER_DEFAULT_SCREEN_DPI;  // 96

// The DPI the window is drawn at.
UINT window_dpi(HWND window);

// The outer size of a window whose client area is `client`, at that DPI.
SIZE window_size_for_client(SIZE client, DWORD style, DWORD ex_style, UINT dpi);

// The system's message font, sized for that DPI.
LOGFONTW system_message_font(UINT dpi);

}  // namespace dalvenix::win32
