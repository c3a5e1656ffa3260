// Where a WM_HSCROLL notification moves a bar.
#pragma once

#include <windows.h>

#include <optional>

#include "panel/control_table.h"

namespace dalvenix::win32 {

// The bar's new position for a notification code, kept within the range:
// an arrow or a trough click moves by the range's small or large change, a
// released thumb goes where it was dropped, Home and End go to the ends.
// Empty for the codes that set nothing: SB_THUMBTRACK (the thumb is still
// being dragged) and SB_ENDSCROLL.
std::optional<int> scroll_target(int code, int current, int thumb, const panel::ScrollRange& range);

}  // namespace dalvenix::win32
