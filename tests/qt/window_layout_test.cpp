// The panel as it opens: its controls, where they stand, what they show, and
// how the focus moves through them.
#include <dlfcn.h>

#include <QClipboard>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QtGlobal>
#include <memory>

#include "panel_fixture.h"

namespace dalvenix::testing {
namespace {

using panel::ControlId;
using panel::ControlKind;
using panel::Group;

// Whether the stand-in library is loaded into this process now.
bool standin_loaded() {
  const QByteArray path =
      (QCoreApplication::applicationDirPath() + "/" + qt::to_qstring(device::kLibraryFile))
          .toLocal8Bit();
  void* handle = dlopen(path.constData(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}

const char* class_for(ControlKind kind) {
  switch (kind) {
    case ControlKind::Button: return "QPushButton";
    case ControlKind::HorizontalScrollBar: return "QScrollBar";
    case ControlKind::TextBox: return "QLineEdit";
    case ControlKind::Label: return "QLabel";
  }
  return "?";
}

}  // namespace

class WindowLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { panel_ = std::make_unique<StandInPanel>(); }
  void cleanup() { panel_.reset(); }

  void opensWithTheTablesValuesAndTouchesNoLibrary() {
    QVERIFY(panel_->panel.active());
    QTest::qWait(50);  // let any start-up event run
    auto& window = panel_->window();
    for (std::int16_t member = 0; member < 4; ++member) {
      QCOMPARE(control<QLineEdit>(window, {Group::txtInpDat, member}).text(), QString("00"));
      QCOMPARE(control<QLineEdit>(window, {Group::txtOutDat, member}).text(), QString("00"));
    }
    QCOMPARE(control<QLineEdit>(window, {Group::txtNo, 0}).text(), QString("00"));
    for (std::int16_t member = 0; member < 2; ++member) {
      const auto& bar = control<QScrollBar>(window, {Group::hsbVol, member});
      QCOMPARE(bar.value(), 0);
      QCOMPARE(bar.minimum(), 0);
      QCOMPARE(bar.maximum(), 12);
      QCOMPARE(bar.singleStep(), 1);
      QCOMPARE(bar.pageStep(), 1);
      QCOMPARE(bar.orientation(), Qt::Horizontal);
    }
    QCOMPARE(QApplication::focusWidget(), &control<QPushButton>(window, {Group::btnFind, 0}));
    QVERIFY(!panel_->trace.exists());
    QVERIFY(!standin_loaded());
    // The first click is what loads it.
    click_control(window, {Group::btnFind, 0});
    QVERIFY(standin_loaded());
    QCOMPARE(panel_->trace.lines().size(), 2);
  }

  void isTheSizeOfTheClientAreaWithNoMenuBar() {
    auto& window = panel_->window();
    QCOMPARE(window.windowTitle(), QString("DALVENIX TEST"));
    QCOMPARE(window.size(), QSize(351, 195));  // 5265 x 2925 twips at 15 a pixel
    QVERIFY(window.findChildren<QMenuBar*>().isEmpty());
    QVERIFY(window.isWindow());
    QCOMPARE(window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(),
             static_cast<qsizetype>(panel::kControls.size()));
  }

  void placesEachControlAtItsTwipsWithItsText_data() {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < panel::kControls.size(); ++i) {
      QTest::newRow(panel::control_name(panel::kControls[i].id).c_str()) << static_cast<int>(i);
    }
  }
  void placesEachControlAtItsTwipsWithItsText() {
    QFETCH(int, row);
    const auto& entry = panel::kControls[static_cast<std::size_t>(row)];
    auto& widget = control<QWidget>(panel_->window(), entry.id);
    QCOMPARE(widget.metaObject()->className(), class_for(entry.kind));
    // Within half a pixel of the twips, since a pixel is 15 of them.
    const QRect at = widget.geometry();
    const auto near = [](int pixels, int twips) { return std::abs(pixels * 15 - twips) <= 7; };
    QVERIFY2(near(at.left(), entry.twips.left) && near(at.top(), entry.twips.top) &&
                 near(at.width(), entry.twips.width) && near(at.height(), entry.twips.height),
             qPrintable(QString("at %1,%2 %3x%4 px")
                            .arg(at.left())
                            .arg(at.top())
                            .arg(at.width())
                            .arg(at.height())));
    QVERIFY(widget.isVisible());
    const QString text = qt::to_qstring(entry.text);
    if (auto* button = qobject_cast<QPushButton*>(&widget)) QCOMPARE(button->text(), text);
    if (auto* box = qobject_cast<QLineEdit*>(&widget)) {
      QCOMPARE(box->text(), text);
      QVERIFY(!box->isReadOnly());
      QCOMPARE(box->echoMode(), QLineEdit::Normal);
    }
    if (auto* label = qobject_cast<QLabel*>(&widget)) {
      QCOMPARE(label->text(), text);
      QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }
    QVERIFY(renders_as_glyphs(text, widget.font()));
  }

  void writesTheJapaneseLabelExactly() {
    const auto& label = control<QLabel>(panel_->window(), {Group::Label1, panel::kNoMember});
    // A hyphen, an ASCII "(", 個数 and a full-width "）".
    QCOMPARE(label.text(), QString::fromUtf8("-(\u500b\u6570\uff09"));
    QVERIFY(!QFontDatabase::families(QFontDatabase::Japanese).isEmpty());
    QVERIFY(renders_as_glyphs(label.text(), label.font()));
  }

  void textBoxesTakeTextLongerThanQtsDefaultLimit() {
    auto& window = panel_->window();
    auto& box = control<QLineEdit>(window, {Group::txtOutDat, 2});
    const QString long_text(40000, QChar('7'));
    QApplication::clipboard()->setText(long_text);
    click_control(window, {Group::txtOutDat, 2});
    QCOMPARE(QApplication::focusWidget(), &box);
    press_key(window, Qt::Key_A, Qt::ControlModifier);
    press_key(window, Qt::Key_V, Qt::ControlModifier);
    press_key(window, Qt::Key_End);
    press_key(window, Qt::Key_A);
    press_key(window, Qt::Key_B);
    QCOMPARE(box.text().size(), 40002);
    QVERIFY(box.text().endsWith("7ab"));
    QCOMPARE(panel_->trace.lines(), QStringList());  // typing is not handled
  }

  void tabVisitsTheTabOrderAndWrapsShiftTabGoesBack() {
    QVERIFY(panel_->panel.active());
    auto& window = panel_->window();
    QStringList forward;
    for (int step = 0; step < 16; ++step) {
      press_key(window, Qt::Key_Tab);
      forward << QApplication::focusWidget()->objectName();
    }
    const QStringList expected_forward = {
        "btnInp(0)",    "BtnOut(0)",    "hsbVol(0)",    "txtOutDat(0)",
        "txtInpDat(0)", "txtOutDat(1)", "txtInpDat(1)", "txtInpDat(3)",
        "txtOutDat(3)", "txtInpDat(2)", "txtOutDat(2)", "hsbVol(1)",
        "BtnOut(1)",    "btnInp(1)",    "txtNo(0)",     "btnFind(0)"};
    QCOMPARE(forward, expected_forward);

    QStringList backward;
    for (int step = 0; step < 16; ++step) {
      press_key(window, Qt::Key_Backtab, Qt::ShiftModifier);
      backward << QApplication::focusWidget()->objectName();
    }
    QStringList expected_backward;
    for (qsizetype i = expected_forward.size() - 2; i >= 0; --i) {
      expected_backward << expected_forward[i];
    }
    expected_backward << "btnFind(0)";
    QCOMPARE(backward, expected_backward);
    QCOMPARE(panel_->trace.lines(), QStringList());  // moving the focus is not handled
  }

  void labelsNeverTakeTheFocus() {
    auto& window = panel_->window();
    click_control(window, {Group::txtNo, 0});
    auto* focused = QApplication::focusWidget();
    QCOMPARE(focused->objectName(), QString("txtNo(0)"));
    for (const auto& entry : panel::kControls) {
      if (entry.kind != ControlKind::Label) continue;
      click_control(window, entry.id);
      QCOMPARE(QApplication::focusWidget(), focused);
    }
    QCOMPARE(panel_->trace.lines(), QStringList());
  }

 private:
  std::unique_ptr<StandInPanel> panel_;
};

}  // namespace dalvenix::testing

QTEST_MAIN(dalvenix::testing::WindowLayoutTest)
#include "window_layout_test.moc"
