// The smallest Qt Widgets program that shows a window: the yardstick for the
// panel's start-up time and memory.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("MINIMAL QT WINDOW");
  window.resize(351, 195);
  window.show();
  return QApplication::exec();
}
