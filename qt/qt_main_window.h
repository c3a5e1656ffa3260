// frmMain in Qt 6 Widgets: every control of the control table at its place
// with its caption or initial text, each handled event passed to the core's
// handlers, and the window as those handlers see it.
//
// The window holds layout and wiring only: the texts and bar values live in
// the widgets, every decision in panel::MainWindow.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "device/io_library.h"
#include "panel/control_table.h"
#include "panel/main_window.h"
#include "panel/panel_view.h"

class QCloseEvent;

namespace dalvenix::qt {

class QtMainWindow final : public QWidget, public panel::PanelView {
 public:
  // Touches nothing in the library: it is first called by a handler.
  explicit QtMainWindow(device::IoLibrary& library);

  [[nodiscard]] std::string output_text(std::int16_t member) const override;
  void set_text(panel::ControlId text_box, std::string_view text) override;
  [[nodiscard]] std::int16_t bar_value(std::int16_t member) const override;
  void show_message(std::string_view text) override;
  void close_window() override;

  // The widget built for a control of the table; also named by
  // panel::control_name, e.g. "btnInp(1)".
  [[nodiscard]] QWidget* control(panel::ControlId id) const;

 protected:
  // A close is never refused: the library is released and the window goes,
  // at once or, while a handler's message box is up, once it is answered.
  void closeEvent(QCloseEvent* event) override;
  // The window system's close request also while a message box is up, which
  // Qt would drop for a window that a modal box blocks.
  bool nativeEvent(const QByteArray& event_type, void* message, qintptr* result) override;

 private:
  QWidget* make_control(const panel::ControlSpec& entry);
  void set_tab_order();
  // Runs a handler; a failure is reported and ends the program.
  void run(const std::function<void()>& handler);
  template <class Widget>
  Widget& control_as(panel::ControlId id) const;

  panel::MainWindow handlers_;
  // Parallel to panel::kControls. The window owns the widgets as their parent.
  std::array<QWidget*, panel::kControls.size()> controls_{};
};

}  // namespace dalvenix::qt
