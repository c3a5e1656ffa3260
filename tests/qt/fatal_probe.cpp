// A panel that meets a library failure, run as its own process because the
// failure ends the process. It binds to the given library file, makes one
// user action, describes on standard output the report box that follows and
// dismisses it with a click. The real report path then ends the process.
//
// With "hold hsbVol(d)" it presses the bar's right arrow and keeps it held,
// and leaves the report up for a second before dismissing it, as a user who
// holds an arrow would.
//
// Usage: fatal_probe LIBRARY-FILE CONTROL-NAME|close|"hold hsbVol(d)"
// Exit status: that of the failure, or 3 when no report came.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "device/dalvenix_library.h"
#include "device/shared_library.h"
#include "qt/qt_main_window.h"

namespace {

constexpr int kNoReport = 3;

const char* icon_name(QMessageBox::Icon icon) {
  switch (icon) {
    case QMessageBox::NoIcon: return "none";
    case QMessageBox::Information: return "information";
    case QMessageBox::Warning: return "warning";
    case QMessageBox::Critical: return "critical";
    case QMessageBox::Question: return "question";
  }
  return "?";
}

constexpr std::string_view kHold = "hold ";

// How long a report stays up before the click that dismisses it.
int report_left_up_ms = 0;

// Describes the report box once it is open, then clicks its button.
void dismiss_report_when_shown() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr || !box->isVisible()) {
    QTimer::singleShot(10, dismiss_report_when_shown);
    return;
  }
  if (report_left_up_ms > 0) {
    QTimer::singleShot(std::exchange(report_left_up_ms, 0), dismiss_report_when_shown);
    return;
  }
  std::printf(
      "title: %s\nicon: %s\nbuttons: %d\nmodal to the window: %s\ntext: %s\n",
      qPrintable(box->windowTitle()), icon_name(box->icon()),
      static_cast<int>(box->buttons().size()),
      box->windowModality() == Qt::WindowModal && box->parentWidget() != nullptr ? "yes" : "no",
      box->text().toUtf8().constData());
  std::fflush(stdout);
  QTest::mouseClick(box->buttons().front(), Qt::LeftButton);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: fatal_probe LIBRARY-FILE CONTROL-NAME|close\n");
    return 2;
  }
  std::string action = argv[2];
  const bool hold = action.starts_with(kHold);
  if (hold) {
    action.erase(0, kHold.size());
    report_left_up_ms = 1000;
  }
  dalvenix::device::DalvenixLibrary library(dalvenix::device::open_library_file(argv[1]));
  dalvenix::qt::QtMainWindow window(library);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 2;

  QTimer::singleShot(0, dismiss_report_when_shown);
  QTimer::singleShot(0, [&] {
    if (action == "close") {
      window.close();
      return;
    }
    auto* control = window.findChild<QWidget*>(QString::fromStdString(action));
    if (control == nullptr) {
      std::fprintf(stderr, "fatal_probe: no control %s\n", action.c_str());
      std::exit(2);
    }
    if (hold) {
      // Pressed and never released: the bar repeats its step until it is
      // disabled or released.
      QTest::mousePress(control, Qt::LeftButton, {},
                        QPoint(control->width() - 3, control->height() / 2));
      return;
    }
    QTest::mouseClick(control, Qt::LeftButton);
  });
  QTimer::singleShot(3000, [] {
    std::printf("no report\n");
    std::fflush(stdout);
    std::_Exit(kNoReport);
  });
  QApplication::exec();
  std::printf("no report\n");
  return kNoReport;
}
