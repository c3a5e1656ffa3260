#include "panel_fixture.h"

#include "win32/message_loop.h"

namespace dalvenix::win32::testing {
namespace {

// The lParam of a key message: repeat count 1, the key's scan code, and for a
// release the previous-state and transition bits.
LPARAM key_data(UINT key, bool release) {
  const auto scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  LPARAM data = 1 | (scan << 16);
  if (release) data |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
  return data;
}

void set_shift(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  keys[VK_LSHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

}  // namespace

PanelTest::PanelTest(const std::wstring& devices) : devices_(L"DALVENIX_SIM_DEVICES", devices) {}

void PanelTest::SetUp() {
  window_.emplace(GetModuleHandleW(nullptr), library_);
  window_->show(SW_SHOWNORMAL);
  SetForegroundWindow(window_->hwnd());
  pump();
}

void PanelTest::TearDown() {
  window_.reset();
  pump();
}

std::wstring PanelTest::text(panel::ControlId id) {
  const HWND window = control(id);
  std::wstring buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  buffer.resize(static_cast<std::size_t>(
      GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()))));
  return buffer;
}

void PanelTest::pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit_code_ = static_cast<int>(message.wParam);
      continue;
    }
    dispatch_message(window_ ? window_->hwnd() : nullptr, message);
  }
}

bool PanelTest::pump_until(const std::function<bool()>& condition,
                           std::chrono::milliseconds timeout) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout.count());
  for (;;) {
    pump();
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PanelTest::click(panel::ControlId button) {
  SendMessageW(control(button), BM_CLICK, 0, 0);
  pump();
}

void PanelTest::press(UINT key, bool shift) {
  const HWND target = GetFocus();
  ASSERT_NE(target, nullptr) << "no window has the keyboard focus";
  if (shift) set_shift(true);
  PostMessageW(target, WM_KEYDOWN, key, key_data(key, false));
  PostMessageW(target, WM_KEYUP, key, key_data(key, true));
  pump();
  if (shift) set_shift(false);
}

void PanelTest::type_into(panel::ControlId box, const std::wstring& typed) {
  const HWND edit = control(box);
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  pump();
  for (const wchar_t character : typed) {
    PostMessageW(edit, WM_CHAR, character, 1);
  }
  if (typed.empty()) {
    press(VK_DELETE);
  }
  pump();
}

void PanelTest::scroll(std::int16_t member, int code, int thumb) {
  const HWND bar = control({panel::Group::hsbVol, member});
  SendMessageW(window_->hwnd(), WM_HSCROLL, MAKEWPARAM(code, thumb), reinterpret_cast<LPARAM>(bar));
  pump();
}

int PanelTest::bar_position(std::int16_t member) {
  return GetScrollPos(control({panel::Group::hsbVol, member}), SB_CTL);
}

std::optional<panel::ControlId> PanelTest::focused() { return window_->control_id(GetFocus()); }

std::string describe(const std::optional<panel::ControlId>& id) {
  return id ? panel::control_name(*id) : "none";
}

}  // namespace dalvenix::win32::testing
