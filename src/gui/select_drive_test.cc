#include "gui/select_drive.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "gui/gui_tests.h"

namespace {

const std::vector<std::string> kLines = {"ID:0-03 YAMAHA  CRW2100E        ",
                                         "ID:0-05 TEAC    CD-W540E        ",
                                         "ID:1-02 PLEXTOR CD-R   PX-W1610A"};

// Shows `dialog` and lets `operate` work it once it is on screen; then, if
// it is still open, closes it without OK.
std::optional<std::size_t> Operate(TSelectDrive& dialog, std::function<void()> operate) {
  QTimer::singleShot(0, &dialog, [&dialog, operate] {
    if (QTest::qWaitForWindowActive(&dialog)) operate();
    if (dialog.isVisible()) dialog.reject();
  });
  return dialog.Choose();
}

}  // namespace

class SelectDriveTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Caption, size, bounds and one line per recorder, the first selected.
  void showsTheLinesWithTheFirstSelected() {
    TSelectDrive dialog(kLines);
    QCOMPARE(dialog.windowTitle(), QString("Drive Select"));
    QCOMPARE(dialog.size(), QSize(384, 156));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.Label1->text(), QString("Select CD-R Drive:"));
    QCOMPARE(dialog.Label1->geometry(), QRect(8, 0, 138, 18));
    QCOMPARE(dialog.DriveList->geometry(), QRect(0, 16, 321, 137));
    QCOMPARE(dialog.OKBtn->geometry(), QRect(328, 128, 55, 25));
    QCOMPARE(dialog.OKBtn->text(), QString("OK"));
    QVERIFY(dialog.OKBtn->isDefault());
    QCOMPARE(dialog.DriveList->count(), 3);
    for (int i = 0; i < 3; ++i) QCOMPARE(dialog.DriveList->item(i)->text().toStdString(), kLines[i]);
    QCOMPARE(dialog.DriveList->currentRow(), 0);
    QCOMPARE(dialog.DriveList->selectedItems().size(), 1);
    QCOMPARE(dialog.DriveList->selectionMode(), QAbstractItemView::SingleSelection);
  }

  // OK at once, Enter, or a chosen line; closing gives nothing.
  void answersTheLineChosenWithOk() {
    {
      TSelectDrive dialog(kLines);
      QCOMPARE(Operate(dialog, [&] { dialog.OKBtn->click(); }), std::optional<std::size_t>(0));
    }
    {
      TSelectDrive dialog(kLines);
      const auto chosen = Operate(dialog, [&] {
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.OKBtn));
        QTest::keyClick(dialog.OKBtn, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.DriveList));
        QTest::keyClick(dialog.DriveList, Qt::Key_Down);
        QTest::keyClick(dialog.DriveList, Qt::Key_Return);
      });
      QCOMPARE(chosen, std::optional<std::size_t>(1));
    }
    {
      TSelectDrive dialog(kLines);
      QCOMPARE(Operate(dialog, [] {}), std::nullopt);
    }
  }

  // With no line selected OK does nothing: there is no recorder to take.
  void okWithoutASelectedLineKeepsTheDialogOpen() {
    TSelectDrive dialog(kLines);
    bool stillOpen = false;
    const auto chosen = Operate(dialog, [&] {
      dialog.DriveList->clearSelection();
      dialog.OKBtn->click();
      stillOpen = dialog.isVisible();
    });
    QVERIFY(stillOpen);
    QCOMPARE(chosen, std::nullopt);
  }
};
GUI_TEST(SelectDriveTest);

#include "select_drive_test.moc"
