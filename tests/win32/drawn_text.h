// What a control's own painting makes of its text: whether each character is
// drawn as a glyph, or as the box a font draws for a character it has no glyph
// for (and that no face linked to it has either).
#pragma once

#include <windows.h>

#include <string>

namespace dalvenix::win32::testing {

// The characters of the control's text (blanks aside) that it draws as that
// box; empty when it draws every one as a glyph. Each character is told from
// the box by drawing the control again with the character replaced by one no
// font has: the two pictures are alike only if the character is a box too.
// Works for a control of another thread of this process; the control's text
// is the same afterwards. Throws std::runtime_error if the control cannot be
// drawn or draws nothing.
std::wstring characters_drawn_as_boxes(HWND control);

}  // namespace dalvenix::win32::testing
