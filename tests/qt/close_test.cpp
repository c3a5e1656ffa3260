// Closing the panel: the library is released exactly once per close, also
// when nothing else was called, and the close is never refused; asked for
// while a message box is up, it is carried out once the box is answered.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <memory>
#include <utility>

#include "modal_box_watcher.h"
#include "panel_fixture.h"
#include "qt/close_signals.h"

namespace dalvenix::testing {

class CloseTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { panel_ = std::make_unique<StandInPanel>(); }
  void cleanup() { panel_.reset(); }

  void closeAtOnceFreesTheLibraryAndNothingElse_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("by the program") << "widget";
    QTest::newRow("by the window system") << "window system";
  }
  void closeAtOnceFreesTheLibraryAndNothingElse() {
    QFETCH(QString, how);
    auto& window = panel_->window();
    QVERIFY(panel_->panel.active());
    QVERIFY(!panel_->trace.exists());
    // The window system's close is what a window manager's close button
    // ends in: the platform window asks the application to close it.
    const bool closed = how == "widget" ? window.close() : window.windowHandle()->close();
    QVERIFY(closed);
    QVERIFY(!window.isVisible());
    QCOMPARE(panel_->trace.lines(), QStringList{"dvn_free(0, 0, 0, 0) = 0"});
  }

  void closeAfterWorkFreesOnceAtTheEnd() {
    auto& window = panel_->window();
    click_control(window, {panel::Group::btnFind, 0});
    click_control(window, {panel::Group::BtnOut, 1});
    QVERIFY(window.close());
    QVERIFY(!window.isVisible());
    const QStringList trace = panel_->trace.lines();
    QCOMPARE(trace.size(), 6);
    QCOMPARE(trace.last(), QString("dvn_free(0, 0, 0, 0) = 0"));
    QCOMPARE(trace.filter("dvn_free").size(), 1);
  }

  void closeDuringAMessageWaitsForTheBoxAndClicksMeanwhileDoNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("by the program") << "widget";
    QTest::newRow("by the window system") << "window system";
  }
  void closeDuringAMessageWaitsForTheBoxAndClicksMeanwhileDoNothing() {
    QFETCH(QString, how);
    auto& window = panel_->window();
    qputenv("DALVENIX_SIM_DEVICES", "0");  // btnFind says "USB未接続"
    bool stayed_open = false;
    ModalBoxWatcher watcher([&](QMessageBox&) {
      if (how == "widget") {
        window.close();
      } else {
        window.windowHandle()->close();
      }
      // A click that comes in meanwhile, as a posted one would.
      control<QPushButton>(window, {panel::Group::btnFind, 0}).click();
      control<QPushButton>(window, {panel::Group::BtnOut, 1}).click();
      stayed_open = window.isVisible();
    });
    click_control(window, {panel::Group::btnFind, 0});
    QTRY_VERIFY(!window.isVisible());
    QVERIFY2(stayed_open, "the window went while the box was up");
    QCOMPARE(watcher.seen().size(), 1U);
    QCOMPARE(panel_->trace.lines(),
             (QStringList{"dvn_find(0, 0, 0, 0) = 1", "dvn_free(0, 0, 0, 0) = 0"}));
  }

  // As the program sets it up: SIGTERM, SIGHUP and SIGINT close the window.
  void aSignalClosesTheWindowOnceAnyBoxIsAnswered_data() {
    QTest::addColumn<int>("signal_number");
    QTest::addColumn<bool>("box_up");
    for (const auto& [name, number] : {std::pair{"SIGTERM", SIGTERM}, std::pair{"SIGHUP", SIGHUP},
                                       std::pair{"SIGINT", SIGINT}}) {
      QTest::addRow("%s", name) << number << false;
      QTest::addRow("%s while a message box is up", name) << number << true;
    }
  }
  void aSignalClosesTheWindowOnceAnyBoxIsAnswered() {
    QFETCH(int, signal_number);
    QFETCH(bool, box_up);
    auto& window = panel_->window();
    // Whatever this test was started with: a signal ignored from the start
    // stays ignored.
    std::signal(signal_number, SIG_DFL);
    const qt::CloseOnSignals close_on_signals([&window] { window.close(); });
    if (!box_up) {
      QVERIFY(std::raise(signal_number) == 0);
      QTRY_VERIFY(!window.isVisible());
      QCOMPARE(panel_->trace.lines(), QStringList{"dvn_free(0, 0, 0, 0) = 0"});
      return;
    }
    qputenv("DALVENIX_SIM_DEVICES", "0");
    bool stayed_open = false;
    ModalBoxWatcher watcher([&](QMessageBox&) {
      std::raise(signal_number);
      QTest::qWait(200);  // the box's own loop takes the signal's byte meanwhile
      stayed_open = window.isVisible();
    });
    click_control(window, {panel::Group::btnFind, 0});
    QTRY_VERIFY(!window.isVisible());
    QVERIFY2(stayed_open, "the window went while the box was up");
    QCOMPARE(panel_->trace.lines(),
             (QStringList{"dvn_find(0, 0, 0, 0) = 1", "dvn_free(0, 0, 0, 0) = 0"}));
  }

 private:
  std::unique_ptr<StandInPanel> panel_;
};

}  // namespace dalvenix::testing

QTEST_MAIN(dalvenix::testing::CloseTest)
#include "close_test.moc"
