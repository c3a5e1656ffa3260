#include "drawn_text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cwctype>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "win32/gdi_handles.h"

namespace dalvenix::win32::testing {
namespace {

// A noncharacter: no font maps it, so every font draws it as its missing-glyph box.
constexpr wchar_t kNoSuchCharacter = L'\uFFFF';
// Messages are sent with a timeout: the control may belong to another thread.
constexpr UINT kTimeoutMs = 5000;

struct BitmapDeleter {
  void operator()(HBITMAP bitmap) const noexcept { DeleteObject(bitmap); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

LRESULT send(HWND control, UINT message, WPARAM wparam, LPARAM lparam, const char* what) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(control, message, wparam, lparam, SMTO_ABORTIFHUNG, kTimeoutMs,
                          &result) == 0) {
    throw std::runtime_error(std::string("the control did not answer ") + what);
  }
  return static_cast<LRESULT>(result);
}

std::wstring text_of(HWND control) {
  std::vector<wchar_t> buffer(4096);
  const auto length = send(control, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), "WM_GETTEXT");
  return {buffer.data(), static_cast<std::size_t>(length)};
}

void set_text(HWND control, const std::wstring& text) {
  send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), "WM_SETTEXT");
}

// The control's client area as its own painting draws it, one pixel a value.
std::vector<std::uint32_t> draw(HWND control) {
  RECT client{};
  if (GetClientRect(control, &client) == 0 || client.right <= 0 || client.bottom <= 0) {
    throw std::runtime_error("the control has no client area to draw");
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap == nullptr) throw std::runtime_error("CreateDIBSection failed");
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (dc == nullptr) throw std::runtime_error("CreateCompatibleDC failed");
  {
    const SelectedObject selected(dc.get(), bitmap.get());
    send(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND,
         "WM_PRINTCLIENT");
    GdiFlush();
  }
  const auto* first = static_cast<const std::uint32_t*>(bits);
  return {first, first + static_cast<std::ptrdiff_t>(client.right) * client.bottom};
}

// Gives the control its text back, whatever happens meanwhile.
class TextRestorer {
 public:
  TextRestorer(HWND control, std::wstring text) : control_(control), text_(std::move(text)) {}
  ~TextRestorer() {
    try {
      set_text(control_, text_);
    } catch (const std::runtime_error&) {
      // Nothing more to do for a control that no longer answers.
    }
  }
  TextRestorer(const TextRestorer&) = delete;
  TextRestorer& operator=(const TextRestorer&) = delete;

 private:
  HWND control_;
  std::wstring text_;
};

}  // namespace

std::wstring characters_drawn_as_boxes(HWND control) {
  const std::wstring text = text_of(control);
  const std::vector<std::uint32_t> shown = draw(control);
  if (std::all_of(shown.begin(), shown.end(),
                  [&](std::uint32_t pixel) { return pixel == shown.front(); })) {
    throw std::runtime_error("the control drew nothing of its text");
  }
  const TextRestorer restorer(control, text);
  std::wstring boxes;
  for (std::size_t index = 0; index < text.size(); ++index) {
    if (std::iswspace(text[index]) != 0) continue;
    std::wstring replaced = text;
    replaced[index] = kNoSuchCharacter;
    set_text(control, replaced);
    if (draw(control) == shown) boxes += text[index];
  }
  return boxes;
}

}  // namespace dalvenix::win32::testing
