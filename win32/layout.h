// The panel's geometry in Win32 terms: the control table's twips at a DPI.
#pragma once

#include <windows.h>

#include "panel/control_table.h"

namespace dalvenix::win32 {

// The control's rectangle in client coordinates.
RECT control_rect(const panel::TwipsRect& twips, UINT dpi);

// The size of the window's client area.
SIZE client_size(UINT dpi);

}  // namespace dalvenix::win32
