#include "gui/window.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "gui/gui_tests.h"

namespace {

struct Run {
  int exitCode = -1;
  bool crashed = true;
  QStringList errorLines;
};

// Runs the probe with `arguments` in an environment without any display
// settings but `display` ("NAME=VALUE" each).
Run RunProbe(const QStringList& arguments, const QStringList& display) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    environment.remove(name);
  }
  for (const QString& setting : display) {
    environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
  }
  QProcess probe;
  probe.setProcessEnvironment(environment);
  probe.start(GUI_WINDOW_PROBE, arguments);
  Run run;
  if (!probe.waitForFinished(60000)) {
    probe.kill();
    probe.waitForFinished();
    return run;
  }
  run.crashed = probe.exitStatus() != QProcess::NormalExit;
  run.exitCode = probe.exitCode();
  run.errorLines = QString::fromUtf8(probe.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
  return run;
}

}  // namespace

class RunWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Without a display the program says so in one line and exits 2, never aborting.
  void withoutDisplaySaysSoInOneLine_data() {
    QTest::addColumn<QStringList>("display");
    QTest::newRow("nothing set") << QStringList{};
    QTest::newRow("X display that does not answer")
        << QStringList{"QT_QPA_PLATFORM=xcb", "DISPLAY=:93"};
    QTest::newRow("wayland without a socket") << QStringList{"QT_QPA_PLATFORM=wayland"};
  }
  void withoutDisplaySaysSoInOneLine() {
    QFETCH(QStringList, display);
    const Run run = RunProbe({}, display);
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.errorLines.size(), 1);
    QVERIFY2(run.errorLines[0].startsWith("programcd: ") &&
                 run.errorLines[0].contains("display", Qt::CaseInsensitive),
             qPrintable(run.errorLines[0]));
  }

  // --screenshot renders the started window to a PNG of its client area.
  void screenshotRendersTheStartedWindow() {
    QTemporaryDir dir;
    const QString png = dir.filePath("window.png");
    const Run run = RunProbe({"--screenshot", png, "--start", dir.path()},
                             {"QT_QPA_PLATFORM=offscreen"});
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QImage(png).size(), QSize(530, 280));
  }

  // A failed start-up leaves no picture: its box goes to stderr and the exit is 1.
  void screenshotAfterAFailedStartupTellsWhy() {
    QTemporaryDir dir;
    const QString png = dir.filePath("window.png");
    const Run run = RunProbe({"--empty-bus", "--screenshot", png}, {"QT_QPA_PLATFORM=offscreen"});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errorLines,
             QStringList{"ProgramCD Recording: The CD Recording Unit is not connected."});
    QVERIFY(!QFile::exists(png));
  }
};
GUI_TEST(RunWindowTest);

#include "window_test.moc"
