// DALVENIX TEST on Linux: shows the panel and runs until it is closed, by
// its close button or by SIGTERM, SIGHUP or SIGINT.
// The device library is not touched here; the panel's first handler loads it.
#include <QApplication>

#include "device/dalvenix_library.h"
#include "panel/main_window.h"
#include "qt/close_signals.h"
#include "qt/qt_main_window.h"
#include "qt/text_conversion.h"

int main(int argc, char* argv[]) {
  // Qt takes its own standard options; the program has none of its own.
  QApplication application(argc, argv);
  QApplication::setApplicationName(dalvenix::qt::to_qstring(dalvenix::panel::kApplicationTitle));
  QApplication::setApplicationVersion(
      dalvenix::qt::to_qstring(dalvenix::panel::kApplicationVersion));

  dalvenix::device::DalvenixLibrary library;
  dalvenix::qt::QtMainWindow window(library);
  // A logout, a closed terminal or Ctrl+C close the window like its close
  // button: the library is freed and the status is 0.
  const dalvenix::qt::CloseOnSignals close_on_signals([&window] { window.close(); });
  window.show();
  return QApplication::exec();
}
