#include "win32/panel_fonts.h"

#include <algorithm>
#include <cwchar>

#include "win32/dpi.h"
#include "win32/win32_error.h"

namespace dalvenix::win32 {
namespace {

UniqueFont create_font(const LOGFONTW& description) {
  UniqueFont font(CreateFontIndirectW(&description));
  if (font == nullptr) throw Win32Error("CreateFontIndirectW", GetLastError());
  return font;
}

LOGFONTW with_face(LOGFONTW description, const wchar_t* face) {
  std::wcsncpy(description.lfFaceName, face, LF_FACESIZE - 1);
  description.lfFaceName[LF_FACESIZE - 1] = L'\0';
  // Let the font mapper take the face's own character set.
  description.lfCharSet = DEFAULT_CHARSET;
  return description;
}

}  // namespace

bool has_glyphs(HFONT font, std::wstring_view text) {
  if (text.empty()) return true;
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (dc == nullptr) throw Win32Error("CreateCompatibleDC", GetLastError());
  const SelectedObject selected(dc.get(), font);
  std::vector<WORD> glyphs(text.size());
  if (GetGlyphIndicesW(dc.get(), text.data(), static_cast<int>(text.size()), glyphs.data(),
                       GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
    throw Win32Error("GetGlyphIndicesW", GetLastError());
  }
  return std::none_of(glyphs.begin(), glyphs.end(), [](WORD glyph) { return glyph == 0xFFFF; });
}

UniqueFont fallback_font(const LOGFONTW& base, std::wstring_view text) {
  for (const wchar_t* face : kFallbackFaces) {
    UniqueFont candidate = create_font(with_face(base, face));
    if (has_glyphs(candidate.get(), text)) return candidate;
  }
  return nullptr;
}

PanelFonts::PanelFonts(UINT dpi) : base_(system_message_font(dpi)), message_(create_font(base_)) {}

HFONT PanelFonts::font_for(std::wstring_view text) {
  if (has_glyphs(message_.get(), text)) return message_.get();
  for (const UniqueFont& fallback : fallbacks_) {
    if (has_glyphs(fallback.get(), text)) return fallback.get();
  }
  UniqueFont fallback = fallback_font(base_, text);
  if (fallback == nullptr) return message_.get();
  fallbacks_.push_back(std::move(fallback));
  return fallbacks_.back().get();
}

}  // namespace dalvenix::win32
