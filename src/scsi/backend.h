#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scsi/scsi_command.h"

// What a backend reports of one command beyond its status.
struct CommandResult {
  // 1 completed without error, 0 timed out, other: failed
  std::uint8_t status = 0;
  std::uint32_t resid = 0;  // bytes of bufferLength that did not move
  // Decoded from the sense bytes by SCSI::Execute for every backend.
  std::uint8_t senseKey = 0;
  std::uint8_t asc = 0;   // additional sense code
  std::uint8_t ascq = 0;  // additional sense code qualifier
};

// Host adapters 0..7 and targets 0..7 are addressed; LUN is always 0.
inline constexpr int kAddressableAdapters = 8;
inline constexpr int kAddressableTargets = 8;

// The one seam to hardware: the Linux SG_IO layer, the simulated recorder
// bus, later Windows. Addresses are host adapter 0..7, target 0..7, LUN 0.
class Backend {
 public:
  virtual ~Backend() = default;
  // Number of host adapters.
  virtual std::uint8_t AdapterCount() = 0;
  // Runs one command, waiting at most command.timeoutMs; writes command.sense.
  // On return nothing may write into command or its buffer any more: a
  // backend whose command can outlive its time limit must abort it first, or
  // move the data through memory of its own that it keeps until the end.
  virtual CommandResult Run(std::uint8_t adapter, std::uint8_t target,
                            ScsiCommand& command) = 0;
  // Holds the device exclusively until the backend is destroyed; "" when
  // held, else what stops it and what the operator can do.
  virtual std::string Claim(std::uint8_t adapter, std::uint8_t target) {
    (void)adapter;
    (void)target;
    return {};
  }
  // Devices that exist but cannot be used, each with reason and remedy.
  virtual std::vector<std::string> Problems() const { return {}; }
};

// Creates the backend when the transport loads; throws ErrAspiLoad when the
// platform layer is missing, ErrAspiEntry when it is present but unusable.
using BackendFactory = std::function<std::shared_ptr<Backend>()>;
