#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "scsi/backend.h"
#include "sim/sim_options.h"
#include "sim/sim_recorder.h"

// Called with a disc's sectors just before it leaves the tray of the
// recorder at adapter:target.
using SimEjectHandler = std::function<void(
    std::uint8_t adapter, std::uint8_t target, const std::vector<SimSector>&)>;

// A virtual SCSI bus of virtual CD recorders, with injectable faults.
class SimBus : public Backend {
 public:
  // One recorder per slot, each with a blank disc in; adapter and target
  // 0..7 (std::out_of_range otherwise), a later slot at the same address
  // replaces an earlier one.
  explicit SimBus(const std::vector<SimRecorderSlot>& recorders,
                  SimOptions options = {});
  SimBus(const SimBus&) = delete;
  SimBus& operator=(const SimBus&) = delete;

  // Highest adapter with a recorder plus 1; 0 without recorders.
  std::uint8_t AdapterCount() override;
  // Runs one command at adapter:target. Status 1 completed, 4 refused (sense
  // set when the recorder refused it, zero when the data did not fit the
  // buffer), 130 when nothing answers there, 0 or the chosen status when a
  // fault hit it. A failed data-in command leaves stale bytes in the buffer.
  CommandResult Run(std::uint8_t adapter, std::uint8_t target,
                    ScsiCommand& command) override;

  // The recorder at adapter:target, or null where there is none.
  const SimRecorder* Recorder(std::uint8_t adapter, std::uint8_t target) const;
  // Sets what runs whenever a recorder ejects a disc.
  void SetEjectHandler(SimEjectHandler handler);

 private:
  // The recorder's answer to one command, faults applied.
  CommandResult Answer(std::uint8_t adapter, std::uint8_t target, ScsiCommand& command);
  // An injected fault's status for this command, if one hits it.
  std::optional<std::uint8_t> InjectedFailure(std::uint8_t opcode);
  void CorruptRead(const ScsiCommand& command) const;
  void Pace(const SimRecorder& recorder, std::uint8_t opcode,
            std::uint32_t bytes) const;

  std::array<std::array<std::unique_ptr<SimRecorder>, 8>, 8> recorders_;
  SimOptions options_;
  std::array<std::uint32_t, 256> seen_{};  // commands per opcode so far
  SimEjectHandler ejectHandler_;
  std::vector<std::uint8_t> lastDataIn_;  // what the last data-in answer moved
};

// How long moving `bytes` takes at speedKBps (kB/s, 1000 bytes each),
// scaled by factor.
std::chrono::microseconds SimTransferTime(std::uint32_t bytes,
                                          std::uint16_t speedKBps,
                                          double factor);
