#include "win32/panel_fonts.h"

#include "win32/dpi.h"
#include "win32/win32_error.h"

namespace dalvenix::win32 {
namespace {

UniqueFont create_font(const LOGFONTW& description) {
  UniqueFont font(CreateFontIndirectW(&description));
  if (font == nullptr) throw Win32Error("CreateFontIndirectW", GetLastError());
  return font;
}

}  // namespace

PanelFonts::PanelFonts(UINT dpi) : message_(create_font(system_message_font(dpi))) {}

}  // namespace dalvenix::win32
