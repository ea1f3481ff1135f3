#pragma once
#include <optional>
#include <string>

#include "cli/recorder_setup.h"

// Exit codes of the commands that talk to recorders.
enum ExitCode {
  kExitCompleted = 0,      // "Recording is completed" (scan: recorders listed)
  kExitVerifyFails = 1,    // "Verify fails" (image: the file cannot be laid out)
  kExitStopped = 2,        // usage, rejected file, cancel, no recorder, SCSI layer missing
  kExitRecovery = 3,       // a recovery failure (or an unexpected one)
  kExitNoRecovery = 4,     // a no-recovery failure
  kExitInterrupted = 130,  // Ctrl-C or SIGTERM
};

struct MakeOptions {
  std::string file;
  std::optional<std::string> recorder;  // --recorder N or ID:a-tt
  bool yes = false;
  std::string discOut;  // --disc-out FILE (simulated only)
  std::optional<double> waitSeconds;  // --wait: give up waiting for a disc
};

// `programcd scan`: the selection dialog's lines.
int RunScan(RecorderSetup& setup);
// `programcd make FILE`: the window's whole sequence on the terminal.
int RunMake(const MakeOptions& options, RecorderSetup& setup);
// `programcd image FILE -o OUT`: the sectors a recording of FILE writes.
int RunImage(const std::string& file, const std::string& out);
