#include "qt/panel_scroll_bar.h"

#include <QKeyEvent>
#include <optional>

namespace dalvenix::qt {
namespace {

std::optional<QAbstractSlider::SliderAction> action_for(int key, bool right_to_left) {
  using Action = QAbstractSlider::SliderAction;
  const Action toward_left =
      right_to_left ? Action::SliderSingleStepAdd : Action::SliderSingleStepSub;
  const Action toward_right =
      right_to_left ? Action::SliderSingleStepSub : Action::SliderSingleStepAdd;
  switch (key) {
    case Qt::Key_Left: return toward_left;
    case Qt::Key_Right: return toward_right;
    case Qt::Key_Up: return Action::SliderSingleStepSub;
    case Qt::Key_Down: return Action::SliderSingleStepAdd;
    case Qt::Key_PageUp: return Action::SliderPageStepSub;
    case Qt::Key_PageDown: return Action::SliderPageStepAdd;
    case Qt::Key_Home: return Action::SliderToMinimum;
    case Qt::Key_End: return Action::SliderToMaximum;
    default: return std::nullopt;
  }
}

}  // namespace

void PanelScrollBar::keyPressEvent(QKeyEvent* event) {
  const auto action = action_for(event->key(), isRightToLeft());
  if (!action || event->modifiers() != Qt::NoModifier) {
    QScrollBar::keyPressEvent(event);
    return;
  }
  // Emits valueChanged once when the value moves, and not at all at an end.
  triggerAction(*action);
  event->accept();
}

}  // namespace dalvenix::qt
