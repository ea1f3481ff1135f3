#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/image_selection.h"
#include "image/bin_file.h"
#include "layout/progress.h"
#include "recorder/drive.h"
#include "scsi/backend.h"

class View;

// How start-up ended.
enum class StartupResult {
  kReady,             // a recorder is chosen and bound
  kLoadFailed,        // the SCSI layer could not be loaded
  kNoRecorder,        // no supported recorder answered
  kClosed,            // the operator closed the selection dialog
  kRecorderUnusable,  // the chosen recorder cannot be held for us
};

// How one press of Make ended.
enum class MakeResult {
  kCompleted,          // recorded, verified and ejected
  kVerifyFailed,       // recorded and ejected, but the read-back differed
  kCancelled,          // the operator cancelled before anything was written
  kNotRecordable,      // nothing accepted, or the file cannot be recorded
  kRecoveryFailure,    // a recorder failure; the program can go on
  kNoRecoveryFailure,  // a recorder failure; the program closes
  kUnexpectedFailure,  // something other than a recorder failure stopped it
  kStoppedCleanly,     // the operator stopped the program before the first write
  kStoppedWhileWriting,  // ... after it: the disc is unusable
};

// The main window's logic: start-up, image selection, disc making. It talks
// to the operator only through `view`.
class MainFrame : private Progress {
 public:
  MainFrame(View& view, BackendFactory backend, std::string tempDir = BinFile::DefaultTempDir());

  // Loads the transport, scans the bus, lets the operator choose a recorder
  // and binds the drive to it. On failure it tells the operator and asks the
  // view to close.
  StartupResult FormCreate();
  // The operator selected `path` in the file list.
  void FileSelectClick(const std::string& path);
  // The operator pressed Make: records the accepted file on the chosen recorder.
  MakeResult MakeClick();
  // The operator pressed Exit.
  void ExitClick();

  // Enables or disables the five controls together.
  void EnableControls(bool enable);
  // Shows a stage text in Message at once.
  void ShowProgress(const std::string& text);

  // The dialog line for one recorder found: "ID:a-tt " + vendor + product.
  static std::string RecorderLine(const FoundRecorder& recorder);

  Drive drive;
  BinFile binFile;
  ImageKind imageKind = kFirmwareImage;

 private:
  void Stage(const std::string& text) override;
  void Sectors(std::size_t done, std::size_t total) override;
  bool RunLayout();
  // True when the accepted file is no longer what was accepted.
  bool AcceptedFileChanged() const;
  MakeResult Fail(FailureCode code);

  View& view_;
  // The file accepted by the last selection, which is what Make records.
  std::string acceptedPath_;
  bool accepted_ = false;
  std::uintmax_t acceptedSize_ = 0;
  std::filesystem::file_time_type acceptedTime_;
};
