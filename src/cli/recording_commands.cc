#include "cli/recording_commands.h"

#include <cstdio>
#include <iostream>
#include <sstream>

#include "app/main_frame.h"
#include "app/messages.h"
#include "cli/interrupts.h"
#include "cli/terminal_view.h"

namespace {

int StartupExit(StartupResult result) {
  return result == StartupResult::kReady ? kExitCompleted : kExitStopped;
}

int MakeExit(MakeResult result) {
  switch (result) {
    case MakeResult::kCompleted: return kExitCompleted;
    case MakeResult::kVerifyFailed: return kExitVerifyFails;
    case MakeResult::kCancelled:
    case MakeResult::kNotRecordable: return kExitStopped;
    case MakeResult::kRecoveryFailure:
    case MakeResult::kUnexpectedFailure: return kExitRecovery;
    case MakeResult::kNoRecoveryFailure: return kExitNoRecovery;
    case MakeResult::kStoppedCleanly:
    case MakeResult::kStoppedWhileWriting: return kExitInterrupted;
  }
  return kExitRecovery;
}

// The recorder `image` records on behind the scenes; any supported model
// lays out the same sectors.
constexpr const char* kImageRecorderBus = "0:0=TEAC/CD-W540E";

}  // namespace

int RunScan(RecorderSetup& setup) {
  TerminalView view({.listRecordersOnly = true}, std::cin, std::cout, stderr);
  MainFrame frame(view, setup.factory());
  frame.drive.scsi.SetTrace(setup.trace());
  const StartupResult result = frame.FormCreate();
  return result == StartupResult::kClosed ? kExitCompleted : StartupExit(result);
}

int RunMake(const MakeOptions& options, RecorderSetup& setup) {
  if (!options.discOut.empty() && !setup.bus()) {
    std::fprintf(stderr, "programcd: --disc-out needs --simulate (a real disc is in the tray)\n");
    return kExitStopped;
  }
  // The disc leaves the tray at the end of a good recording; a failure
  // leaves it in, so whatever was written is saved when the program ends.
  bool discSaved = false;
  std::string saveError;
  if (!options.discOut.empty()) {
    setup.bus()->SetEjectHandler(
        [&](std::uint8_t, std::uint8_t, const std::vector<SimSector>& sectors) {
          discSaved = WriteDiscFile(options.discOut, sectors, saveError) || discSaved;
        });
  }
  TerminalView view({.assumeOk = options.yes,
                     .recorder = options.recorder,
                     .waitSeconds = options.waitSeconds,
                     .interrupted = interrupts::Requested,
                     .inputIsStdin = true},
                    std::cin, std::cout, stderr);
  MainFrame frame(view, setup.factory());
  frame.drive.scsi.SetTrace(setup.trace());
  frame.drive.scsi.SetStopCheck(interrupts::Requested);
  const StartupResult started = frame.FormCreate();
  if (started != StartupResult::kReady) return StartupExit(started);

  frame.FileSelectClick(options.file);
  if (view.text(Edit::FileName).empty()) return kExitStopped;  // rejected, reason shown
  std::cout << "File name:    " << view.text(Edit::FileName) << '\n'
            << "File version: " << view.text(Edit::FileVersion) << '\n'
            << "File Type:    " << view.text(Edit::FileType) << std::endl;

  const MakeResult made = frame.MakeClick();
  int exit = MakeExit(made);
  if (made == MakeResult::kCancelled && interrupts::Requested()) {
    // Ctrl-C at a question: nothing was written.
    std::cout << text::kStoppedBeforeWriting << std::endl;
    exit = kExitInterrupted;
  }
  if (!options.discOut.empty() && !discSaved) {
    const SimRecorder* recorder = setup.bus()->Recorder(frame.drive.scsi.adapterId,
                                                         frame.drive.scsi.targetId);
    if (recorder && recorder->Disc()) {
      WriteDiscFile(options.discOut, recorder->Disc()->Sectors(), saveError);
    }
  }
  if (!saveError.empty()) std::fprintf(stderr, "programcd: %s\n", saveError.c_str());
  return exit;
}

int RunImage(const std::string& file, const std::string& out) {
  RecorderSetup setup;
  std::string error;
  RecorderOptions options;
  options.simulateBus = kImageRecorderBus;
  setup.Build(options, error);
  std::vector<SimSector> written;
  setup.bus()->SetEjectHandler(
      [&](std::uint8_t, std::uint8_t, const std::vector<SimSector>& sectors) { written = sectors; });

  std::istringstream noInput;
  std::ostringstream boxes;
  std::FILE* quiet = std::fopen("/dev/null", "w");
  TerminalView view({.assumeOk = true}, noInput, boxes, quiet ? quiet : stderr);
  MainFrame frame(view, setup.factory());
  frame.FormCreate();
  frame.FileSelectClick(file);
  const std::string rejected = view.text(Edit::Message);
  const MakeResult result =
      view.text(Edit::FileName).empty() ? MakeResult::kNotRecordable : frame.MakeClick();
  if (quiet) std::fclose(quiet);

  if (result != MakeResult::kCompleted) {
    // The reason is the last box shown, or the rejection text of the file.
    std::string reason = rejected;
    if (reason.empty()) {
      std::string line;
      std::istringstream shown(boxes.str());
      while (std::getline(shown, line)) reason = line;
    }
    std::cerr << reason << std::endl;
    return kExitVerifyFails;
  }
  if (!WriteDiscFile(out, written, error)) {
    std::cerr << "programcd: " << error << std::endl;
    return kExitVerifyFails;
  }
  return kExitCompleted;
}
