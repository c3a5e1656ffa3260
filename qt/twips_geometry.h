// The control table's twips as Qt's device-independent pixels (1/96 inch),
// 15 twips to the pixel. Qt scales those pixels to the screen itself.
#pragma once

#include <QRect>
#include <QSize>

#include "panel/control_table.h"

namespace dalvenix::qt {

// To the nearest pixel: one position in the table (368) is not a whole pixel.
constexpr int twips_to_pixels(int twips) {
  return (twips + panel::kTwipsPerPixelAt96Dpi / 2) / panel::kTwipsPerPixelAt96Dpi;
}

inline QRect pixel_rect(const panel::TwipsRect& twips) {
  return {twips_to_pixels(twips.left), twips_to_pixels(twips.top), twips_to_pixels(twips.width),
          twips_to_pixels(twips.height)};
}

inline QSize client_size() {
  return {twips_to_pixels(panel::kClientWidthTwips), twips_to_pixels(panel::kClientHeightTwips)};
}

}  // namespace dalvenix::qt
