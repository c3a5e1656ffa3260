// The panel's message box: what it shows, that it holds the window until
// dismissed, and that nothing else happens meanwhile.
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <memory>

#include "modal_box_watcher.h"
#include "panel_fixture.h"

namespace dalvenix::testing {
namespace {

using panel::Group;

}  // namespace

class MessageBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { panel_ = std::make_unique<StandInPanel>(); }
  void cleanup() {
    panel_.reset();
    qunsetenv("DALVENIX_SIM_DEVICES");
  }

  void notConnectedShowsTheMessageAndLeavesTheCount_data() {
    QTest::addColumn<QByteArray>("devices");
    QTest::addColumn<QStringList>("trace");
    QTest::newRow("no board attached")
        << QByteArray("0") << QStringList{"dvn_find(0, 0, 0, 0) = 1"};
    QTest::newRow("an invalid setting")
        << QByteArray("two")
        << QStringList{
               "# DALVENIX_SIM_DEVICES=\"two\" is not a whole number from 0 to 16: no "
               "device is connected",
               "dvn_find(0, 0, 0, 0) = 2"};
  }
  void notConnectedShowsTheMessageAndLeavesTheCount() {
    QFETCH(QByteArray, devices);
    QFETCH(QStringList, trace);
    auto& window = panel_->window();
    qputenv("DALVENIX_SIM_DEVICES", devices);
    QStringList trace_while_open;
    ModalBoxWatcher watcher([&](QMessageBox& box) {
      // The box holds the window: a click on it reaches no handler.
      click_control(window, {Group::btnInp, 0});
      trace_while_open = panel_->trace.lines();
      QVERIFY(renders_as_glyphs(box.text(), box.font()));
    });
    click_control(window, {Group::btnFind, 0});

    // The click returned only once the box was dismissed.
    QCOMPARE(watcher.seen().size(), 1U);
    const SeenBox& box = watcher.seen().front();
    QCOMPARE(box.text, QString::fromUtf8("USB\u672a\u63a5\u7d9a"));
    QCOMPARE(box.title, QString("DALVENIX"));
    QCOMPARE(box.buttons.size(), 1);
    QCOMPARE(QString(box.buttons.front()).remove('&'), QString("OK"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QVERIFY(!box.has_icon_pixmap);
    QCOMPARE(box.modality, Qt::WindowModal);
    QCOMPARE(box.parent, &window);
    QVERIFY(box.informative_text.isEmpty());

    QCOMPARE(trace_while_open, trace);
    QCOMPARE(panel_->trace.lines(), trace);  // no dvn_getdevs
    QCOMPARE(control<QLineEdit>(window, {Group::txtNo, 0}).text(), QString("00"));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
  }

  void eachClickAsksAgain() {
    auto& window = panel_->window();
    ModalBoxWatcher watcher;
    qputenv("DALVENIX_SIM_DEVICES", "0");
    click_control(window, {Group::btnFind, 0});
    qputenv("DALVENIX_SIM_DEVICES", "2");
    click_control(window, {Group::btnFind, 0});
    QCOMPARE(watcher.seen().size(), 1U);
    QCOMPARE(control<QLineEdit>(window, {Group::txtNo, 0}).text(), QString("2"));
    qputenv("DALVENIX_SIM_DEVICES", "0");
    click_control(window, {Group::btnFind, 0});
    QCOMPARE(watcher.seen().size(), 2U);
    QCOMPARE(control<QLineEdit>(window, {Group::txtNo, 0}).text(), QString("2"));
  }

  // A text beyond 32 bits writes neither port; the message quotes it as
  // plain text, whatever it holds.
  void outputOutOfRangeNamesTheText() {
    auto& window = panel_->window();
    auto& box0 = control<QLineEdit>(window, {Group::txtOutDat, 0});
    click_control(window, {Group::txtOutDat, 0});
    press_key(window, Qt::Key_A, Qt::ControlModifier);
    for (const char c : std::string("123456789<b>")) QTest::keyClick(window.windowHandle(), c);
    QCOMPARE(box0.text(), QString("123456789<b>"));
    ModalBoxWatcher watcher;
    click_control(window, {Group::BtnOut, 0});
    QCOMPARE(watcher.seen().size(), 1U);
    const SeenBox& box = watcher.seen().front();
    QVERIFY2(box.text.contains("\"123456789<b>\""), qPrintable(box.text));
    QCOMPARE(box.title, QString("DALVENIX"));
    QCOMPARE(box.buttons.size(), 1);
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(panel_->trace.lines(), QStringList{"dvn_seldev(0, 0, 0, 0) = 0"});
  }

  // A million characters pasted into a field: the message quotes the start
  // and the length, nothing is written, and the panel goes on working.
  void aHugePastedFieldIsRefusedWithAShortMessage() {
    auto& window = panel_->window();
    auto& field = control<QLineEdit>(window, {Group::txtOutDat, 1});
    QApplication::clipboard()->setText(QString(1'000'000, 'F'));
    click_control(window, {Group::txtOutDat, 1});
    press_key(window, Qt::Key_A, Qt::ControlModifier);
    press_key(window, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field.text().size(), 1'000'000);
    QElapsedTimer clock;
    clock.start();
    qint64 until_box = -1;
    ModalBoxWatcher watcher([&](QMessageBox&) { until_box = clock.elapsed(); });
    click_control(window, {Group::BtnOut, 0});
    qInfo("the box was up after %lld ms", static_cast<long long>(until_box));
    QCOMPARE(watcher.seen().size(), 1U);
    QCOMPARE(watcher.seen().front().text,
             QString("\"%1…\" (1000000 characters) is out of range: the largest value "
                     "accepted is FFFFFFFF.")
                 .arg(QString(32, 'F')));
    QCOMPARE(panel_->trace.lines(), QStringList{"dvn_seldev(0, 0, 0, 0) = 0"});
    QCOMPARE(field.text().size(), 1'000'000);  // left as it was

    click_control(window, {Group::btnFind, 0});
    QCOMPARE(panel_->trace.lines().size(), 3);
    QCOMPARE(control<QLineEdit>(window, {Group::txtNo, 0}).text(), QString("2"));
  }

 private:
  std::unique_ptr<StandInPanel> panel_;
};

}  // namespace dalvenix::testing

QTEST_MAIN(dalvenix::testing::MessageBoxTest)
#include "message_box_test.moc"
