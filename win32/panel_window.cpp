#include "win32/panel_window.h"

#include <cstddef>
#include <stdexcept>
#include <utility>

#include "device/windows_text.h"
#include "panel/fatal_error.h"
#include "win32/dpi.h"
#include "win32/layout.h"
#include "win32/message_boxes.h"
#include "win32/scroll_step.h"
#include "win32/win32_error.h"
#include "win32/window_text.h"

namespace dalvenix::win32 {
namespace {

using panel::ControlKind;
using panel::index_of;
using panel::kControls;

constexpr const wchar_t* kClassName = L"DalvenixTestPanel";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;

// Posted by close_window(): the close asked for while a handler ran, carried
// out now that it has returned.
constexpr UINT kCloseAgain = WM_APP + 1;

// Child window ids: the control's index in the table plus this. Kept clear of
// IDOK and IDCANCEL, which the dialog manager sends for Enter and Escape.
constexpr int kFirstControlId = 100;

struct ChildClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

ChildClass child_class(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::Button: return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::HorizontalScrollBar: return {L"SCROLLBAR", kChild | WS_TABSTOP | SBS_HORZ, 0};
    case ControlKind::TextBox:
      return {L"EDIT", kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Label: return {L"STATIC", kChild | SS_LEFT | SS_NOPREFIX, 0};
  }
  throw std::logic_error("no window class for this control kind");
}

ATOM register_panel_class(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  const ATOM atom = RegisterClassExW(&window_class);
  if (atom == 0) throw Win32Error("RegisterClassExW (frmMain)", GetLastError());
  return atom;
}

}  // namespace

PanelWindow::PanelWindow(HINSTANCE instance, device::IoLibrary& library)
    : instance_(instance), handlers_(*this, library) {
  static const ATOM window_class = register_panel_class(instance, &PanelWindow::window_procedure);
  const HWND window = CreateWindowExW(kWindowExStyle, MAKEINTATOM(window_class),
                                      widen(panel::kWindowCaption).c_str(), kWindowStyle,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                      nullptr, nullptr, instance_, this);
  if (window == nullptr) {
    if (creation_failure_) std::rethrow_exception(creation_failure_);
    throw Win32Error("CreateWindowExW (frmMain)", GetLastError());
  }
}

PanelWindow::~PanelWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void PanelWindow::show(int show_command) {
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
}

HWND PanelWindow::control(panel::ControlId id) const { return controls_[index_of(id)]; }

std::optional<panel::ControlId> PanelWindow::control_id(HWND child) const {
  for (std::size_t index = 0; index < controls_.size(); ++index) {
    if (child != nullptr && controls_[index] == child) return kControls[index].id;
  }
  return std::nullopt;
}

std::string PanelWindow::output_text(std::int16_t member) const {
  return narrow(window_text(control({panel::Group::txtOutDat, member})));
}

void PanelWindow::set_text(panel::ControlId text_box, std::string_view text) {
  const std::size_t index = index_of(text_box);
  if (kControls[index].kind != ControlKind::TextBox) {
    throw std::invalid_argument(panel::control_name(text_box) + " is not a text box");
  }
  if (!SetWindowTextW(controls_[index], widen(text).c_str())) {
    throw Win32Error("SetWindowTextW (" + panel::control_name(text_box) + ")", GetLastError());
  }
}

std::int16_t PanelWindow::bar_value(std::int16_t member) const {
  return static_cast<std::int16_t>(GetScrollPos(control({panel::Group::hsbVol, member}), SB_CTL));
}

void PanelWindow::show_message(std::string_view text) { show_panel_message(hwnd_, text); }

void PanelWindow::close_window() {
  if (hwnd_ != nullptr) PostMessageW(hwnd_, kCloseAgain, 0, 0);
}

LRESULT CALLBACK PanelWindow::window_procedure(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<PanelWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<PanelWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  return self->handle(message, wparam, lparam);
}

LRESULT PanelWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND window = hwnd_;
  switch (message) {
    case WM_CREATE: return on_create() ? 0 : -1;
    case WM_COMMAND: on_command(LOWORD(wparam), HIWORD(wparam)); return 0;
    case WM_HSCROLL:
      on_hscroll(reinterpret_cast<HWND>(lparam), LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_DPICHANGED:
      on_dpi_changed(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_ACTIVATE: on_activate(LOWORD(wparam)); break;  // DefWindowProc sets the focus
    case WM_SETFOCUS: on_set_focus(); return 0;
    case WM_CLOSE:
    case kCloseAgain: on_close(); return 0;
    case WM_ENDSESSION: on_end_session(wparam != FALSE); return 0;
    case WM_DESTROY: on_destroy(); return 0;
    case WM_NCDESTROY: on_nc_destroy(); break;
    default: break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

bool PanelWindow::on_create() {
  try {
    create_controls();
    const UINT dpi = window_dpi(hwnd_);
    apply_layout(dpi);
    const SIZE size = window_size_for_client(client_size(dpi), kWindowStyle, kWindowExStyle, dpi);
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
  } catch (...) {
    // No exception may cross the window procedure: the constructor rethrows it.
    creation_failure_ = std::current_exception();
    return false;
  }
}

void PanelWindow::create_controls() {
  // In the table's order, which is the tab order: the dialog manager moves the
  // focus in creation order.
  for (std::size_t index = 0; index < kControls.size(); ++index) {
    const panel::ControlSpec& entry = kControls[index];
    const ChildClass kind = child_class(entry.kind);
    const HWND child = CreateWindowExW(
        kind.ex_style, kind.name, widen(entry.text).c_str(), kind.style, 0, 0, 0, 0, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + static_cast<int>(index))),
        instance_, nullptr);
    if (child == nullptr) {
      throw Win32Error("CreateWindowExW (" + panel::control_name(entry.id) + ")", GetLastError());
    }
    controls_[index] = child;
    if (entry.kind == ControlKind::TextBox) {
      SendMessageW(child, EM_SETLIMITTEXT, 0, 0);  // 0: no limit beyond the system's
    } else if (entry.kind == ControlKind::HorizontalScrollBar) {
      SCROLLINFO range{};
      range.cbSize = sizeof range;
      range.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
      range.nMin = panel::kBarRange.minimum;
      range.nMax = panel::kBarRange.maximum;
      range.nPage = 0;  // a fixed-size thumb; every position up to nMax is reachable
      range.nPos = panel::kBarRange.initial;
      SetScrollInfo(child, SB_CTL, &range, FALSE);
    }
  }
  focus_ = controls_.front();  // tab order 0
}

void PanelWindow::apply_layout(UINT dpi) {
  PanelFonts fonts(dpi);
  for (std::size_t index = 0; index < kControls.size(); ++index) {
    const RECT rect = control_rect(kControls[index].twips, dpi);
    MoveWindow(controls_[index], rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, TRUE);
    SendMessageW(controls_[index], WM_SETFONT, reinterpret_cast<WPARAM>(fonts.message_font()),
                 TRUE);
  }
  // The controls now use the new fonts; the old ones may go.
  fonts_ = std::move(fonts);
}

void PanelWindow::on_command(int id, int code) {
  const int index = id - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(kControls.size())) return;
  const panel::ControlSpec& entry = kControls[static_cast<std::size_t>(index)];
  if (entry.kind != ControlKind::Button || code != BN_CLICKED) return;
  run([&] { handlers_.on_click(entry.id); });
}

void PanelWindow::on_hscroll(HWND bar, int code, int thumb) {
  const auto id = control_id(bar);
  if (!id || id->group != panel::Group::hsbVol) return;
  const int current = GetScrollPos(bar, SB_CTL);
  const auto target = scroll_target(code, current, thumb, panel::kBarRange);
  // Only a change of the value is an event; dragging the thumb is not one yet.
  if (!target || *target == current) return;
  // Not while a handler's message box is up: the bar stays where it was.
  if (!handlers_.accepts_events()) return;
  SetScrollPos(bar, SB_CTL, *target, TRUE);
  run([&] { handlers_.on_bar_change(id->member); });
}

void PanelWindow::on_dpi_changed(UINT dpi, const RECT& suggested) {
  run([&] {
    apply_layout(dpi);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  });
}

void PanelWindow::on_activate(int state) {
  if (state != WA_INACTIVE) return;
  const HWND focused = GetFocus();
  if (control_id(focused)) focus_ = focused;
}

void PanelWindow::on_set_focus() {
  if (focus_ != nullptr) SetFocus(focus_);
}

void PanelWindow::on_close() {
  // Closing asks nothing and is never refused; while a handler's message box
  // is up, the window stays until the handler has returned (close_window()).
  bool close_now = false;
  run([&] { close_now = handlers_.on_close_request(); });
  if (close_now) DestroyWindow(hwnd_);
}

void PanelWindow::on_end_session(bool ending) {
  // Windows is ending the session without closing the window first.
  if (ending) run([&] { handlers_.on_session_end(); });
}

void PanelWindow::on_destroy() { PostQuitMessage(0); }

void PanelWindow::on_nc_destroy() {
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  controls_.fill(nullptr);
  focus_ = nullptr;
}

void PanelWindow::run(const std::function<void()>& work) {
  panel::run_guarded(work, [this](std::string_view report) {
    // The program is ending: nothing in the window acts any more.
    if (hwnd_ != nullptr) EnableWindow(hwnd_, FALSE);
    show_fatal_report(hwnd_, report);
  });
}

}  // namespace dalvenix::win32
