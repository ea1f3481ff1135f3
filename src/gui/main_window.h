#pragma once
#include <QWidget>
#include <atomic>
#include <cstddef>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/main_frame.h"
#include "app/view.h"
#include "gui/ui_thread.h"

class QComboBox;
class FileListModel;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QTreeWidget;

// The main window "Program Disc Writing Tool Ver.1.15.1": the Qt face of
// MainFrame. A recording runs on its own thread, so the window keeps
// repainting; its calls into this View are carried to the UI thread.
class TMainFrame : public QWidget, public View {
  Q_OBJECT

 public:
  // `startDirectory` is where the file list opens ("" for the current
  // directory); DriveFirme.img is built in `tempDir`.
  TMainFrame(BackendFactory backend, const std::string& startDirectory,
             std::string tempDir = BinFile::DefaultTempDir());
  // Waits for a running recording to end; boxes it asks meanwhile get Cancel.
  ~TMainFrame() override;

  // The start-up, before the window is shown: traces the recorder commands
  // to `trace` (when not null), loads the transport, lets the operator
  // choose a recorder. On failure the operator has been told and the window
  // must not be shown.
  StartupResult FormCreate(std::ostream* trace = nullptr);
  // For runs without an operator (a screenshot): every box goes to stderr
  // and is answered OK, and the recorder dialog takes its first line.
  void AnswerUnattended() { unattended_ = true; }
  // True while Make's recording thread runs.
  bool Recording() const { return recording_.joinable(); }
  // True when the last recording ended in a failure that closes the program.
  bool EndedByFailure() const { return lastMake_ == MakeResult::kNoRecoveryFailure; }
  // True once the file list holds the files of its directory.
  bool FileListLoaded() const { return filesLoaded_; }
  // The controller, for inspection.
  const MainFrame& controller() const { return controller_; }

  // View.
  void SetText(Edit edit, const std::string& text) override;
  void Repaint(Edit edit) override;
  void SetEnabled(Control control, bool enabled) override;
  Answer ShowMessage(const std::string& text, Buttons buttons) override;
  void ShowSectors(std::size_t done, std::size_t total) override;
  std::optional<std::size_t> ChooseRecorder(const std::vector<std::string>& lines) override;
  void RequestClose() override;

  QPushButton* Make;
  QPushButton* Exit;
  QComboBox* DriveSelect;
  QTreeWidget* DirectorySelect;
  QListView* FileSelect;
  QLineEdit* FileName;
  QLabel* Label1;
  QLineEdit* FileVersion;
  QLabel* Label2;
  QLineEdit* Message;
  QLineEdit* FileType;
  QLabel* Label3;
  // Sectors done of the stage's total, shown only while a stage counts them.
  QProgressBar* SectorBar;

 Q_SIGNALS:
  // The window was closed; the application ends.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void OpenStartDirectory(const std::string& startDirectory);
  // The operator chose a volume or a directory: refill both lists.
  void ChangeDirectory(const QString& directory);
  void FileSelectClick(const QModelIndex& index);
  void MakeClick();
  void ExitClick();
  // Runs on the UI thread once the recording thread has returned `result`.
  void FinishRecording(MakeResult result);
  void UpdateSectorBar();
  QLineEdit* EditFor(Edit edit) const;
  QWidget* ControlFor(Control control) const;

  UiThread ui_;
  MainFrame controller_;
  FileListModel* files_;
  std::thread recording_;
  std::optional<MakeResult> lastMake_;
  bool closeRequested_ = false;
  bool unattended_ = false;
  bool filesLoaded_ = false;
  bool mouseDown_ = false;  // in the file list, where a click ends on release
  std::mutex sectorsMutex_;
  std::size_t sectorsDone_ = 0;
  std::size_t sectorsTotal_ = 0;
  bool sectorsQueued_ = false;
};
