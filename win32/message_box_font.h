// MessageBoxW shows its text in the system's message font and cannot be told
// otherwise. Where that font lacks glyphs of the text (a Western font and
// "USB未接続"), this gives the box's text a face that has them, for as long as
// it lives on this thread, and makes the box large enough for the new font.
#pragma once

#include <windows.h>

#include <vector>

#include "win32/gdi_handles.h"

namespace dalvenix::win32 {

class MessageBoxFontFallback {
 public:
  // Watches this thread's next dialog boxes until destroyed.
  MessageBoxFontFallback();
  ~MessageBoxFontFallback();
  MessageBoxFontFallback(const MessageBoxFontFallback&) = delete;
  MessageBoxFontFallback& operator=(const MessageBoxFontFallback&) = delete;

 private:
  static LRESULT CALLBACK on_cbt(int code, WPARAM wparam, LPARAM lparam);
  void fit_text(HWND dialog);

  HHOOK hook_ = nullptr;
  MessageBoxFontFallback* previous_watching_ = nullptr;  // an enclosing one, if any
  std::vector<UniqueFont> fonts_;                        // in use by boxes that may still be open
};

}  // namespace dalvenix::win32
