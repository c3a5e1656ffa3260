// Catches the next message box of a process the way a person meets it: a
// second thread waits for the dialog to appear, reads what it shows and
// presses its first button. The thread that opened the box stays in the box's
// own modal loop meanwhile, as it would for a person.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace dalvenix::win32::testing {

struct CapturedDialog {
  std::wstring title;
  std::wstring text;
  std::vector<std::wstring> buttons;  // the captions of the visible buttons
  std::vector<int> button_ids;
  bool shows_icon = false;
  HWND owner = nullptr;
  // For a box of this process: whether the text draws every character as a
  // glyph rather than as a missing-glyph box, and whether the text has room in
  // its control in its font.
  std::optional<bool> text_has_glyphs;
  std::optional<bool> text_fits;
};

class DialogCatcher {
 public:
  // Starts watching the process's top-level windows for a dialog box.
  explicit DialogCatcher(DWORD process_id, DWORD timeout_ms = 15000);
  ~DialogCatcher();
  DialogCatcher(const DialogCatcher&) = delete;
  DialogCatcher& operator=(const DialogCatcher&) = delete;

  // Waits for the watch to end: what the box showed, or nothing if no box
  // appeared within the timeout.
  std::optional<CapturedDialog> result();

 private:
  static DWORD WINAPI watch(void* self);
  void run();

  DWORD process_id_;
  DWORD timeout_ms_;
  std::optional<CapturedDialog> captured_;
  HANDLE thread_ = nullptr;
};

}  // namespace dalvenix::win32::testing
