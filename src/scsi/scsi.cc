#include "scsi/scsi.h"

#include <algorithm>
#include <ostream>
#include <utility>

#include "core/failure_code.h"
#include "scsi/sense.h"

SCSI::SCSI(BackendFactory factory) : factory_(std::move(factory)) {}

void SCSI::Load() {
  backend_.reset();  // a second Load starts afresh
  if (!factory_) throw ErrAspiLoad;
  std::shared_ptr<Backend> backend = factory_();
  if (!backend) throw ErrAspiLoad;
  backend_ = std::move(backend);
  adapterCount = backend_->AdapterCount();
  adapterId = 0;
  targetId = 0;
}

std::uint8_t SCSI::Execute(ScsiCommand& command) {
  if (stopRequested_ && stopRequested_()) throw Interrupted{writeSent_};
  const std::uint8_t status = Send(command);
  // Whether the disc now in the tray has been written to: a new disc comes
  // only after an eject.
  const std::uint8_t opcode = command.cdb[0];
  if (opcode == 0x0A || opcode == 0x2A) writeSent_ = true;
  if (opcode == 0x1B && status == kStatusCompleted) writeSent_ = false;
  if (trace_) {
    *trace_ << TraceLine(adapterId, targetId, command, status) << std::endl;
  }
  return status;
}

std::uint8_t SCSI::Send(ScsiCommand& command) {
  lastResult_ = {};
  // Refused commands are not sent, so their sense stays as it was.
  if (!backend_) return lastResult_.status = kStatusNotSent;
  if (command.cdbLength == 0 || command.cdbLength > sizeof command.cdb ||
      (command.bufferLength != 0 && command.buffer == nullptr)) {
    return lastResult_.status = kStatusInvalidCommand;
  }
  if (adapterId >= adapterCount || adapterId >= kAddressableAdapters) {
    return lastResult_.status = kStatusInvalidAdapter;
  }
  if (targetId >= kAddressableTargets) {
    return lastResult_.status = kStatusNoDevice;
  }
  std::fill(std::begin(command.sense), std::end(command.sense), 0);
  try {
    lastResult_ = backend_->Run(adapterId, targetId, command);
  } catch (...) {
    // A backend that throws (out of memory, say) must not break the promise
    // that Execute never does.
    lastResult_ = {};
    lastResult_.status = kStatusError;
  }
  const SenseCodes codes = DecodeSense(command.sense, sizeof command.sense);
  lastResult_.senseKey = codes.key;
  lastResult_.asc = codes.asc;
  lastResult_.ascq = codes.ascq;
  return lastResult_.status;
}

void SCSI::SetTrace(std::ostream* trace) { trace_ = trace; }

void SCSI::SetStopCheck(std::function<bool()> stopRequested) {
  stopRequested_ = std::move(stopRequested);
}

std::string SCSI::Claim() {
  if (!backend_) return "the SCSI layer is not loaded";
  return backend_->Claim(adapterId, targetId);
}

std::vector<std::string> SCSI::Problems() const {
  return backend_ ? backend_->Problems() : std::vector<std::string>{};
}
