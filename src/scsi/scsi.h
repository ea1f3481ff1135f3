#pragma once
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "scsi/backend.h"
#include "scsi/scsi_command.h"

// Thrown by Execute in place of sending a command once the stop check says
// the operator stopped the program; every command before it has completed.
struct Interrupted {
  bool afterWrite;  // a WRITE had already reached the recorder
};

// The transport: runs one command at a time against adapterId/targetId
// through the backend chosen at Load.
class SCSI {
 public:
  // Construction touches no public field and loads nothing.
  explicit SCSI(BackendFactory factory);
  // A loaded transport may hold a claimed device: it is never duplicated.
  SCSI(const SCSI&) = delete;
  SCSI& operator=(const SCSI&) = delete;

  // Creates the backend and reads the adapter count; sets adapterId and
  // targetId to 0. Throws ErrAspiLoad or ErrAspiEntry.
  void Load();
  // Runs `command` at adapterId/targetId; returns the status (1 completed
  // without error, 0 timed out, other failed). Throws nothing but
  // Interrupted, and that only when a stop check is set.
  std::uint8_t Execute(ScsiCommand& command);

  // Asked before every command; when it answers true nothing more is sent.
  void SetStopCheck(std::function<bool()> stopRequested);
  // One trace line per command handed to Execute, or none when null.
  void SetTrace(std::ostream* trace);
  // Holds adapterId/targetId exclusively; "" or what stops it.
  std::string Claim();
  // Devices the backend found but cannot use, with reasons.
  std::vector<std::string> Problems() const;
  // What the backend reported of the last command sent.
  const CommandResult& LastResult() const { return lastResult_; }

  std::uint8_t adapterCount = 0;
  std::uint8_t adapterId = 0;
  std::uint8_t targetId = 0;

 private:
  // Checks the record and address, then hands the command to the backend.
  std::uint8_t Send(ScsiCommand& command);

  BackendFactory factory_;
  std::shared_ptr<Backend> backend_;
  std::ostream* trace_ = nullptr;
  std::function<bool()> stopRequested_;
  bool writeSent_ = false;
  CommandResult lastResult_;
};

// The formatted trace line for one command, without the newline:
// "A:T HH HH ... len=N timeout=MS status=S[ sense=HEX]".
std::string TraceLine(std::uint8_t adapter, std::uint8_t target,
                      const ScsiCommand& command, std::uint8_t status);
