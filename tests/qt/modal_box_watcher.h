// Watches for the modal message boxes a panel opens: notes what each showed,
// runs a check while it is open, then dismisses it with a real click on its
// first button, as a user would.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

namespace dalvenix::testing {

struct SeenBox {
  QString title;
  QString text;
  QString informative_text;
  QStringList buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool has_icon_pixmap = false;
  Qt::WindowModality modality = Qt::NonModal;
  const QWidget* parent = nullptr;
};

class ModalBoxWatcher {
 public:
  explicit ModalBoxWatcher(std::function<void(QMessageBox&)> while_open = {})
      : while_open_(std::move(while_open)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start(10);
  }

  [[nodiscard]] const std::vector<SeenBox>& seen() const { return seen_; }

 private:
  void look() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || box == handled_) return;
    handled_ = box;
    SeenBox seen;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.informative_text = box->informativeText();
    for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
    seen.icon = box->icon();
    seen.has_icon_pixmap = !box->iconPixmap().isNull();
    seen.modality = box->windowModality();
    seen.parent = box->parentWidget();
    seen_.push_back(seen);
    if (while_open_) while_open_(*box);
    if (!box->buttons().isEmpty()) QTest::mouseClick(box->buttons().front(), Qt::LeftButton);
  }

  std::function<void(QMessageBox&)> while_open_;
  QTimer timer_;
  QPointer<QMessageBox> handled_;
  std::vector<SeenBox> seen_;
};

}  // namespace dalvenix::testing
