#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <cstdio>
#include <limits>

#include "app/messages.h"
#include "gui/directory_tree.h"
#include "gui/file_list_model.h"
#include "gui/item_height.h"
#include "gui/message_box.h"
#include "gui/qt_text.h"
#include "gui/select_drive.h"
#include "gui/volumes.h"
#include "gui/window_font.h"

namespace {

// The client area that holds the controls at their fixed bounds.
constexpr int kClientWidth = 530;
constexpr int kClientHeight = 280;
constexpr int kItemHeight = 18;

std::string PathText(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString PathString(const std::string& path) { return QFile::decodeName(path.c_str()); }

QLineEdit* ReadOnlyEdit(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(x, y, w, h);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Button));
  edit->setPalette(palette);
  return edit;
}

QLabel* Caption(QWidget* parent, const char* name, const char* text, int x, int y, int w, int h) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setText(text);
  label->setGeometry(x, y, w, h);
  return label;
}

QPushButton* Button(QWidget* parent, const char* name, const char* text, int x, int y, int w,
                    int h) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setGeometry(x, y, w, h);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TMainFrame::TMainFrame(BackendFactory backend, const std::string& startDirectory,
                       std::string tempDir)
    : ui_(this), controller_(*this, std::move(backend), std::move(tempDir)) {
  Build();
  OpenStartDirectory(startDirectory);
}

TMainFrame::~TMainFrame() {
  ui_.Shutdown();
  if (recording_.joinable()) recording_.join();
}

void TMainFrame::Build() {
  setObjectName("MainFrame");
  setWindowTitle(ToQString(text::kTitle));
  setFont(WindowFont());
  setFixedSize(kClientWidth, kClientHeight);
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

  Make = Button(this, "Make", "Make CD...", 392, 144, 129, 65);
  Make->setEnabled(false);
  Exit = Button(this, "Exit", "Exit", 392, 240, 129, 33);

  DriveSelect = new QComboBox(this);
  DriveSelect->setObjectName("DriveSelect");
  DriveSelect->setGeometry(8, 8, 305, 24);

  DirectorySelect = new DirectoryList(this);
  DirectorySelect->setObjectName("DirectorySelect");
  DirectorySelect->setGeometry(8, 32, 305, 81);

  files_ = new FileListModel(this);
  FileSelect = new QListView(this);
  FileSelect->setObjectName("FileSelect");
  FileSelect->setGeometry(320, 32, 201, 81);
  FileSelect->setModel(files_);
  FileSelect->setSelectionMode(QAbstractItemView::SingleSelection);
  FileSelect->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FileSelect->setUniformItemSizes(true);
  FileSelect->setItemDelegate(new ItemHeight(kItemHeight, FileSelect));
  FileSelect->viewport()->installEventFilter(this);
  connect(&files_->Files(), &QFileSystemModel::directoryLoaded, this,
          [this](const QString& path) {
            if (path == files_->Directory()) filesLoaded_ = true;
          });

  FileName = ReadOnlyEdit(this, "FileName", 96, 128, 273, 26);
  Label1 = Caption(this, "Label1", "File name:", 8, 128, 70, 18);
  FileVersion = ReadOnlyEdit(this, "FileVersion", 96, 168, 273, 26);
  Label2 = Caption(this, "Label2", "File version:", 8, 168, 83, 18);
  Message = ReadOnlyEdit(this, "Message", 8, 248, 361, 26);
  FileType = ReadOnlyEdit(this, "FileType", 96, 208, 273, 26);
  Label3 = Caption(this, "Label3", "File Type:", 8, 208, 65, 18);

  // In the free space between the two buttons, under Make.
  SectorBar = new QProgressBar(this);
  SectorBar->setObjectName("SectorBar");
  SectorBar->setGeometry(392, 216, 129, 16);
  SectorBar->setFormat("%v / %m");
  SectorBar->hide();

  setTabOrder(Make, Exit);
  setTabOrder(Exit, DriveSelect);
  setTabOrder(DriveSelect, DirectorySelect);
  setTabOrder(DirectorySelect, FileSelect);

  connect(Make, &QPushButton::clicked, this, &TMainFrame::MakeClick);
  connect(Exit, &QPushButton::clicked, this, &TMainFrame::ExitClick);
  connect(DriveSelect, &QComboBox::activated, this, [this](int index) {
    ChangeDirectory(DriveSelect->itemData(index).toString());
  });
  // The tree refills itself only once its own event handling is over.
  connect(DirectorySelect, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    QMetaObject::invokeMethod(
        this, [this, directory = DirectoryOf(*item)] { ChangeDirectory(directory); },
        Qt::QueuedConnection);
  });
  connect(FileSelect, &QListView::clicked, this, &TMainFrame::FileSelectClick);
  // Keys that move the selection count as a click; a mouse press waits for
  // its release, and a cleared selection is no click.
  connect(FileSelect->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const QModelIndexList selected = FileSelect->selectionModel()->selectedIndexes();
    if (!mouseDown_ && selected.size() == 1) FileSelectClick(selected.front());
  });
}

void TMainFrame::OpenStartDirectory(const std::string& startDirectory) {
  const std::vector<std::string> volumes = MountedVolumes();
  for (const auto& volume : volumes) DriveSelect->addItem(PathString(volume), PathString(volume));
  QString start = QFileInfo(startDirectory.empty() ? QDir::currentPath()
                                                   : PathString(startDirectory))
                      .canonicalFilePath();
  if (start.isEmpty() || !QFileInfo(start).isDir()) start = QDir::currentPath();
  const QString volume = PathString(VolumeOf(volumes, PathText(start)));
  DriveSelect->setCurrentIndex(std::max(0, DriveSelect->findData(volume)));
  ChangeDirectory(start);
}

void TMainFrame::ChangeDirectory(const QString& directory) {
  if (Recording()) return;
  ShowDirectory(*DirectorySelect, DriveSelect->currentData().toString(), directory);
  filesLoaded_ = false;
  FileSelect->setRootIndex(files_->SetDirectory(directory));
  FileSelect->selectionModel()->clear();
}

bool TMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FileSelect->viewport()) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
      mouseDown_ = true;
    } else if (event->type() == QEvent::MouseButtonRelease) {
      mouseDown_ = false;
    }
  }
  return QWidget::eventFilter(watched, event);
}

StartupResult TMainFrame::FormCreate(std::ostream* trace) {
  if (trace) controller_.drive.scsi.SetTrace(trace);
  return controller_.FormCreate();
}

void TMainFrame::FileSelectClick(const QModelIndex& index) {
  // The image record belongs to the recording while one runs.
  if (Recording() || !index.isValid()) return;
  controller_.FileSelectClick(PathText(files_->FilePath(index)));
}

void TMainFrame::MakeClick() {
  if (Recording()) return;
  recording_ = std::thread([this] {
    const MakeResult result = controller_.MakeClick();
    ui_.Post([this, result] { FinishRecording(result); });
  });
}

void TMainFrame::FinishRecording(MakeResult result) {
  // The thread has nothing left to do but return.
  recording_.join();
  lastMake_ = result;
  SectorBar->hide();
  if (closeRequested_) close();
}

void TMainFrame::ExitClick() { controller_.ExitClick(); }

void TMainFrame::closeEvent(QCloseEvent* event) {
  if (Recording()) {
    // Leaving now would abandon the disc half written.
    event->ignore();
    ShowMessageBox(this, std::string(text::kRecordingRunning), Buttons::Ok);
    return;
  }
  event->accept();
  Q_EMIT Closed();
}

void TMainFrame::SetText(Edit edit, const std::string& text) {
  ui_.Post([edit = EditFor(edit), text = ToQString(text)] {
    edit->setText(text);
    edit->setCursorPosition(0);  // the start of a long path stays in view
  });
}

void TMainFrame::Repaint(Edit edit) {
  ui_.Post([edit = EditFor(edit)] { edit->repaint(); });
}

void TMainFrame::SetEnabled(Control control, bool enabled) {
  ui_.Post([control = ControlFor(control), enabled] { control->setEnabled(enabled); });
}

Answer TMainFrame::ShowMessage(const std::string& text, Buttons buttons) {
  if (unattended_) {
    std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(text::kCaption.size()),
                 text::kCaption.data(), text.c_str());
    return Answer::Ok;
  }
  return ui_.Ask([this, text, buttons] {
    return ShowMessageBox(isVisible() ? this : nullptr, text, buttons);
  });
}

void TMainFrame::ShowSectors(std::size_t done, std::size_t total) {
  {
    std::lock_guard lock(sectorsMutex_);
    sectorsDone_ = done;
    sectorsTotal_ = total;
    // One update in the queue at a time carries the latest count.
    if (sectorsQueued_) return;
    sectorsQueued_ = true;
  }
  ui_.Post([this] { UpdateSectorBar(); });
}

void TMainFrame::UpdateSectorBar() {
  std::size_t done, total;
  {
    std::lock_guard lock(sectorsMutex_);
    done = sectorsDone_;
    total = sectorsTotal_;
    sectorsQueued_ = false;
  }
  if (total == 0) {
    SectorBar->hide();
    return;
  }
  constexpr std::size_t kMax = std::numeric_limits<int>::max();
  SectorBar->setRange(0, static_cast<int>(std::min(total, kMax)));
  SectorBar->setValue(static_cast<int>(std::min(done, kMax)));
  SectorBar->show();
}

std::optional<std::size_t> TMainFrame::ChooseRecorder(const std::vector<std::string>& lines) {
  if (unattended_) return 0;
  TSelectDrive dialog(lines);
  return dialog.Choose();
}

void TMainFrame::RequestClose() {
  ui_.Post([this] {
    closeRequested_ = true;
    // A recording closes the window once its thread is done; before start-up
    // ends the window was never shown.
    if (!Recording() && isVisible()) close();
  });
}

QLineEdit* TMainFrame::EditFor(Edit edit) const {
  switch (edit) {
    case Edit::FileName: return FileName;
    case Edit::FileVersion: return FileVersion;
    case Edit::FileType: return FileType;
    case Edit::Message: return Message;
  }
  return Message;
}

QWidget* TMainFrame::ControlFor(Control control) const {
  switch (control) {
    case Control::DriveSelect: return DriveSelect;
    case Control::DirectorySelect: return DirectorySelect;
    case Control::FileSelect: return FileSelect;
    case Control::Exit: return Exit;
    case Control::Make: return Make;
  }
  return Make;
}
