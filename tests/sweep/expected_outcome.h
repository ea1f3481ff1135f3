#pragma once
// What making one command of a good recording fail must lead to, derived
// from the command's opcode and its place in the recording alone, never
// from the code that records.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "command_trace.h"
#include "core/failure_code.h"

enum class Consequence {
  kHidden,    // a failed INQUIRY in the scan: the recorder is not listed
  kNotReady,  // a failed TEST UNIT READY: "Insert CD-R Disc" is asked
  kFailure,   // the recording stops with `code`
};

struct ExpectedOutcome {
  Consequence consequence = Consequence::kFailure;
  FailureCode code = ErrWrite;
  std::string text;      // the message box
  bool recovery = false;  // the program goes on; else it closes
  std::string stage;     // what the Message edit keeps showing
};

// The message text and category of each recording failure.
struct FailureMessage {
  std::string_view text;
  bool recovery;
};
FailureMessage MessageFor(FailureCode code);

// The outcome when command `index` of `good` (a recording that completed on
// a recorder of `recorderType`) fails. `dataStage` is the stage text the
// layout shows while it writes the image, before its closing zero run.
// Throws std::logic_error for a command a recording never sends.
ExpectedOutcome ExpectedFor(const std::vector<TracedCommand>& good, std::size_t index,
                            int recorderType, std::string_view dataStage);
