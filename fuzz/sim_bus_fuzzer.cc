// The simulated bus fed any sequence of commands and buffers: every command
// gets a status, nothing crashes, and nothing is written outside the
// caller's buffer, which ends where its allocation ends so that ASan sees
// the first byte beyond it.
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "command_stream.h"
#include "fuzz_bus.h"
#include "sim/sim_bus.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// 1 completed, 4 refused, 130 nothing there, or the status an injected
// fault chose.
bool IsBusStatus(std::uint8_t status, const SimOptions& options) {
  return status == kStatusCompleted || status == kStatusError || status == kStatusNoDevice ||
         std::any_of(options.failures.begin(), options.failures.end(),
                     [status](const SimFailure& f) { return f.status == status; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const CommandStream stream = DecodeCommandStream(bytes, size);
  SimBus bus(FuzzBusRecorders(), stream.options);
  bus.SetEjectHandler([](std::uint8_t, std::uint8_t, const std::vector<SimSector>& sectors) {
    Require(sectors.size() <= SimDisc::kCapacity);
  });
  for (const StreamCommand& sent : stream.commands) {
    // Exactly bufferLength bytes, even when that is 0.
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[sent.bufferLength]());
    std::copy(sent.data.begin(), sent.data.end(), buffer.get());
    ScsiCommand command;
    std::copy_n(sent.cdb, sizeof command.cdb, command.cdb);
    command.cdbLength = sent.cdbLength;
    command.timeoutMs = 30000;
    command.buffer = buffer.get();
    command.bufferLength = sent.bufferLength;
    std::fill(std::begin(command.sense), std::end(command.sense), 0xEE);

    const CommandResult result = bus.Run(sent.adapter, sent.target, command);
    Require(IsBusStatus(result.status, stream.options));
    Require(result.resid <= command.bufferLength);
    if (result.status == kStatusCompleted) {
      // A command that completed has nothing to report in its sense.
      Require(std::all_of(std::begin(command.sense), std::end(command.sense),
                          [](std::uint8_t b) { return b == 0; }));
    }
    // The bus never touches the record's own fields.
    Require(command.buffer == buffer.get() && command.bufferLength == sent.bufferLength &&
            command.cdbLength == sent.cdbLength &&
            std::equal(command.cdb, command.cdb + sizeof command.cdb, sent.cdb));
  }
  for (const SimRecorderSlot& slot : FuzzBusRecorders()) {
    const SimDisc* disc = bus.Recorder(slot.adapter, slot.target)->Disc();
    Require(disc == nullptr || disc->Sectors().size() <= SimDisc::kCapacity);
  }
  return 0;
}
