#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "gui/gui_test_support.h"
#include "gui/gui_tests.h"
#include "gui/main_window.h"

namespace {

constexpr int kRecordingTimeoutMs = 60000;

struct RecordingCase {
  const char* name;
  SimOptions options;
  std::deque<Answer> answers;
  QStringList boxes;
  bool closes;         // a no-recovery failure ends the program
  bool ejected;
  const char* message;  // Message afterwards; nullptr: the stage text stays
};

const RecordingCase kRecordingCases[] = {
    {"completed", {}, {}, {"ask Start recording.", "box Recording is completed"}, false, true,
     ""},
    {"verify fails", {.corruptLbas = {30}}, {},
     {"ask Start recording.", "box Verify fails"}, false, true, ""},
    {"no disc, cancelled", {.noDiscTests = 1}, {Answer::Cancel}, {"ask Insert CD-R Disc"}, false,
     false, ""},
    {"recovery failure", {.failures = {{0x2A, 30}}}, {},
     {"ask Start recording.", "box recovery error. (Write)"}, false, false, nullptr},
    {"failing eject", {.failures = {{0x1B}}}, {},
     {"ask Start recording.", "box Recording is completed", "box recovery error. (Eject)"},
     false, false, "Eject CD"},
    {"no-recovery failure", {.failures = {{0x5A}}}, {},
     {"ask Start recording.", "box no recovery error. (ModeSence)"}, true, false, nullptr},
};

// The texts the Message edit showed, each once, in order; filled by sampling.
class Sampler : public QObject {
 public:
  explicit Sampler(TMainFrame& frame) : frame_(frame) {
    connect(&timer_, &QTimer::timeout, this, &Sampler::Sample);
    clock_.start();
    last_ = clock_.elapsed();
    timer_.start(10);
  }

  QStringList texts;
  qint64 longestGapMs = 0;
  bool barMidway = false;        // the bar showed a count between none and all
  bool unlockedMidway = false;   // a control was enabled while a stage ran
  std::function<void()> onData;  // run once when "Recording data" shows

 private:
  void Sample() {
    const qint64 now = clock_.elapsed();
    if (frame_.Recording()) longestGapMs = std::max(longestGapMs, now - last_);
    last_ = now;
    const QString text = frame_.Message->text();
    if (!text.isEmpty() && (texts.isEmpty() || texts.last() != text)) texts << text;
    const QProgressBar& bar = *frame_.SectorBar;
    if (bar.isVisible() && bar.value() > 0 && bar.value() < bar.maximum()) barMidway = true;
    if (text.startsWith("Recording") && !ControlsEnabled(frame_, false)) unlockedMidway = true;
    if (text == "Recording data" && onData) std::exchange(onData, nullptr)();
  }

  TMainFrame& frame_;
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_;
};

// A TEAC recorder that takes about a second for the image below.
std::shared_ptr<SimBus> SlowBus() { return MakeBus(kTeacBus, {.delayFactor = 1.0}); }

}  // namespace

class RecordingTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Each way a press of Make can end: boxes, controls, disc and window afterwards.
  void endsAsTheRecorderDecides_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kRecordingCases)); ++i) {
      QTest::newRow(kRecordingCases[i].name) << i;
    }
  }
  void endsAsTheRecorderDecides() {
    QFETCH(int, index);
    const RecordingCase& c = kRecordingCases[index];
    StartedWindow w(MakeBus(kTeacBus, c.options), {{"raw.BIN", RawFirmwareImage("1.05")}});
    TMainFrame& f = *w.frame;
    QSignalSpy closed(&f, &TMainFrame::Closed);
    QTRY_VERIFY(ClickFile(f, "raw.BIN"));
    w.answerer.answers = c.answers;
    QTest::mouseClick(f.Make, Qt::LeftButton);
    QVERIFY(f.Recording());
    QTRY_VERIFY_WITH_TIMEOUT(!f.Recording(), kRecordingTimeoutMs);

    QCOMPARE(w.answerer.boxes, c.boxes);
    QVERIFY(w.answerer.malformed.isEmpty());
    QCOMPARE(f.isVisible(), !c.closes);
    QCOMPARE(closed.count(), c.closes ? 1 : 0);
    QCOMPARE(f.EndedByFailure(), c.closes);
    QVERIFY(ControlsEnabled(f, !c.closes));
    QCOMPARE(w.bus->Recorder(0, 1)->TrayOpen(), c.ejected);
    if (c.message) {
      QCOMPARE(f.Message->text(), QString(c.message));
    } else {
      QVERIFY(!f.Message->text().isEmpty());
    }
  }

  // The event loop runs on during a recording: stage texts and the bar show as they
  // happen, the controls stay locked, and no tick waits long.
  void windowStaysResponsiveWhileRecording() {
    StartedWindow w(SlowBus(), {{"raw.BIN", RawFirmwareImage("1.05")}});
    TMainFrame& f = *w.frame;
    QTRY_VERIFY(ClickFile(f, "raw.BIN"));
    Sampler sampler(f);
    QElapsedTimer recording;
    recording.start();
    QTest::mouseClick(f.Make, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!f.Recording(), kRecordingTimeoutMs);
    const qint64 totalMs = recording.elapsed();
    qInfo("longest event-loop gap during a %lld ms recording: %lld ms", totalMs,
          sampler.longestGapMs);

    QCOMPARE(w.answerer.boxes, (QStringList{"ask Start recording.", "box Recording is completed"}));
    // The lead-in is over too soon to be sure of a sample.
    for (const char* stage : {"Recording data", "Recording leadout", "Verify"}) {
      QVERIFY2(sampler.texts.contains(stage), stage);
    }
    QVERIFY(sampler.barMidway);
    QVERIFY(!sampler.unlockedMidway);
    QVERIFY(f.SectorBar->isHidden());
    // A recording that held the UI thread would leave one gap as long as itself.
    QVERIFY2(sampler.longestGapMs * 4 < totalMs, "the event loop stalled");
    QVERIFY(ControlsEnabled(f, true));
  }

  // Closing during a recording is refused with the reason; afterwards it closes.
  void closeIsRefusedWhileRecording() {
    StartedWindow w(SlowBus(), {{"raw.BIN", RawFirmwareImage("1.05")}});
    TMainFrame& f = *w.frame;
    QTRY_VERIFY(ClickFile(f, "raw.BIN"));
    Sampler sampler(f);
    bool closedMidway = true;
    sampler.onData = [&] { closedMidway = f.close(); };
    QTest::mouseClick(f.Make, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!f.Recording(), kRecordingTimeoutMs);
    QVERIFY(!closedMidway);
    QCOMPARE(w.answerer.boxes,
             (QStringList{"ask Start recording.",
                          "box A recording is running. The window can be closed when it has ended.",
                          "box Recording is completed"}));
    QVERIFY(w.bus->Recorder(0, 1)->TrayOpen());
    QVERIFY(f.close());
  }

  // Destroying the window mid-recording finishes the disc first; its last box gets Cancel.
  void destroyingTheWindowFinishesTheDisc() {
    StartedWindow w(SlowBus(), {{"raw.BIN", RawFirmwareImage("1.05")}});
    TMainFrame& f = *w.frame;
    QTRY_VERIFY(ClickFile(f, "raw.BIN"));
    QTest::mouseClick(f.Make, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(f.Message->text(), QString("Recording data"), kRecordingTimeoutMs);
    w.frame.reset();
    const SimRecorder& recorder = *w.bus->Recorder(0, 1);
    QVERIFY(recorder.TrayOpen());
    QCOMPARE(w.answerer.boxes, QStringList{"ask Start recording."});
  }
};
GUI_TEST(RecordingTest);

#include "recording_test.moc"
