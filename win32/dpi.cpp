#include "win32/dpi.h"

#include "win32/win32_error.h"

namespace dalvenix::win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

// A user32 function that older systems lack, or null.
template <typename Function>
Function user32_function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

UINT system_dpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

UINT window_dpi(HWND window) {
  static const auto get_dpi_for_window = user32_function<GetDpiForWindowFn>("GetDpiForWindow");
  if (get_dpi_for_window != nullptr) {
    const UINT dpi = get_dpi_for_window(window);
    if (dpi != 0) return dpi;
  }
  return system_dpi();
}

SIZE window_size_for_client(SIZE client, DWORD style, DWORD ex_style, UINT dpi) {
  static const auto adjust_for_dpi =
      user32_function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  const BOOL adjusted = adjust_for_dpi != nullptr
                            ? adjust_for_dpi(&rect, style, FALSE, ex_style, dpi)
                            : AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  if (!adjusted) throw Win32Error("AdjustWindowRectEx", GetLastError());
  return {rect.right - rect.left, rect.bottom - rect.top};
}

LOGFONTW system_message_font(UINT dpi) {
  static const auto parameters_for_dpi =
      user32_function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (parameters_for_dpi != nullptr &&
      parameters_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    return metrics.lfMessageFont;
  }
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    throw Win32Error("SystemParametersInfoW (SPI_GETNONCLIENTMETRICS)", GetLastError());
  }
  // Sized for the system DPI: scale it to the window's.
  LOGFONTW font = metrics.lfMessageFont;
  font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(system_dpi()));
  return font;
}

}  // namespace dalvenix::win32
