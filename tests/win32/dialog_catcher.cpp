#include "dialog_catcher.h"

#include <stdexcept>

#include "drawn_text.h"
#include "win32/gdi_handles.h"
#include "win32/win32_error.h"

namespace dalvenix::win32::testing {
namespace {

// The message text of a MessageBox dialog has this control id.
constexpr int kMessageTextId = 0xFFFF;
constexpr DWORD kPollMs = 20;

std::wstring text_of(HWND window) {
  // Sent with a timeout: the dialog belongs to another thread or process.
  wchar_t buffer[4096] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, sizeof buffer / sizeof buffer[0],
                      reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &length);
  return std::wstring(buffer, static_cast<std::size_t>(length));
}

std::wstring class_of(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

struct Search {
  DWORD process_id;
  HWND found = nullptr;
};

BOOL CALLBACK find_dialog(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search.process_id && IsWindowVisible(window) && class_of(window) == L"#32770") {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK read_child(HWND child, LPARAM context) {
  auto& dialog = *reinterpret_cast<CapturedDialog*>(context);
  if (!IsWindowVisible(child)) return TRUE;
  const std::wstring kind = class_of(child);
  if (_wcsicmp(kind.c_str(), L"Static") == 0) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
      DWORD_PTR icon = 0;
      SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon);
      if (icon != 0) dialog.shows_icon = true;
    } else if (GetDlgCtrlID(child) == kMessageTextId) {
      dialog.text = text_of(child);
    }
  } else if (_wcsicmp(kind.c_str(), L"Button") == 0) {
    dialog.buttons.push_back(text_of(child));
    dialog.button_ids.push_back(GetDlgCtrlID(child));
  }
  return TRUE;
}

// How the message text shows: every character as a glyph, and whole.
void read_text_drawing(HWND dialog, CapturedDialog& captured) {
  const HWND text = GetDlgItem(dialog, kMessageTextId);
  if (text == nullptr) return;
  try {
    captured.text_has_glyphs = characters_drawn_as_boxes(text).empty();
  } catch (const std::runtime_error&) {
    // Left unknown: a text that cannot be drawn is not known to show.
  }
  DWORD_PTR result = 0;
  SendMessageTimeoutW(text, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  auto* const font = reinterpret_cast<HFONT>(result);
  if (font == nullptr) return;
  RECT room;
  GetClientRect(text, &room);
  RECT needed{0, 0, 0, 0};
  const HDC dc = GetDC(text);
  {
    const SelectedObject selected(dc, font);
    DrawTextW(dc, captured.text.c_str(), static_cast<int>(captured.text.size()), &needed,
              DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX);
  }
  ReleaseDC(text, dc);
  captured.text_fits = needed.right <= room.right && needed.bottom <= room.bottom;
}

}  // namespace

DialogCatcher::DialogCatcher(DWORD process_id, DWORD timeout_ms)
    : process_id_(process_id), timeout_ms_(timeout_ms) {
  thread_ = CreateThread(nullptr, 0, &DialogCatcher::watch, this, 0, nullptr);
  if (thread_ == nullptr) throw Win32Error("CreateThread (dialog catcher)", GetLastError());
}

DialogCatcher::~DialogCatcher() {
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
}

std::optional<CapturedDialog> DialogCatcher::result() {
  WaitForSingleObject(thread_, INFINITE);
  return captured_;
}

DWORD WINAPI DialogCatcher::watch(void* self) {
  static_cast<DialogCatcher*>(self)->run();
  return 0;
}

void DialogCatcher::run() {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms_;
  Search search{process_id_};
  while (search.found == nullptr && GetTickCount64() < deadline) {
    Sleep(kPollMs);
    EnumWindows(&find_dialog, reinterpret_cast<LPARAM>(&search));
  }
  if (search.found == nullptr) return;
  const HWND dialog = search.found;
  // Let the box finish laying itself out before reading it.
  Sleep(100);
  CapturedDialog captured;
  captured.title = text_of(dialog);
  captured.owner = GetWindow(dialog, GW_OWNER);
  EnumChildWindows(dialog, &read_child, reinterpret_cast<LPARAM>(&captured));
  // A device context or font handle means something only in its own process.
  if (process_id_ == GetCurrentProcessId()) read_text_drawing(dialog, captured);
  captured_ = captured;

  // Press the first button, as a click would: the button tells its dialog.
  const HWND button =
      GetDlgItem(dialog, captured.button_ids.empty() ? IDOK : captured.button_ids[0]);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

}  // namespace dalvenix::win32::testing
