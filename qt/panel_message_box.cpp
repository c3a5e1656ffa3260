#include "qt/panel_message_box.h"

#include <QMessageBox>

#include "panel/main_window.h"
#include "qt/text_conversion.h"

namespace dalvenix::qt {
namespace {

void show_box(QWidget& window, QMessageBox::Icon icon, std::string_view text) {
  QMessageBox box(&window);
  box.setWindowTitle(to_qstring(panel::kApplicationTitle));
  // Plain text: a message may quote what the user typed, which must not be
  // taken for markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(to_qstring(text));
  box.setIcon(icon);
  box.setStandardButtons(QMessageBox::Ok);
  box.setWindowModality(Qt::WindowModal);
  // A box takes its window's disabled state; it must take input even when the
  // window has been disabled, as for a fatal report.
  box.setEnabled(true);
  box.exec();
}

}  // namespace

void show_panel_message(QWidget& window, std::string_view text) {
  show_box(window, QMessageBox::NoIcon, text);
}

void show_fatal_report(QWidget& window, std::string_view report) {
  show_box(window, QMessageBox::Critical, report);
}

}  // namespace dalvenix::qt
