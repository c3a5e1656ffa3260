// A library failure in a handler: the panel shows a report naming what
// failed and the program ends with a non-zero status. Each case runs the
// probe program, since the failure ends the process that meets it.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace dalvenix::testing {

class FatalReportTest : public QObject {
  Q_OBJECT

 private slots:
  void failureShowsAReportAndEndsTheProgram_data() {
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("named");  // what the report must say

    const QString bin = QCoreApplication::applicationDirPath();
    // No library at all: a folder that does not exist.
    const QString missing = QDir::tempPath() + "/dalvenix-no-such-folder/libdalvenix.so";
    const QString partial = bin + "/libdalvenix_partial.so";
    QTest::newRow("no library, btnFind")
        << missing << "btnFind(0)" << QStringList{"cannot load", missing};
    QTest::newRow("no library, btnInp")
        << missing << "btnInp(1)" << QStringList{"cannot load", missing};
    QTest::newRow("no library, close") << missing << "close" << QStringList{"cannot load", missing};
    QTest::newRow("no dvn_out entry, BtnOut")
        << partial << "BtnOut(0)" << QStringList{partial, "has no entry dvn_out"};
  }
  void failureShowsAReportAndEndsTheProgram() {
    QFETCH(QString, library);
    QFETCH(QString, action);
    QFETCH(QStringList, named);
    QProcess probe;
    probe.start(QCoreApplication::applicationDirPath() + "/fatal_probe", {library, action});
    QVERIFY(probe.waitForFinished(30000));
    const QString out = QString::fromUtf8(probe.readAllStandardOutput());
    const QString err = QString::fromUtf8(probe.readAllStandardError());
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QVERIFY2(probe.exitCode() == 1,
             qPrintable(QString("status %1\n%2\n%3").arg(probe.exitCode()).arg(out, err)));
    QVERIFY2(out.contains("title: DALVENIX\n"), qPrintable(out));
    QVERIFY2(out.contains("icon: critical\n"), qPrintable(out));
    QVERIFY2(out.contains("buttons: 1\n"), qPrintable(out));
    QVERIFY2(out.contains("modal to the window: yes\n"), qPrintable(out));
    QVERIFY2(out.contains("text: DALVENIX cannot reach the device library and must close."),
             qPrintable(out));
    for (const QString& part : named) {
      QVERIFY2(out.contains(part), qPrintable(out));
      QVERIFY2(err.contains(part), qPrintable(err));  // for a terminal or a script too
    }
  }

  void aHeldScrollBarArrowReportsOnceAndEnds() {
    // The bar repeats its step while the arrow is held; the first step fails.
    QProcess probe;
    const QString partial = QCoreApplication::applicationDirPath() + "/libdalvenix_partial.so";
    probe.start(QCoreApplication::applicationDirPath() + "/fatal_probe",
                {partial, "hold hsbVol(0)"});
    QVERIFY(probe.waitForFinished(30000));
    const QString out = QString::fromUtf8(probe.readAllStandardOutput());
    const QString err = QString::fromUtf8(probe.readAllStandardError());
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QVERIFY2(probe.exitCode() == 1,
             qPrintable(QString("status %1\n%2\n%3").arg(probe.exitCode()).arg(out, err)));
    QCOMPARE(out.count("title: DALVENIX\n"), 1);
    QVERIFY2(err.count("has no entry dvn_out") == 1, qPrintable(err));
  }

  void aWorkingLibraryGivesNoReport() {
    // The probe itself: with the stand-in, the same click reports nothing.
    QProcess probe;
    probe.start(QCoreApplication::applicationDirPath() + "/fatal_probe",
                {QCoreApplication::applicationDirPath() + "/libdalvenix.so", "btnFind(0)"});
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitCode(), 3);
    QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()), QString("no report\n"));
  }
};

}  // namespace dalvenix::testing

QTEST_GUILESS_MAIN(dalvenix::testing::FatalReportTest)
#include "fatal_report_test.moc"
