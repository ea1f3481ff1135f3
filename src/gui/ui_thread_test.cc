#include "gui/ui_thread.h"

#include <QCoreApplication>
#include <QObject>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

#include "gui/gui_tests.h"

class UiThreadTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Work from another thread runs on the UI thread, in call order; a box's answer
  // comes back to the caller.
  void carriesWorkAndAnswersAcross() {
    QObject context;
    UiThread ui(&context);
    QStringList done;
    bool allOnUi = true;
    Answer answer = Answer::Ok;
    std::thread worker([&] {
      for (const char* step : {"one", "two"}) {
        ui.Post([&, step] {
          allOnUi = allOnUi && ui.IsCurrent();
          done << step;
        });
      }
      answer = ui.Ask([&] {
        done << "asked";
        return Answer::Cancel;
      });
    });
    QTRY_COMPARE(done, (QStringList{"one", "two", "asked"}));
    worker.join();
    QVERIFY(allOnUi);
    QCOMPARE(answer, Answer::Cancel);
  }

  // A box waited for while the UI thread no longer listens is answered Cancel, and
  // so is every later one, without being shown.
  void shutdownAnswersWaitingBoxesWithCancel() {
    QObject context;
    UiThread ui(&context);
    std::atomic<bool> shown = false, asking = false;
    Answer first = Answer::Ok, later = Answer::Ok;
    std::thread worker([&] {
      asking = true;
      first = ui.Ask([&] {
        shown = true;
        return Answer::Ok;
      });
      later = ui.Ask([&] {
        shown = true;
        return Answer::Ok;
      });
    });
    // No events run here, as when the UI thread has left its event loop.
    while (!asking) QThread::yieldCurrentThread();
    QThread::msleep(20);
    ui.Shutdown();
    worker.join();
    QCOMPARE(first, Answer::Cancel);
    QCOMPARE(later, Answer::Cancel);
    QCoreApplication::removePostedEvents(&context);
    QVERIFY(!shown);
  }

  // On the UI thread itself work runs at once.
  void runsAtOnceOnTheUiThread() {
    QObject context;
    UiThread ui(&context);
    bool ran = false;
    ui.Post([&] { ran = true; });
    QVERIFY(ran);
    QCOMPARE(ui.Ask([] { return Answer::Cancel; }), Answer::Cancel);
  }
};
GUI_TEST(UiThreadTest);

#include "ui_thread_test.moc"
