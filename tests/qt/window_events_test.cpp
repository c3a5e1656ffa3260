// The panel's events reaching the handlers: clicks on the three button
// groups, the scroll bars' committed changes, and nothing else.
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "fakes/event_log.h"
#include "fakes/recording_library.h"
#include "panel_fixture.h"

namespace dalvenix::testing {
namespace {

using panel::ControlId;
using panel::Group;

ControlId id_of(int group, int member) {
  return {static_cast<Group>(group), static_cast<std::int16_t>(member)};
}

QString text_of(QWidget& window, ControlId id) { return control<QLineEdit>(window, id).text(); }

// Replaces a box's text the way a user does: click, select all, type.
void type_into(QWidget& window, ControlId id, const QString& text) {
  click_control(window, id);
  press_key(window, Qt::Key_A, Qt::ControlModifier);
  for (const QChar c : text) {
    QTest::keyClick(window.windowHandle(), c.toLatin1());
  }
}

// The stand-in's trace of one bar change of device d to a level that wrote
// port0 and port1.
QStringList bar_change(int device, int port0, int port1) {
  return {QString("dvn_seldev(%1, 0, 0, 0) = 0").arg(device),
          QString("dvn_out(0, %1, 0, 0) = 0").arg(port0),
          QString("dvn_out(1, %1, 0, 0) = 0").arg(port1)};
}

}  // namespace

class WindowEventsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { panel_ = std::make_unique<StandInPanel>(); }
  void cleanup() { panel_.reset(); }

  void clickCallsTheGroupsHandlerWithTheMember_data() {
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("member");
    QTest::addColumn<QStringList>("trace");
    const auto g = [](Group group) { return static_cast<int>(group); };
    QTest::newRow("btnFind(0)") << g(Group::btnFind) << 0
                                << QStringList{"dvn_find(0, 0, 0, 0) = 0",
                                               "dvn_getdevs(0, 0, 0, 0) = 2"};
    for (int device = 0; device < 2; ++device) {
      QTest::addRow("btnInp(%d)", device)
          << g(Group::btnInp) << device
          << QStringList{QString("dvn_seldev(%1, 0, 0, 0) = 0").arg(device),
                         "dvn_inp(*, 0, 0, 0) = 0 -> 00", "dvn_inp(*, 1, 0, 0) = 0 -> 00"};
      QTest::addRow("BtnOut(%d)", device)
          << g(Group::BtnOut) << device
          << QStringList{QString("dvn_seldev(%1, 0, 0, 0) = 0").arg(device),
                         "dvn_out(0, 0, 0, 0) = 0", "dvn_out(1, 0, 0, 0) = 0"};
    }
  }
  void clickCallsTheGroupsHandlerWithTheMember() {
    QFETCH(int, group);
    QFETCH(int, member);
    QFETCH(QStringList, trace);
    click_control(panel_->window(), id_of(group, member));
    QCOMPARE(panel_->trace.lines(), trace);
  }

  void findShowsTheNumberOfBoardsReplacingTheInitialText() {
    auto& window = panel_->window();
    qputenv("DALVENIX_SIM_DEVICES", "1");
    click_control(window, {Group::btnFind, 0});
    QCOMPARE(text_of(window, {Group::txtNo, 0}), QString("1"));
    qputenv("DALVENIX_SIM_DEVICES", "16");
    click_control(window, {Group::btnFind, 0});
    qunsetenv("DALVENIX_SIM_DEVICES");
    QCOMPARE(text_of(window, {Group::txtNo, 0}), QString("16"));
    QCOMPARE(panel_->trace.lines(),
             (QStringList{"dvn_find(0, 0, 0, 0) = 0", "dvn_getdevs(0, 0, 0, 0) = 1",
                          "dvn_find(0, 0, 0, 0) = 0", "dvn_getdevs(0, 0, 0, 0) = 16"}));
  }

  void spaceClicksTheFocusedButton() {
    auto& window = panel_->window();
    press_key(window, Qt::Key_Space);  // the focus starts on btnFind(0)
    press_key(window, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("btnInp(0)"));
    press_key(window, Qt::Key_Space);
    QCOMPARE(panel_->trace.lines(),
             (QStringList{"dvn_find(0, 0, 0, 0) = 0", "dvn_getdevs(0, 0, 0, 0) = 2",
                          "dvn_seldev(0, 0, 0, 0) = 0", "dvn_inp(*, 0, 0, 0) = 0 -> 00",
                          "dvn_inp(*, 1, 0, 0) = 0 -> 00"}));
  }

  // Through the stand-in, whose outputs read back: what is typed into the
  // right column's OutData pair comes back in its InpData pair, port 1 on
  // the left of port 0, and the left column is left alone.
  void typedOutputReadsBackInTheSameColumn() {
    auto& window = panel_->window();
    type_into(window, {Group::txtOutDat, 2}, "a5");
    type_into(window, {Group::txtOutDat, 3}, " 3");
    type_into(window, {Group::txtInpDat, 2}, "zz");  // overwritten, never read
    QCOMPARE(panel_->trace.lines(), QStringList());  // typing is not handled
    click_control(window, {Group::BtnOut, 1});
    click_control(window, {Group::btnInp, 1});
    QCOMPARE(panel_->trace.lines(),
             (QStringList{"dvn_seldev(1, 0, 0, 0) = 0", "dvn_out(0, 165, 0, 0) = 0",
                          "dvn_out(1, 3, 0, 0) = 0", "dvn_seldev(1, 0, 0, 0) = 0",
                          "dvn_inp(*, 0, 0, 0) = 0 -> A5", "dvn_inp(*, 1, 0, 0) = 0 -> 03"}));
    QCOMPARE(text_of(window, {Group::txtInpDat, 2}), QString("A5"));
    QCOMPARE(text_of(window, {Group::txtInpDat, 3}), QString("03"));
    QCOMPARE(text_of(window, {Group::txtOutDat, 2}), QString("a5"));  // not reformatted
    QCOMPARE(text_of(window, {Group::txtOutDat, 3}), QString(" 3"));
    QCOMPARE(text_of(window, {Group::txtInpDat, 0}), QString("00"));
    QCOMPARE(text_of(window, {Group::txtInpDat, 1}), QString("00"));
  }

  void barChangeWritesAndShowsItsLevel_data() {
    QTest::addColumn<int>("member");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("trace");
    QTest::addColumn<QStringList>("pair");  // txtOutDat(2d), txtOutDat(2d+1) afterwards

    QTest::newRow("right arrow, bar 0")
        << 0 << "right arrow" << 1 << bar_change(0, 1, 0) << QStringList{"01", "00"};
    QTest::newRow("right arrow, bar 1")
        << 1 << "right arrow" << 1 << bar_change(1, 1, 0) << QStringList{"01", "00"};
    QTest::newRow("left arrow at 0")
        << 0 << "left arrow" << 0 << QStringList() << QStringList{"00", "00"};
    QTest::newRow("trough right of the thumb")
        << 1 << "trough" << 1 << bar_change(1, 1, 0) << QStringList{"01", "00"};
    QStringList nine_steps;
    const int levels[][2] = {{1, 0},  {3, 0},   {7, 0},   {15, 0}, {31, 0},
                             {63, 0}, {127, 0}, {255, 0}, {255, 1}};
    for (const auto& level : levels) nine_steps << bar_change(0, level[0], level[1]);
    QTest::newRow("nine right arrows")
        << 0 << "right arrow x9" << 9 << nine_steps << QStringList{"FF", "01"};
    // The keys reach the bar through the keyboard focus.
    QTest::newRow("Right key, bar 0")
        << 0 << "key Right" << 1 << bar_change(0, 1, 0) << QStringList{"01", "00"};
    QTest::newRow("Down key, bar 1")
        << 1 << "key Down" << 1 << bar_change(1, 1, 0) << QStringList{"01", "00"};
    QTest::newRow("Page Down key, bar 0")
        << 0 << "key PageDown" << 1 << bar_change(0, 1, 0) << QStringList{"01", "00"};
    QTest::newRow("End key, bar 1")
        << 1 << "key End" << 12 << bar_change(1, 255, 15) << QStringList{"FF", "0F"};
    QTest::newRow("End then Left keys")
        << 0 << "key End Left" << 11 << bar_change(0, 255, 15) + bar_change(0, 255, 7)
        << QStringList{"FF", "07"};
    for (const char* key : {"Left", "Up", "PageUp", "Home"}) {
      QTest::addRow("%s key at 0", key)
          << 0 << QString("key %1").arg(key) << 0 << QStringList() << QStringList{"00", "00"};
    }
  }
  void barChangeWritesAndShowsItsLevel() {
    QFETCH(int, member);
    QFETCH(QString, action);
    QFETCH(int, value);
    QFETCH(QStringList, trace);
    QFETCH(QStringList, pair);
    auto& window = panel_->window();
    auto& bar = control<QScrollBar>(window, id_of(static_cast<int>(Group::hsbVol), member));
    if (action.startsWith("key ")) {
      // Reach the bar with the keyboard: Tab from btnFind(0) for bar 0,
      // Shift+Tab for bar 1.
      const int steps = member == 0 ? 3 : 4;
      for (int i = 0; i < steps; ++i) {
        if (member == 0)
          press_key(window, Qt::Key_Tab);
        else
          press_key(window, Qt::Key_Backtab, Qt::ShiftModifier);
      }
      QCOMPARE(QApplication::focusWidget(), &bar);
      const QMap<QString, Qt::Key> keys{{"Right", Qt::Key_Right},   {"Left", Qt::Key_Left},
                                        {"Up", Qt::Key_Up},         {"Down", Qt::Key_Down},
                                        {"PageUp", Qt::Key_PageUp}, {"PageDown", Qt::Key_PageDown},
                                        {"Home", Qt::Key_Home},     {"End", Qt::Key_End}};
      for (const QString& name : action.mid(4).split(' ')) press_key(window, keys.value(name));
    } else if (action == "trough") {
      click_at(window, bar_part_centre(window, bar, QStyle::SC_ScrollBarAddPage));
    } else {
      const auto part =
          action == "left arrow" ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine;
      const int clicks = action == "right arrow x9" ? 9 : 1;
      for (int i = 0; i < clicks; ++i) click_at(window, bar_part_centre(window, bar, part));
    }
    QCOMPARE(bar.value(), value);
    QCOMPARE(panel_->trace.lines(), trace);
    const auto d = static_cast<std::int16_t>(member);
    QCOMPARE(text_of(window, {Group::txtOutDat, static_cast<std::int16_t>(2 * d)}), pair[0]);
    QCOMPARE(text_of(window, {Group::txtOutDat, static_cast<std::int16_t>(2 * d + 1)}), pair[1]);
    // The other column's pair is untouched.
    const auto other = static_cast<std::int16_t>(1 - d);
    QCOMPARE(text_of(window, {Group::txtOutDat, static_cast<std::int16_t>(2 * other)}),
             QString("00"));
    QCOMPARE(text_of(window, {Group::txtOutDat, static_cast<std::int16_t>(2 * other + 1)}),
             QString("00"));
  }

  void draggingTheThumbWritesOnlyOnRelease() {
    auto& window = panel_->window();
    auto& bar = control<QScrollBar>(window, {Group::hsbVol, 0});
    QWindow* handle = window.windowHandle();
    const QPoint start = bar_part_centre(window, bar, QStyle::SC_ScrollBarSlider);
    const QPoint end = bar.mapTo(&window, QPoint(bar.width() - 1, bar.height() / 2));
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, start);
    QVERIFY(bar.isSliderDown());
    for (int x = start.x() + 2; x <= end.x() + 20; x += 2) {
      QTest::mouseMove(handle, QPoint(x, start.y()));
      QCOMPARE(bar.value(), 0);
    }
    QCOMPARE(bar.sliderPosition(), 12);  // the thumb went all the way
    QCOMPARE(panel_->trace.lines(), QStringList());
    QCOMPARE(text_of(window, {Group::txtOutDat, 0}), QString("00"));
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, QPoint(end.x() + 20, start.y()));
    QCOMPARE(bar.value(), 12);
    QCOMPARE(panel_->trace.lines(), bar_change(0, 255, 15));
    QCOMPARE(text_of(window, {Group::txtOutDat, 0}), QString("FF"));
    QCOMPARE(text_of(window, {Group::txtOutDat, 1}), QString("0F"));

    // A drag that ends where it began changes nothing and writes nothing.
    const QPoint thumb = bar_part_centre(window, bar, QStyle::SC_ScrollBarSlider);
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, thumb);
    QTest::mouseMove(handle, thumb - QPoint(30, 0));
    QCOMPARE(bar.value(), 12);
    QVERIFY(bar.sliderPosition() < 12);
    QTest::mouseMove(handle, thumb);
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, thumb);
    QCOMPARE(bar.value(), 12);
    QCOMPARE(panel_->trace.lines(), bar_change(0, 255, 15));
  }

  void resizingTypingAndEnterAreNotHandled() {
    auto& window = panel_->window();
    const QRect find_at = control<QPushButton>(window, {Group::btnFind, 0}).geometry();
    window.resize(600, 400);
    QTest::qWait(20);
    QCOMPARE(control<QPushButton>(window, {Group::btnFind, 0}).geometry(), find_at);
    for (const auto& entry : panel::kControls) {
      if (entry.kind != panel::ControlKind::TextBox) continue;
      type_into(window, entry.id, "1f");
      press_key(window, Qt::Key_Return);
    }
    window.resize(200, 100);
    QTest::qWait(20);
    QCOMPARE(control<QPushButton>(window, {Group::btnFind, 0}).geometry(), find_at);
    QCOMPARE(panel_->trace.lines(), QStringList());
  }

 private:
  std::unique_ptr<StandInPanel> panel_;
};

// Cases that need results the stand-in library never gives.
class RecordedEventsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    log_.clear();
    library_ = std::make_unique<RecordingLibrary>(log_);
    panel_ = std::make_unique<ShownPanel>(*library_);
  }
  void cleanup() {
    panel_.reset();
    library_.reset();
  }

  void findShowsAnyCountInDecimal_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << 0 << "0";
    QTest::newRow("negative") << -1 << "-1";
    QTest::newRow("many") << 1234 << "1234";
  }
  void findShowsAnyCountInDecimal() {
    QFETCH(int, count);
    QFETCH(QString, shown);
    library_->getdevs_result = count;
    click_control(panel_->window(), {Group::btnFind, 0});
    QCOMPARE(text_of(panel_->window(), {Group::txtNo, 0}), shown);
    QCOMPARE(log_, (EventLog{"dvn_find(0, 0, 0, 0)", "dvn_getdevs(0, 0, 0, 0)"}));
  }

  void inputShowsPortZeroOnTheRightOfPortOne() {
    library_->set_port(0, 0, 0x0A);
    library_->set_port(0, 1, 0xF0);
    click_control(panel_->window(), {Group::btnInp, 0});
    QCOMPARE(log_,
             (EventLog{"dvn_seldev(0, 0, 0, 0)", "dvn_inp(*, 0, 0, 0)", "dvn_inp(*, 1, 0, 0)"}));
    auto& window = panel_->window();
    QCOMPARE(text_of(window, {Group::txtInpDat, 0}), QString("0A"));
    QCOMPARE(text_of(window, {Group::txtInpDat, 1}), QString("F0"));
    // txtInpDat(0) is the right-hand box of the left pair.
    QVERIFY(control<QLineEdit>(window, {Group::txtInpDat, 0}).x() >
            control<QLineEdit>(window, {Group::txtInpDat, 1}).x());
  }

  void inputFromALibraryThatStoresNothingShowsZeros() {
    auto& window = panel_->window();
    type_into(window, {Group::txtInpDat, 2}, "77");
    type_into(window, {Group::txtInpDat, 3}, "77");
    library_->stores_nothing = true;
    click_control(window, {Group::btnInp, 1});
    QCOMPARE(text_of(window, {Group::txtInpDat, 2}), QString("00"));
    QCOMPARE(text_of(window, {Group::txtInpDat, 3}), QString("00"));
  }

  void outputPassesTheFieldsValuesUnlimited() {
    auto& window = panel_->window();
    type_into(window, {Group::txtOutDat, 0}, "100");
    type_into(window, {Group::txtOutDat, 1}, "ffff");
    click_control(window, {Group::BtnOut, 0});
    QCOMPARE(log_,
             (EventLog{"dvn_seldev(0, 0, 0, 0)", "dvn_out(0, 256, 0, 0)", "dvn_out(1, -1, 0, 0)"}));
  }

 private:
  EventLog log_;
  std::unique_ptr<RecordingLibrary> library_;
  std::unique_ptr<ShownPanel> panel_;
};

}  // namespace dalvenix::testing

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  dalvenix::testing::WindowEventsTest events;
  dalvenix::testing::RecordedEventsTest recorded;
  const int failed_events = QTest::qExec(&events, argc, argv);
  const int failed_recorded = QTest::qExec(&recorded, argc, argv);
  return failed_events + failed_recorded == 0 ? 0 : 1;
}

#include "window_events_test.moc"
