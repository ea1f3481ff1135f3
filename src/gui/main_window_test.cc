#include "gui/main_window.h"

#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "gui/directory_tree.h"
#include "gui/gui_test_support.h"
#include "gui/gui_tests.h"
#include "scsi/scripted_backend.h"

namespace {

QStringList DirectoryItems(const QTreeWidget& tree) {
  QStringList names;
  for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it) {
    names << (*it)->text(0);
  }
  return names;
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // A failed start-up tells why in a box, never shows the dialog and asks to close.
  void failureTellsWhyAndNeverShowsTheDialog_data() {
    QTest::addColumn<int>("load");  // -1: loads; else the FailureCode thrown
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("result");
    QTest::newRow("no recorder") << -1 << "box The CD Recording Unit is not connected."
                                 << int(StartupResult::kNoRecorder);
    QTest::newRow("transport missing") << int(ErrAspiLoad) << "box ASPI for Win32 is resident!"
                                       << int(StartupResult::kLoadFailed);
    QTest::newRow("transport unusable") << int(ErrAspiEntry)
                                        << "box ASPI for Win32 not available!"
                                        << int(StartupResult::kLoadFailed);
  }
  void failureTellsWhyAndNeverShowsTheDialog() {
    QFETCH(int, load);
    QFETCH(QString, box);
    QFETCH(int, result);
    BoxAnswerer answerer;
    const BackendFactory factory =
        load < 0 ? Factory(MakeBus("")) : FailingFactory(static_cast<FailureCode>(load));
    TMainFrame frame(factory, QDir::tempPath().toStdString());
    answerer.mainWindow = &frame;
    QCOMPARE(int(frame.FormCreate()), result);
    QCOMPARE(answerer.boxes, QStringList{box});
    QVERIFY(answerer.malformed.isEmpty());
    QCOMPARE(answerer.dialogs, 0);
    QVERIFY(!answerer.mainWindowSeen);
    QVERIFY(!frame.isVisible());
  }

  // The dialog lists the recorders before the window shows; the chosen line binds the drive.
  void dialogChoiceBindsTheDrive() {
    BoxAnswerer answerer;
    answerer.recorderRow = 1;
    auto bus = MakeBus("1:2=PLEXTOR/CD-R   PX-W1610A;0:5=TEAC/CD-W540E;0:3=YAMAHA/CRW2100E");
    TMainFrame frame(Factory(bus), QDir::tempPath().toStdString());
    answerer.mainWindow = &frame;
    QCOMPARE(frame.FormCreate(), StartupResult::kReady);
    QCOMPARE(answerer.recorderLines, (QStringList{"ID:0-03 YAMAHA  CRW2100E        ",
                                                  "ID:0-05 TEAC    CD-W540E        ",
                                                  "ID:1-02 PLEXTOR CD-R   PX-W1610A"}));
    QVERIFY(answerer.boxes.isEmpty());
    QVERIFY(!answerer.mainWindowSeen);
    QCOMPARE(frame.controller().drive.scsi.adapterId, 0);
    QCOMPARE(frame.controller().drive.scsi.targetId, 5);
  }

  // Closing the dialog without OK ends the program without binding a recorder.
  void dialogClosedEndsTheProgram() {
    BoxAnswerer answerer;
    answerer.recorderRow = std::nullopt;
    TMainFrame frame(Factory(MakeBus(kTeacBus)), QDir::tempPath().toStdString());
    QCOMPARE(frame.FormCreate(), StartupResult::kClosed);
    QCOMPARE(answerer.dialogs, 1);
    QCOMPARE(frame.controller().drive.recorderType, 0);
  }
};
GUI_TEST(StartupTest);

class WindowLayoutTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Every control sits at its fixed bounds with its caption; the texts fit.
  void controlsKeepTheirBoundsAndCaptions() {
    StartedWindow w;
    TMainFrame& f = *w.frame;
    QCOMPARE(f.windowTitle(), QString("Program Disc Writing Tool Ver.1.15.1"));
    QCOMPARE(f.size(), QSize(530, 280));
    QCOMPARE(f.minimumSize(), f.maximumSize());
    const struct {
      QWidget* widget;
      QRect bounds;
      QString caption;
    } controls[] = {
        {f.Make, {392, 144, 129, 65}, "Make CD..."},
        {f.Exit, {392, 240, 129, 33}, "Exit"},
        {f.DriveSelect, {8, 8, 305, 24}, ""},
        {f.DirectorySelect, {8, 32, 305, 81}, ""},
        {f.FileSelect, {320, 32, 201, 81}, ""},
        {f.FileName, {96, 128, 273, 26}, ""},
        {f.Label1, {8, 128, 70, 18}, "File name:"},
        {f.FileVersion, {96, 168, 273, 26}, ""},
        {f.Label2, {8, 168, 83, 18}, "File version:"},
        {f.Message, {8, 248, 361, 26}, ""},
        {f.FileType, {96, 208, 273, 26}, ""},
        {f.Label3, {8, 208, 65, 18}, "File Type:"},
    };
    for (const auto& c : controls) {
      QCOMPARE(c.widget->geometry(), c.bounds);
      QString text;
      if (auto* button = qobject_cast<QPushButton*>(c.widget)) text = button->text();
      if (auto* label = qobject_cast<QLabel*>(c.widget)) text = label->text();
      QCOMPARE(text, c.caption);
      const QFontMetrics metrics(c.widget->font());
      QVERIFY2(metrics.horizontalAdvance(text) <= c.bounds.width() &&
                   metrics.height() <= c.bounds.height(),
               qPrintable(c.caption));
      // The progress bar lives in free space and hides nothing.
      QVERIFY(!f.SectorBar->geometry().intersects(c.bounds));
    }
    QVERIFY(f.SectorBar->isHidden());
  }

  // Make starts disabled; the edits are read-only and skipped by Tab.
  void editsAreReadOnlyAndTabSkipsThem() {
    StartedWindow w;
    TMainFrame& f = *w.frame;
    QVERIFY(!f.Make->isEnabled());
    for (QLineEdit* edit : {f.FileName, f.FileVersion, f.Message, f.FileType}) {
      QVERIFY(edit->isReadOnly());
      QVERIFY(!(edit->focusPolicy() & Qt::TabFocus));
      QVERIFY(edit->text().isEmpty());
    }
    // Tab order: Make, Exit, DriveSelect, DirectorySelect, FileSelect.
    QWidget* order[] = {f.Make, f.Exit, f.DriveSelect, f.DirectorySelect, f.FileSelect};
    for (int i = 0; i + 1 < 5; ++i) {
      QWidget* next = order[i]->nextInFocusChain();
      while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
      QCOMPARE(next, order[i + 1]);
    }
  }
};
GUI_TEST(WindowLayoutTest);

class FileListTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Only *.BIN files are listed, in any case; other files and directories are hidden.
  void listsOnlyBinFilesOfTheDirectory() {
    StartedWindow w(MakeBus(kTeacBus), {{"b.bin", Bytes(10)},
                                        {"a.BIN", Bytes(10)},
                                        {"c.txt", Bytes(10)},
                                        {"D.Bin", Bytes(10)},
                                        {"BIN", Bytes(10)},
                                        {"sub.BIN/x.BIN", Bytes(10)}});
    QTRY_COMPARE(ListedFiles(*w.frame), (QStringList{"a.BIN", "b.bin", "D.Bin"}));
    QVERIFY(w.frame->FileListLoaded());
    // The directory list shows the chain down to the directory and its subdirectories.
    const QStringList dirs = DirectoryItems(*w.frame->DirectorySelect);
    QCOMPARE(dirs.last(), QString("sub.BIN"));
    QCOMPARE(dirs.at(dirs.size() - 2), QDir(w.dir.path()).dirName());
    QCOMPARE(DirectoryOf(*w.frame->DirectorySelect->currentItem()),
             QDir(w.dir.path()).canonicalPath());
  }

  // A click shows what the file is; a rejected file clears the edits and disables Make.
  void clickShowsTheFileAndEnablesMake_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("message");
    QTest::newRow("raw firmware") << "raw.BIN" << "1.05" << "ZN7300" << "";
    QTest::newRow("recorder firmware") << "drive.BIN" << "1.07" << "PLEXTOR PX-760A" << "";
    QTest::newRow("disc image") << "disc.BIN" << "2.00" << "Magnolix" << "";
    QTest::newRow("rejected") << "plain.BIN" << "" << "" << "File Format Error";
  }
  void clickShowsTheFileAndEnablesMake() {
    QFETCH(QString, name);
    QFETCH(QString, version);
    QFETCH(QString, type);
    QFETCH(QString, message);
    StartedWindow w(MakeBus(kTeacBus),
                    {{"raw.BIN", RawFirmwareImage("1.05")},
                     {"drive.BIN", RecorderFirmwareFile({.product = "PX-760A", .version = "1.07"})},
                     {"disc.BIN", DiscImage({.version = "2.00"})},
                     {"plain.BIN", Bytes(65536, 0x11)},
                     {"other.BIN", RawFirmwareImage("9.99")}});
    TMainFrame& f = *w.frame;
    QTRY_COMPARE(ListedFiles(f).size(), 5);
    // A rejection must clear what an accepted file showed, and the reverse.
    QVERIFY(ClickFile(f, name == "plain.BIN" ? "other.BIN" : "plain.BIN"));
    QVERIFY(ClickFile(f, name));
    const bool accepted = message.isEmpty();
    QCOMPARE(f.FileName->text(), accepted ? QString::fromStdString(w.Path(name.toStdString()))
                                          : QString());
    QCOMPARE(f.FileVersion->text(), version);
    QCOMPARE(f.FileType->text(), type);
    QCOMPARE(f.Message->text(), message);
    QCOMPARE(f.Make->isEnabled(), accepted);
  }

  // Arrow keys select like a click; Tab into the list alone identifies nothing.
  void keysSelectButFocusAloneDoesNot() {
    StartedWindow w(MakeBus(kTeacBus),
                    {{"a.BIN", RawFirmwareImage("1.05")}, {"b.BIN", Bytes(65536, 0x11)}});
    TMainFrame& f = *w.frame;
    QTRY_COMPARE(ListedFiles(f).size(), 2);
    f.DirectorySelect->setFocus();
    QTest::keyClick(f.DirectorySelect, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.FileSelect));
    QVERIFY(f.FileName->text().isEmpty() && f.Message->text().isEmpty());
    QTest::keyClick(f.FileSelect, Qt::Key_Down);
    QTest::keyClick(f.FileSelect, Qt::Key_Down);
    QCOMPARE(f.Message->text(), QString("File Format Error"));
    QTest::keyClick(f.FileSelect, Qt::Key_Up);
    QCOMPARE(f.FileType->text(), QString("ZN7300"));
  }

  // Another directory or drive refills the list without a selection and keeps the edits.
  void changingDirectoryKeepsTheSelectionShown() {
    StartedWindow w(MakeBus(kTeacBus),
                    {{"raw.BIN", RawFirmwareImage("1.05")}, {"sub/x.BIN", Bytes(65536, 0x11)}});
    TMainFrame& f = *w.frame;
    QTRY_COMPARE(ListedFiles(f), QStringList{"raw.BIN"});
    QVERIFY(ClickFile(f, "raw.BIN"));
    QCOMPARE(f.FileType->text(), QString("ZN7300"));

    QTreeWidgetItem* here = f.DirectorySelect->currentItem();
    QCOMPARE(here->childCount(), 1);
    QTreeWidgetItem* sub = here->child(0);
    const QPoint point = f.DirectorySelect->visualItemRect(sub).center();
    // A double click as the platform delivers it: press, release, double click, release.
    QTest::mouseClick(f.DirectorySelect->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(f.DirectorySelect->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseRelease(f.DirectorySelect->viewport(), Qt::LeftButton, {}, point);
    QTRY_COMPARE(ListedFiles(f), QStringList{"x.BIN"});
    QVERIFY(f.FileSelect->selectionModel()->selectedIndexes().isEmpty());
    QCOMPARE(DirectoryOf(*f.DirectorySelect->currentItem()),
             QDir(w.dir.path()).canonicalPath() + "/sub");
    // Back up to a directory listed before: it loads again.
    QTreeWidgetItem* up = f.DirectorySelect->currentItem()->parent();
    const QPoint upPoint = f.DirectorySelect->visualItemRect(up).center();
    QTest::mouseClick(f.DirectorySelect->viewport(), Qt::LeftButton, {}, upPoint);
    QTest::mouseDClick(f.DirectorySelect->viewport(), Qt::LeftButton, {}, upPoint);
    QTest::mouseRelease(f.DirectorySelect->viewport(), Qt::LeftButton, {}, upPoint);
    QTRY_COMPARE(ListedFiles(f), QStringList{"raw.BIN"});
    QTRY_VERIFY(f.FileListLoaded());
    QVERIFY(f.FileSelect->selectionModel()->selectedIndexes().isEmpty());

    f.DriveSelect->activated(f.DriveSelect->currentIndex());
    QCOMPARE(DirectoryOf(*f.DirectorySelect->currentItem()), f.DriveSelect->currentText());
    QVERIFY(f.FileSelect->selectionModel()->selectedIndexes().isEmpty());
    QCOMPARE(f.FileName->text(), QString::fromStdString(w.Path("raw.BIN")));
    QCOMPARE(f.FileType->text(), QString("ZN7300"));
    QVERIFY(f.Make->isEnabled());
    QVERIFY(f.Message->text().isEmpty());
  }
};
GUI_TEST(FileListTest);

#include "main_window_test.moc"
