// The program's message loop. Keystrokes go through the dialog manager
// (IsDialogMessageW) first, so that Tab and Shift+Tab move the focus through
// the panel's controls as in a dialog box.
#pragma once

#include <windows.h>

namespace dalvenix::win32 {

// Hands one message to the dialog manager of `panel`, or dispatches it.
void dispatch_message(HWND panel, MSG& message);

// Runs until WM_QUIT and returns its exit code.
int run_message_loop(HWND panel);

}  // namespace dalvenix::win32
