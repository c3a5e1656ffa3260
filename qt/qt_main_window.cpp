#include "qt/qt_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <limits>
#include <stdexcept>
#include <vector>

#include "panel/fatal_error.h"
#include "qt/panel_message_box.h"
#include "qt/panel_scroll_bar.h"
#include "qt/text_conversion.h"
#include "qt/twips_geometry.h"
#include "qt/window_close_request.h"

namespace dalvenix::qt {
namespace {

using panel::ControlId;
using panel::ControlKind;
using panel::ControlSpec;
using panel::Group;

}  // namespace

QtMainWindow::QtMainWindow(device::IoLibrary& library) : handlers_(*this, library) {
  setWindowTitle(to_qstring(panel::kWindowCaption));
  resize(client_size());
  for (std::size_t i = 0; i < panel::kControls.size(); ++i) {
    controls_[i] = make_control(panel::kControls[i]);
  }
  set_tab_order();
}

QWidget* QtMainWindow::make_control(const ControlSpec& entry) {
  // Each widget is created with the window as its parent, which owns and
  // deletes it: Qt's ownership, so no smart pointer holds it.
  QWidget* widget = nullptr;
  const ControlId id = entry.id;
  switch (entry.kind) {
    case ControlKind::Button: {
      auto* button = new QPushButton(to_qstring(entry.text), this);
      connect(button, &QPushButton::clicked, this,
              [this, id] { run([this, id] { handlers_.on_click(id); }); });
      widget = button;
      break;
    }
    case ControlKind::HorizontalScrollBar: {
      auto* bar = new PanelScrollBar(this);
      bar->setRange(panel::kBarRange.minimum, panel::kBarRange.maximum);
      bar->setValue(panel::kBarRange.initial);
      bar->setSingleStep(panel::kBarRange.small_change);
      bar->setPageStep(panel::kBarRange.large_change);
      // valueChanged then comes only for a committed value: at once for an
      // arrow, a trough click or a key, and on release for a dragged thumb.
      bar->setTracking(false);
      // A scroll bar takes no focus by default; this one is in the tab order.
      bar->setFocusPolicy(Qt::StrongFocus);
      const std::int16_t member = id.member;
      connect(bar, &QScrollBar::valueChanged, this,
              [this, member] { run([this, member] { handlers_.on_bar_change(member); }); });
      widget = bar;
      break;
    }
    case ControlKind::TextBox: {
      auto* box = new QLineEdit(to_qstring(entry.text), this);
      // Qt's default limit is 32767 characters; the boxes have none.
      box->setMaxLength(std::numeric_limits<int>::max());
      widget = box;
      break;
    }
    case ControlKind::Label: {
      widget = new QLabel(to_qstring(entry.text), this);
      widget->setFocusPolicy(Qt::NoFocus);
      break;
    }
  }
  widget->setObjectName(to_qstring(panel::control_name(id)));
  widget->setGeometry(pixel_rect(entry.twips));
  return widget;
}

void QtMainWindow::set_tab_order() {
  // The table lists the controls in tab order.
  std::vector<const ControlSpec*> focusable;
  for (const ControlSpec& entry : panel::kControls) {
    if (panel::takes_focus(entry)) focusable.push_back(&entry);
  }
  for (std::size_t i = 1; i < focusable.size(); ++i) {
    QWidget::setTabOrder(control(focusable[i - 1]->id), control(focusable[i]->id));
  }
  // The window opens with the focus on the first control of the tab order.
  if (!focusable.empty()) control(focusable.front()->id)->setFocus(Qt::OtherFocusReason);
}

QWidget* QtMainWindow::control(ControlId id) const { return controls_[panel::index_of(id)]; }

template <class Widget>
Widget& QtMainWindow::control_as(ControlId id) const {
  auto* widget = qobject_cast<Widget*>(control(id));
  if (widget == nullptr) {
    throw std::logic_error(panel::control_name(id) + " is not a " +
                           Widget::staticMetaObject.className());
  }
  return *widget;
}

std::string QtMainWindow::output_text(std::int16_t member) const {
  return to_std_string(control_as<QLineEdit>({Group::txtOutDat, member}).text());
}

void QtMainWindow::set_text(ControlId text_box, std::string_view text) {
  control_as<QLineEdit>(text_box).setText(to_qstring(text));
}

std::int16_t QtMainWindow::bar_value(std::int16_t member) const {
  return static_cast<std::int16_t>(control_as<QScrollBar>({Group::hsbVol, member}).value());
}

void QtMainWindow::show_message(std::string_view text) { show_panel_message(*this, text); }

void QtMainWindow::close_window() {
  // After the event being handled: a close from inside it would end the
  // window under the handler's own widgets.
  QMetaObject::invokeMethod(this, "close", Qt::QueuedConnection);
}

void QtMainWindow::run(const std::function<void()>& handler) {
  panel::run_guarded(handler, [this](std::string_view report) {
    // The program is ending: nothing in the window acts any more (a held
    // scroll bar arrow stops repeating).
    setEnabled(false);
    show_fatal_report(*this, report);
  });
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  bool close_now = false;
  run([&] { close_now = handlers_.on_close_request(); });
  if (close_now) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool QtMainWindow::nativeEvent(const QByteArray& event_type, void* message, qintptr* result) {
  if (QApplication::activeModalWidget() != nullptr &&
      is_window_close_request(event_type, message)) {
    // Qt would drop it: a message box is up. The close goes to the handlers
    // as any other does, which carry it out once the box is answered.
    close();
    return true;
  }
  return QWidget::nativeEvent(event_type, message, result);
}

}  // namespace dalvenix::qt
