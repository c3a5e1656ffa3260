// The fonts of the panel's controls: the system's message font, and for a text
// that font has no glyphs for (such as "個数" in a Western font) a face that has
// them, so that the text shows as characters and not as boxes.
#pragma once

#include <windows.h>

#include <array>
#include <string_view>
#include <vector>

#include "win32/gdi_handles.h"

namespace dalvenix::win32 {

// Faces tried in order when the message font lacks a glyph: Windows' own
// Japanese UI faces first, then the common free CJK faces.
inline constexpr std::array<const wchar_t*, 7> kFallbackFaces{
    L"Yu Gothic UI",       L"Meiryo UI",    L"MS UI Gothic", L"Noto Sans CJK JP",
    L"Source Han Sans JP", L"Noto Sans JP", L"MS Gothic",
};

class PanelFonts {
 public:
  // The message font at the DPI.
  explicit PanelFonts(UINT dpi);

  // The message font if it has every glyph of the text, else the first
  // fallback face that has them all; the message font if none has.
  HFONT font_for(std::wstring_view text);

  HFONT message_font() const noexcept { return message_.get(); }

 private:
  LOGFONTW base_;
  UniqueFont message_;
  std::vector<UniqueFont> fallbacks_;  // made when a text first needs one
};

// Whether the font maps every character of the text to a glyph of its own.
bool has_glyphs(HFONT font, std::wstring_view text);

// A font like `base` in the first fallback face that has every glyph of the
// text; null if none has.
UniqueFont fallback_font(const LOGFONTW& base, std::wstring_view text);

}  // namespace dalvenix::win32
