// The panel's horizontal scroll bar. Its keys move it the way a desktop
// scroll bar's do: Left and Up toward the minimum, Right and Down toward the
// maximum, Page Up and Page Down by the large change, Home and End to the
// ends. Qt's QScrollBar inverts its controls for vertical bars' sake, which
// on a horizontal bar makes Right move the thumb to the left.
#pragma once

#include <QScrollBar>

class QKeyEvent;

namespace dalvenix::qt {

class PanelScrollBar final : public QScrollBar {
 public:
  explicit PanelScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace dalvenix::qt
