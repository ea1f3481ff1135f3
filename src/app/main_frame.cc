#include "app/main_frame.h"

#include <array>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>

#include "app/messages.h"
#include "app/view.h"
#include "layout/lead_in.h"
#include "layout/layouts.h"

namespace {

constexpr std::size_t kDialogRows = 8;

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const auto& line : lines) all += "\n" + line;
  return all;
}

}  // namespace

MainFrame::MainFrame(View& view, BackendFactory backend, std::string tempDir)
    : drive(std::move(backend)), binFile(std::move(tempDir)), view_(view) {}

std::string MainFrame::RecorderLine(const FoundRecorder& recorder) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "ID:%01d-%02d ", recorder.adapter, recorder.target);
  return std::string(prefix) + std::string(recorder.vendor.data(), recorder.vendor.size()) +
         std::string(recorder.product.data(), recorder.product.size());
}

StartupResult MainFrame::FormCreate() {
  try {
    drive.Initialize();
  } catch (FailureCode code) {
    view_.ShowMessage(std::string(StartupFailureText(code)), Buttons::Ok);
    view_.RequestClose();
    return StartupResult::kLoadFailed;
  }

  std::array<FoundRecorder, kDialogRows> found{};
  const int count = drive.ScanBus(found.data(), static_cast<int>(found.size()));
  if (count == 0) {
    // Devices we saw but could not open say more than "not connected" alone.
    view_.ShowMessage(std::string(text::kNotConnected) + Joined(drive.scsi.Problems()),
                      Buttons::Ok);
    view_.RequestClose();
    return StartupResult::kNoRecorder;
  }
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back(RecorderLine(found[i]));
  const auto chosen = view_.ChooseRecorder(lines);
  if (!chosen || *chosen >= lines.size()) {
    // Closed without OK: bind nothing, send nothing, just end.
    view_.RequestClose();
    return StartupResult::kClosed;
  }
  drive.SelectRecorder(found[*chosen].adapter, found[*chosen].target);
  const std::string problem = drive.scsi.Claim();
  if (!problem.empty()) {
    view_.ShowMessage(std::string(text::kRecorderInUse) + problem, Buttons::Ok);
    view_.RequestClose();
    return StartupResult::kRecorderUnusable;
  }
  return StartupResult::kReady;
}

void MainFrame::FileSelectClick(const std::string& path) {
  view_.SetText(Edit::Message, "");
  const Selection selection = SelectImage(binFile, path);
  if (!selection.accepted) {
    accepted_ = false;
    view_.SetEnabled(Control::Make, false);
    view_.SetText(Edit::FileName, "");
    view_.SetText(Edit::FileVersion, "");
    view_.SetText(Edit::FileType, "");
    view_.SetText(Edit::Message, selection.message);
    view_.Repaint(Edit::Message);
    return;
  }
  view_.SetText(Edit::FileName, selection.fileName);
  view_.SetText(Edit::FileVersion, selection.fileVersion);
  view_.SetText(Edit::FileType, selection.fileType);
  view_.SetEnabled(Control::Make, true);
  imageKind = selection.imageKind;
  acceptedPath_ = path;
  accepted_ = true;
  std::error_code ignored;
  acceptedSize_ = std::filesystem::file_size(path, ignored);
  acceptedTime_ = std::filesystem::last_write_time(path, ignored);
}

bool MainFrame::AcceptedFileChanged() const {
  std::error_code error;
  const auto size = std::filesystem::file_size(acceptedPath_, error);
  if (error || size != acceptedSize_) return true;
  const auto time = std::filesystem::last_write_time(acceptedPath_, error);
  if (error || time != acceptedTime_) return true;
  if (imageKind != kFirmwareImage) return false;
  // This one is recorded from memory: it must still be the file's content.
  std::ifstream file(acceptedPath_, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  return bytes != binFile.imageMemory;
}

MakeResult MainFrame::MakeClick() {
  if (!accepted_) return MakeResult::kNotRecordable;
  if (AcceptedFileChanged()) {
    accepted_ = false;
    view_.SetEnabled(Control::Make, false);
    view_.ShowMessage(std::string(text::kFileChanged), Buttons::Ok);
    return MakeResult::kNotRecordable;
  }
  if (imageKind == kFirmwareImage && binFile.kind == 0) {
    // The version sector carries characters 1, 3 and 4 of the version text:
    // refuse a shorter text before the recorder sees any command.
    std::string version;
    binFile.ReadVersion(version);
    if (!IsRecordableVersion(version)) {
      view_.ShowMessage(std::string(text::kFileVersionError), Buttons::Ok);
      return MakeResult::kNotRecordable;
    }
  }

  EnableControls(false);
  MakeResult result;
  try {
    while (drive.IsNotReady()) {
      if (view_.ShowMessage(std::string(text::kInsertDisc), Buttons::OkCancel) == Answer::Cancel) {
        EnableControls(true);
        return MakeResult::kCancelled;
      }
    }
    if (view_.ShowMessage(std::string(text::kStartRecording), Buttons::OkCancel) ==
        Answer::Cancel) {
      EnableControls(true);
      return MakeResult::kCancelled;
    }
    const bool verified = RunLayout();
    view_.ShowMessage(std::string(verified ? text::kCompleted : text::kVerifyFails), Buttons::Ok);
    ShowProgress(std::string(text::kEjectStage));
    drive.Eject();
    view_.SetText(Edit::Message, "");
    result = verified ? MakeResult::kCompleted : MakeResult::kVerifyFailed;
  } catch (FailureCode code) {
    result = Fail(code);
    if (result == MakeResult::kNoRecoveryFailure) return result;
  } catch (const Interrupted& stop) {
    view_.ShowMessage(
        std::string(stop.afterWrite ? text::kStoppedWhileWriting : text::kStoppedBeforeWriting),
        Buttons::Ok);
    result = stop.afterWrite ? MakeResult::kStoppedWhileWriting : MakeResult::kStoppedCleanly;
  } catch (const std::exception& e) {
    view_.ShowMessage(std::string(text::kUnexpectedError) + e.what(), Buttons::Ok);
    result = MakeResult::kUnexpectedFailure;
  }
  EnableControls(true);
  return result;
}

MakeResult MainFrame::Fail(FailureCode code) {
  const RecordingFailure failure = RecordingFailureFor(code);
  view_.ShowMessage(std::string(failure.text), Buttons::Ok);
  if (failure.recovery) return MakeResult::kRecoveryFailure;
  view_.RequestClose();
  return MakeResult::kNoRecoveryFailure;
}

bool MainFrame::RunLayout() {
  switch (imageKind) {
    case kFirmwareImage: return RecordFirmware(drive, binFile, *this);
    case kRecorderFirmware: return RecordRecorderFirmware(drive, binFile, acceptedPath_, *this);
    case kDiscImage: return RecordDiscImage(drive, acceptedPath_, *this);
  }
  return false;
}

void MainFrame::ExitClick() { view_.RequestClose(); }

void MainFrame::EnableControls(bool enable) {
  for (Control c : {Control::DriveSelect, Control::DirectorySelect, Control::FileSelect,
                    Control::Exit, Control::Make}) {
    view_.SetEnabled(c, enable);
  }
}

void MainFrame::ShowProgress(const std::string& text) {
  view_.SetText(Edit::Message, text);
  view_.Repaint(Edit::Message);
}

void MainFrame::Stage(const std::string& text) {
  ShowProgress(text);
  view_.ShowSectors(0, 0);
}

void MainFrame::Sectors(std::size_t done, std::size_t total) { view_.ShowSectors(done, total); }
