// The panel's geometry in pixels: the control table's twips at a DPI.
#pragma once

#include <windows.h>

#include "panel/control_table.h"

namespace dalvenix::win32 {

inline constexpr int kTwipsPerInch = 1440;

// px = twips * dpi / 1440, rounded to the nearest pixel.
int twips_to_pixels(int twips, UINT dpi);

// The control's rectangle in client coordinates. Position and size are
// converted on their own, so that every control of one width stays as wide.
RECT control_rect(const panel::TwipsRect& twips, UINT dpi);

// The size of the window's client area.
SIZE client_size(UINT dpi);

}  // namespace dalvenix::win32
