#include "gui/gui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileSystemModel>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#include "gui/select_drive.h"

std::shared_ptr<SimBus> MakeBus(const std::string& recorders, SimOptions options) {
  const auto parsed = ParseSimBus(recorders);
  if (!parsed.error.empty()) qFatal("bad bus %s: %s", recorders.c_str(), parsed.error.c_str());
  return std::make_shared<SimBus>(parsed.value, std::move(options));
}

BackendFactory Factory(std::shared_ptr<SimBus> bus) {
  return [bus]() -> std::shared_ptr<Backend> { return bus; };
}

BoxAnswerer::BoxAnswerer() {
  connect(&timer_, &QTimer::timeout, this, &BoxAnswerer::Poll);
  timer_.start(5);
}

void BoxAnswerer::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal) return;
  if (mainWindow && mainWindow->isVisible()) mainWindowSeen = true;
  if (auto* dialog = qobject_cast<TSelectDrive*>(modal)) {
    ++dialogs;
    recorderLines.clear();
    for (int i = 0; i < dialog->DriveList->count(); ++i) {
      recorderLines << dialog->DriveList->item(i)->text();
    }
    if (!recorderRow) {
      dialog->reject();
      return;
    }
    dialog->DriveList->setCurrentRow(*recorderRow);
    dialog->OKBtn->click();
    return;
  }
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (!box) return;
  const auto buttons = box->standardButtons();
  const bool ask = buttons == (QMessageBox::Ok | QMessageBox::Cancel);
  boxes << (ask ? "ask " : "box ") + box->text();
  if (box->windowTitle() != "ProgramCD Recording" || box->icon() != QMessageBox::NoIcon ||
      (!ask && buttons != QMessageBox::Ok)) {
    malformed << box->text();
  }
  Answer answer = Answer::Ok;
  if (ask && !answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  box->button(answer == Answer::Ok ? QMessageBox::Ok : QMessageBox::Cancel)->click();
}

StartedWindow::StartedWindow(std::shared_ptr<SimBus> simBus,
                             const std::vector<std::pair<std::string, Bytes>>& files)
    : bus(std::move(simBus)) {
  for (const auto& [name, bytes] : files) {
    QDir(dir.path()).mkpath(QFileInfo(QString::fromStdString(Path(name))).path());
    WriteBytes(Path(name), bytes);
  }
  frame = std::make_unique<TMainFrame>(Factory(bus), dir.path().toStdString(),
                                       tempDir.path().toStdString() + "/");
  answerer.mainWindow = frame.get();
  if (frame->FormCreate() != StartupResult::kReady) qWarning("start-up did not end ready");
  frame->show();
  if (!QTest::qWaitForWindowExposed(frame.get())) qWarning("window not exposed");
}

std::string StartedWindow::Path(const std::string& name) const {
  return dir.filePath(QString::fromStdString(name)).toStdString();
}

QStringList ListedFiles(const TMainFrame& frame) {
  const QAbstractItemModel* model = frame.FileSelect->model();
  const QModelIndex root = frame.FileSelect->rootIndex();
  QStringList names;
  for (int row = 0; row < model->rowCount(root); ++row) {
    names << model->index(row, 0, root).data().toString();
  }
  return names;
}

bool ClickFile(TMainFrame& frame, const QString& name) {
  const QAbstractItemModel* model = frame.FileSelect->model();
  const QModelIndex root = frame.FileSelect->rootIndex();
  for (int row = 0; row < model->rowCount(root); ++row) {
    const QModelIndex index = model->index(row, 0, root);
    if (index.data().toString() != name) continue;
    frame.FileSelect->scrollTo(index);
    QTest::mouseClick(frame.FileSelect->viewport(), Qt::LeftButton, {},
                      frame.FileSelect->visualRect(index).center());
    return true;
  }
  return false;
}

bool ControlsEnabled(const TMainFrame& frame, bool enabled) {
  for (const QWidget* control : {static_cast<const QWidget*>(frame.DriveSelect),
                                 static_cast<const QWidget*>(frame.DirectorySelect),
                                 static_cast<const QWidget*>(frame.FileSelect),
                                 static_cast<const QWidget*>(frame.Exit),
                                 static_cast<const QWidget*>(frame.Make)}) {
    if (control->isEnabled() != enabled) return false;
  }
  return true;
}
