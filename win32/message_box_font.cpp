#include "win32/message_box_font.h"

#include <algorithm>
#include <string>

#include "win32/panel_fonts.h"
#include "win32/win32_error.h"
#include "win32/window_text.h"

namespace dalvenix::win32 {
namespace {

// The message text of a MessageBox dialog has this control id.
constexpr int kMessageTextId = 0xFFFF;

// The fallback that watches this thread's dialogs now, if any.
thread_local MessageBoxFontFallback* watching = nullptr;

bool is_dialog(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return std::wstring_view(name) == L"#32770";
}

// The text's natural size in the font, its line breaks kept.
SIZE text_extent(HWND control, HFONT font, const std::wstring& text) {
  const HDC dc = GetDC(control);
  RECT rect{0, 0, 0, 0};
  {
    const SelectedObject selected(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX);
  }
  ReleaseDC(control, dc);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void grow(HWND window, int dx, int dy) {
  RECT rect;
  GetWindowRect(window, &rect);
  SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left + dx, rect.bottom - rect.top + dy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK move_button(HWND child, LPARAM offset) {
  wchar_t name[16] = {};
  GetClassNameW(child, name, 16);
  if (_wcsicmp(name, L"Button") != 0) return TRUE;
  const auto& by = *reinterpret_cast<const POINT*>(offset);
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  SetWindowPos(child, nullptr, rect.left + by.x, rect.top + by.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

}  // namespace

MessageBoxFontFallback::MessageBoxFontFallback()
    : hook_(SetWindowsHookExW(WH_CBT, &MessageBoxFontFallback::on_cbt, nullptr,
                              GetCurrentThreadId())) {
  if (hook_ == nullptr) throw Win32Error("SetWindowsHookExW (message box font)", GetLastError());
  previous_watching_ = watching;
  watching = this;
}

MessageBoxFontFallback::~MessageBoxFontFallback() {
  UnhookWindowsHookEx(hook_);
  watching = previous_watching_;
}

LRESULT CALLBACK MessageBoxFontFallback::on_cbt(int code, WPARAM wparam, LPARAM lparam) {
  // The box is laid out by the time it is first activated, and not yet drawn.
  if (code == HCBT_ACTIVATE && watching != nullptr) {
    const auto dialog = reinterpret_cast<HWND>(wparam);
    if (is_dialog(dialog)) {
      try {
        watching->fit_text(dialog);
      } catch (const std::exception&) {
        // The box still shows its text, if in the wrong font: no reason to fail.
      }
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void MessageBoxFontFallback::fit_text(HWND dialog) {
  const HWND text_control = GetDlgItem(dialog, kMessageTextId);
  if (text_control == nullptr) return;
  const std::wstring text = window_text(text_control);
  const auto current = reinterpret_cast<HFONT>(SendMessageW(text_control, WM_GETFONT, 0, 0));
  if (current == nullptr || has_glyphs(current, text)) return;
  LOGFONTW base{};
  if (GetObjectW(current, sizeof base, &base) == 0) return;
  UniqueFont font = fallback_font(base, text);
  if (font == nullptr) return;

  RECT room;
  GetClientRect(text_control, &room);
  const SIZE needed = text_extent(text_control, font.get(), text);
  SendMessageW(text_control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  fonts_.push_back(std::move(font));

  // Make room for the new font: a wider or taller text widens or lengthens
  // the box, and the buttons below keep their place relative to the text.
  const int dx = std::max(0, static_cast<int>(needed.cx - room.right));
  const int dy = std::max(0, static_cast<int>(needed.cy - room.bottom));
  if (dx == 0 && dy == 0) return;
  grow(text_control, dx, dy);
  grow(dialog, dx, dy);
  POINT offset{dx / 2, dy};
  EnumChildWindows(dialog, &move_button, reinterpret_cast<LPARAM>(&offset));
}

}  // namespace dalvenix::win32
