#include "gui/window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>

#include "app/messages.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"

namespace {

constexpr int kFileListWaitMs = 3000;

bool EnvironmentSet(const char* name) { return !qEnvironmentVariableIsEmpty(name); }

// Whether one of the Qt platforms asked for can reach its display server;
// Qt aborts with a core dump when none can.
bool HasDisplay() {
  const QString platforms = qEnvironmentVariable("QT_QPA_PLATFORM");
  if (platforms.isEmpty()) return EnvironmentSet("DISPLAY") || EnvironmentSet("WAYLAND_DISPLAY");
  for (const QString& platform : platforms.split(';', Qt::SkipEmptyParts)) {
    if (platform.startsWith("xcb")) {
      if (EnvironmentSet("DISPLAY")) return true;
    } else if (platform.startsWith("wayland")) {
      if (EnvironmentSet("WAYLAND_DISPLAY")) return true;
    } else {
      return true;  // offscreen, vnc, eglfs...: nothing to check beforehand
    }
  }
  return false;
}

// The first warning while the application object is made: it names the
// cause, where Qt's fatal message only suggests reinstalling.
QString firstStartupWarning;

// While the application object is made: a display that is named but does
// not answer ends the program with one line, instead of Qt's warnings and
// abort. Warnings of that moment are not shown.
void QuietStartupMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    if (firstStartupWarning.isEmpty()) firstStartupWarning = message;
    return;
  }
  const QString cause = firstStartupWarning.isEmpty() ? message : firstStartupWarning;
  std::fprintf(stderr, "programcd: cannot open the window: %s\n",
               qPrintable(cause.section('\n', 0, 0)));
  std::_Exit(2);
}

void CentreOnScreen(QWidget& window) {
  if (const QScreen* screen = window.screen()) {
    window.move(screen->availableGeometry().center() - window.rect().center());
  }
}

int SaveScreenshot(TMainFrame& frame, const std::string& path) {
  // Let the file list fill before the picture is taken.
  QElapsedTimer waited;
  waited.start();
  while (!frame.FileListLoaded() && waited.elapsed() < kFileListWaitMs) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(10);
  }
  QApplication::processEvents();
  if (!frame.grab().save(QString::fromStdString(path), "PNG")) {
    std::fprintf(stderr, "programcd: cannot write the screenshot %s\n", path.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int RunWindow(int argc, char** argv, const WindowSetup& setup) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "programcd: no display for the window (set DISPLAY or WAYLAND_DISPLAY, or "
                 "QT_QPA_PLATFORM=offscreen)\n");
    return 2;
  }
  const QtMessageHandler previous = qInstallMessageHandler(QuietStartupMessages);
  QApplication app(argc, argv);
  qInstallMessageHandler(previous);
  QApplication::setApplicationName(ToQString(text::kApplicationName));
  QApplication::setApplicationDisplayName(ToQString(text::kApplicationName));
  // The window ends the program itself; boxes shown before it do not.
  QApplication::setQuitOnLastWindowClosed(false);

  TMainFrame frame(setup.backend, setup.startDirectory);
  if (!setup.screenshotPath.empty()) frame.AnswerUnattended();
  const StartupResult startup = frame.FormCreate(setup.trace);
  if (startup != StartupResult::kReady) return startup == StartupResult::kClosed ? 0 : 1;

  CentreOnScreen(frame);
  frame.show();
  if (!setup.screenshotPath.empty()) return SaveScreenshot(frame, setup.screenshotPath);
  QObject::connect(&frame, &TMainFrame::Closed, &app, &QApplication::quit);
  QApplication::exec();
  return frame.EndedByFailure() ? 1 : 0;
}
