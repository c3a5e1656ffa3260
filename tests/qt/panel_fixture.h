// What the Qt tests share: the stand-in library's trace, a shown panel on a
// library, the panel's controls by name, and points to click on them.
#pragma once

#include <QApplication>
#include <QFile>
#include <QPoint>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "device/dalvenix_library.h"
#include "device/io_library.h"
#include "panel/control_table.h"
#include "qt/qt_main_window.h"
#include "qt/text_conversion.h"
#include "qt/twips_geometry.h"

namespace dalvenix::testing {

// Points the stand-in library's trace at a fresh file for as long as it lives.
class StandInTrace {
 public:
  StandInTrace() : path_(directory_.filePath("trace.txt")) {
    qputenv("DALVENIX_SIM_TRACE", path_.toLocal8Bit());
  }
  ~StandInTrace() { qunsetenv("DALVENIX_SIM_TRACE"); }
  StandInTrace(const StandInTrace&) = delete;
  StandInTrace& operator=(const StandInTrace&) = delete;

  // Every line written so far; the stand-in flushes each call at once.
  [[nodiscard]] QStringList lines() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  }
  [[nodiscard]] bool exists() const { return QFile::exists(path_); }

 private:
  QTemporaryDir directory_;
  QString path_;
};

// The window's control by the name the code uses, e.g. "btnInp(1)".
template <class Widget>
Widget& control(QWidget& window, panel::ControlId id) {
  auto* widget = window.findChild<Widget*>(qt::to_qstring(panel::control_name(id)),
                                           Qt::FindDirectChildrenOnly);
  if (widget == nullptr) {
    qFatal("the window has no %s named %s", Widget::staticMetaObject.className(),
           panel::control_name(id).c_str());
  }
  return *widget;
}

// The centre of a control's rectangle in the table, in window coordinates:
// where a user aims the mouse at it.
inline QPoint table_centre(panel::ControlId id) {
  for (const auto& entry : panel::kControls) {
    if (entry.id == id) return qt::pixel_rect(entry.twips).center();
  }
  qFatal("the table has no %s", panel::control_name(id).c_str());
}

// Whether every character of the text is drawn from a font that has a glyph
// for it, after Qt's font fallback: a text drawn as empty boxes is not.
inline bool renders_as_glyphs(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  for (const QChar c : text) {
    bool found = false;
    for (const QGlyphRun& run : layout.glyphRuns()) {
      if (run.rawFont().supportsCharacter(c)) found = true;
    }
    if (!found) return false;
  }
  return true;
}

// Mouse and keys go through the window system's path, as a user's would: to
// the widget under the pointer or with the focus, and blocked by a modal box.
inline void click_at(QWidget& window, QPoint point) {
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, point);
}
inline void click_control(QWidget& window, panel::ControlId id) {
  click_at(window, table_centre(id));
}
inline void press_key(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  QTest::keyClick(window.windowHandle(), key, modifiers);
}

// The centre of a part of a scroll bar (an arrow, the trough beside the
// thumb, the thumb) in window coordinates, as the bar's style lays it out.
inline QPoint bar_part_centre(QWidget& window, const QScrollBar& bar, QStyle::SubControl part) {
  QStyleOptionSlider option;
  option.initFrom(&bar);
  option.orientation = bar.orientation();
  option.state |= QStyle::State_Horizontal;
  option.minimum = bar.minimum();
  option.maximum = bar.maximum();
  option.sliderPosition = bar.sliderPosition();
  option.sliderValue = bar.value();
  option.singleStep = bar.singleStep();
  option.pageStep = bar.pageStep();
  option.upsideDown = bar.layoutDirection() == Qt::RightToLeft;
  option.subControls = QStyle::SC_All;
  const QRect rect = bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
  return bar.mapTo(&window, rect.center());
}

// A panel on a library, shown and active, ready for the user's events.
class ShownPanel {
 public:
  explicit ShownPanel(device::IoLibrary& library) : window_(library) {
    window_.show();
    window_.activateWindow();
    active_ = QTest::qWaitForWindowActive(&window_);
  }
  qt::QtMainWindow& window() { return window_; }
  [[nodiscard]] bool active() const { return active_; }

 private:
  qt::QtMainWindow window_;
  bool active_ = false;
};

// The panel on the real binding, which loads the real stand-in library from
// the tests' folder, with the stand-in's trace.
struct StandInPanel {
  StandInPanel() { qunsetenv("DALVENIX_SIM_DEVICES"); }
  StandInTrace trace;
  device::DalvenixLibrary library;
  ShownPanel panel{library};
  qt::QtMainWindow& window() { return panel.window(); }
};

}  // namespace dalvenix::testing
