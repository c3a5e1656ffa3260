// A window's text, as GetWindowTextW gives it.
#pragma once

#include <windows.h>

#include <string>

namespace dalvenix::win32 {

std::wstring window_text(HWND window);

}  // namespace dalvenix::win32
