// The control table's twips (1/1440 inch) as pixels at a DPI. Qt's
// device-independent pixels are pixels at 96 DPI; Win32 asks the window's DPI.
#pragma once

#include "panel/control_table.h"

namespace dalvenix::panel {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDpi = 96;  // 15 twips a pixel

// Rounded to the nearest pixel (the table's lengths are never negative).
constexpr int twips_to_pixels(int twips, int dpi) {
  return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

struct Pixels;
using PixelRect = Rect<Pixels>;

// Position and size are converted each on its own, so that every control of
// one width in twips is as wide in pixels.
constexpr PixelRect to_pixels(const TwipsRect& twips, int dpi) {
  return {twips_to_pixels(twips.left, dpi), twips_to_pixels(twips.top, dpi),
          twips_to_pixels(twips.width, dpi), twips_to_pixels(twips.height, dpi)};
}

}  // namespace dalvenix::panel
