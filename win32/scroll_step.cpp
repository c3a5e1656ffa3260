#include "win32/scroll_step.h"

#include <algorithm>

namespace dalvenix::win32 {

std::optional<int> scroll_target(int code, int current, int thumb,
                                 const panel::ScrollRange& range) {
  int target = current;
  switch (code) {
    case SB_LINELEFT: target = current - range.small_change; break;
    case SB_LINERIGHT: target = current + range.small_change; break;
    case SB_PAGELEFT: target = current - range.large_change; break;
    case SB_PAGERIGHT: target = current + range.large_change; break;
    case SB_THUMBPOSITION: target = thumb; break;
    case SB_LEFT: target = range.minimum; break;
    case SB_RIGHT: target = range.maximum; break;
    default: return std::nullopt;  // SB_THUMBTRACK, SB_ENDSCROLL
  }
  return std::clamp(target, range.minimum, range.maximum);
}

}  // namespace dalvenix::win32
