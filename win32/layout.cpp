#include "win32/layout.h"

namespace dalvenix::win32 {

int twips_to_pixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

RECT control_rect(const panel::TwipsRect& twips, UINT dpi) {
  const int left = twips_to_pixels(twips.left, dpi);
  const int top = twips_to_pixels(twips.top, dpi);
  return {left, top, left + twips_to_pixels(twips.width, dpi),
          top + twips_to_pixels(twips.height, dpi)};
}

SIZE client_size(UINT dpi) {
  return {twips_to_pixels(panel::kClientWidthTwips, dpi),
          twips_to_pixels(panel::kClientHeightTwips, dpi)};
}

}  // namespace dalvenix::win32
