// The control table's twips as Qt's device-independent pixels (1/96 inch).
// Qt scales those pixels to the screen itself.
#pragma once

#include <QRect>
#include <QSize>

#include "panel/control_table.h"
#include "panel/twips.h"

namespace dalvenix::qt {

inline QRect pixel_rect(const panel::TwipsRect& twips) {
  const panel::PixelRect pixels = panel::to_pixels(twips, panel::kStandardDpi);
  return {pixels.left, pixels.top, pixels.width, pixels.height};
}

inline QSize client_size() {
  return {panel::twips_to_pixels(panel::kClientWidthTwips, panel::kStandardDpi),
          panel::twips_to_pixels(panel::kClientHeightTwips, panel::kStandardDpi)};
}

}  // namespace dalvenix::qt
