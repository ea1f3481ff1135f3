#pragma once
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scsi/backend.h"
#include "sim/sim_bus.h"

namespace CLI {
class App;
}

// The options every command that talks to recorders shares.
struct RecorderOptions {
  std::optional<std::string> simulateBus;  // --simulate[=BUS]
  std::vector<std::string> simFail;        // --sim-fail=OP[@K][:STATUS]
  std::vector<std::string> simCorrupt;     // --sim-corrupt=LBA
  std::vector<std::string> simNoDisc;      // --sim-no-disc=K
  double simDelay = 0;                     // --sim-delay=FACTOR
  std::string traceFile;                   // --trace FILE
};

// Adds the recorder options to a command.
void AddRecorderOptions(CLI::App& command, RecorderOptions& options);

// The backend the options ask for: the simulated bus, or the platform's.
class RecorderSetup {
 public:
  // False, with `error` saying what is wrong, when an option value is bad.
  bool Build(const RecorderOptions& options, std::string& error);

  BackendFactory factory() const { return factory_; }
  // The simulated bus, or null when the platform's SCSI layer is used.
  const std::shared_ptr<SimBus>& bus() const { return bus_; }
  // The trace stream, or null without --trace.
  std::ostream* trace() { return trace_.is_open() ? &trace_ : nullptr; }

 private:
  BackendFactory factory_;
  std::shared_ptr<SimBus> bus_;
  std::ofstream trace_;
};

// Writes every sector written on a simulated disc, LBA 0 first, to `path`
// through a temporary file, so a half-written OUT is never left behind.
bool WriteDiscFile(const std::string& path, const std::vector<SimSector>& sectors,
                   std::string& error);
