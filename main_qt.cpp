// DALVENIX TEST on Linux: shows the panel and runs until it is closed.
// The device library is not touched here; the panel's first handler loads it.
#include <QApplication>

#include "device/dalvenix_library.h"
#include "panel/main_window.h"
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
  window.show();
  return QApplication::exec();
}
