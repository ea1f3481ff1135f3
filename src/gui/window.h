#pragma once
#include <iosfwd>
#include <string>

#include "scsi/backend.h"

// How the command line wants the window run.
struct WindowSetup {
  BackendFactory backend;          // platform or simulated bus, ready to use
  std::ostream* trace = nullptr;   // one line per recorder command, when not null
  std::string screenshotPath;      // render the main window to this PNG after
                                   // start-up and exit 0, when not empty; the
                                   // start-up then runs unattended (first
                                   // recorder, boxes printed to stderr)
  std::string startDirectory;      // where the file list opens ("" = current dir)
};

// Runs the application: the start-up (recorder dialog or failure box) before
// the main window, then the event loop until the window closes. Returns the
// process exit code: 0 after a normal end, 1 when a failure ended the
// program, 2 when there is no display to open a window on (one line on
// stderr says so).
int RunWindow(int argc, char** argv, const WindowSetup& setup);
