// The font of the panel's controls: the system's message font, as the system's
// own dialogs use it. Characters it has no glyphs for (such as "個数" in a
// Western face) are drawn by Windows from the faces linked to it.
#pragma once

#include <windows.h>

#include "win32/gdi_handles.h"

namespace dalvenix::win32 {

class PanelFonts {
 public:
  // The message font at the DPI.
  explicit PanelFonts(UINT dpi);

  [[nodiscard]] HFONT message_font() const noexcept { return message_.get(); }

 private:
  UniqueFont message_;
};

}  // namespace dalvenix::win32
