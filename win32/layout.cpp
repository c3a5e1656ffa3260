#include "win32/layout.h"

#include "panel/twips.h"

namespace dalvenix::win32 {

RECT control_rect(const panel::TwipsRect& twips, UINT dpi) {
  const panel::PixelRect pixels = panel::to_pixels(twips, static_cast<int>(dpi));
  return {pixels.left, pixels.top, pixels.left + pixels.width, pixels.top + pixels.height};
}

SIZE client_size(UINT dpi) {
  return {panel::twips_to_pixels(panel::kClientWidthTwips, static_cast<int>(dpi)),
          panel::twips_to_pixels(panel::kClientHeightTwips, static_cast<int>(dpi))};
}

}  // namespace dalvenix::win32
