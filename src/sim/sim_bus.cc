#include "sim/sim_bus.h"

#include <algorithm>
#include <iterator>
#include <thread>

#include "core/big_endian.h"

namespace {

constexpr std::uint8_t kTestUnitReady = 0x00;
constexpr std::uint8_t kWrite6 = 0x0A;
constexpr std::uint8_t kRead10 = 0x28;
constexpr std::uint8_t kWrite10 = 0x2A;

// Commands whose data come in from the recorder.
bool IsDataIn(std::uint8_t opcode) {
  switch (opcode) {
    case 0x12: case 0x1A: case 0x28: case 0x51: case 0x52: case 0x5A: return true;
    default: return false;
  }
}

}  // namespace

std::chrono::microseconds SimTransferTime(std::uint32_t bytes,
                                          std::uint16_t speedKBps,
                                          double factor) {
  if (factor <= 0 || speedKBps == 0) return {};
  const double seconds = bytes / (speedKBps * 1000.0) * factor;
  return std::chrono::microseconds(static_cast<std::int64_t>(seconds * 1e6));
}

SimBus::SimBus(const std::vector<SimRecorderSlot>& recorders,
               SimOptions options)
    : options_(std::move(options)) {
  for (const SimRecorderSlot& slot : recorders) {
    auto& recorder = recorders_.at(slot.adapter).at(slot.target);
    recorder = std::make_unique<SimRecorder>(slot.vendor, slot.product);
    recorder->SetEjectHook([this, a = slot.adapter, t = slot.target](
                               const std::vector<SimSector>& sectors) {
      if (ejectHandler_) ejectHandler_(a, t, sectors);
    });
  }
}

std::uint8_t SimBus::AdapterCount() {
  std::uint8_t count = 0;
  for (std::uint8_t a = 0; a < recorders_.size(); ++a) {
    for (const auto& recorder : recorders_[a]) {
      if (recorder) count = a + 1;
    }
  }
  return count;
}

const SimRecorder* SimBus::Recorder(std::uint8_t adapter,
                                    std::uint8_t target) const {
  if (adapter >= recorders_.size() || target >= recorders_[adapter].size()) {
    return nullptr;
  }
  return recorders_[adapter][target].get();
}

void SimBus::SetEjectHandler(SimEjectHandler handler) {
  ejectHandler_ = std::move(handler);
}

std::optional<std::uint8_t> SimBus::InjectedFailure(std::uint8_t opcode) {
  const std::uint32_t nth = ++seen_[opcode];
  for (const SimFailure& failure : options_.failures) {
    if (failure.opcode == opcode && failure.occurrence == nth) {
      return failure.status;
    }
  }
  return std::nullopt;
}

CommandResult SimBus::Run(std::uint8_t adapter, std::uint8_t target,
                          ScsiCommand& command) {
  CommandResult result = Answer(adapter, target, command);
  if (IsDataIn(command.cdb[0]) && command.buffer) {
    if (result.status == kStatusCompleted) {
      lastDataIn_.assign(command.buffer, command.buffer + command.bufferLength);
    } else {
      // As the Linux sg driver does, a failed command still hands back its
      // buffer, holding whatever an earlier answer left there: nothing may
      // read it.
      const std::size_t stale = std::min<std::size_t>(lastDataIn_.size(), command.bufferLength);
      std::copy_n(lastDataIn_.begin(), stale, command.buffer);
    }
  }
  return result;
}

CommandResult SimBus::Answer(std::uint8_t adapter, std::uint8_t target,
                             ScsiCommand& command) {
  std::fill(std::begin(command.sense), std::end(command.sense), 0);
  CommandResult result{kStatusError, command.bufferLength};
  if (adapter >= recorders_.size() || target >= recorders_[adapter].size() ||
      !recorders_[adapter][target]) {
    // Nothing answers there, as the platform backends report it.
    result.status = kStatusNoDevice;
    return result;
  }
  SimRecorder& recorder = *recorders_[adapter][target];

  const std::uint8_t opcode = command.cdb[0];
  if (const auto status = InjectedFailure(opcode)) {
    if (*status != 0) WriteFixedSense(kSenseInternalFailure, command.sense);
    result.status = *status;
    return result;
  }
  if (opcode == kTestUnitReady && seen_[opcode] <= options_.noDiscTests) {
    WriteFixedSense(kSenseNoMedium, command.sense);
    return result;
  }

  const SimReply reply = recorder.Execute(command);
  switch (reply.kind) {
    case SimReply::Kind::kGood:
      result.status = kStatusCompleted;
      result.resid = command.bufferLength - reply.moved;
      if (opcode == kRead10) CorruptRead(command);
      Pace(recorder, opcode, reply.moved);
      break;
    case SimReply::Kind::kCheckCondition:
      WriteFixedSense(reply.sense, command.sense);
      break;
    case SimReply::Kind::kTransferError:
      break;
  }
  return result;
}

void SimBus::CorruptRead(const ScsiCommand& command) const {
  const std::uint32_t first = ReadBE32(command.cdb + 2);
  const std::uint32_t count = ReadBE16(command.cdb + 7);
  for (const std::uint32_t lba : options_.corruptLbas) {
    if (lba >= first && lba - first < count) {
      command.buffer[std::size_t{lba - first} * SectorSize] ^= 0xFF;
    }
  }
}

void SimBus::Pace(const SimRecorder& recorder, std::uint8_t opcode,
                  std::uint32_t bytes) const {
  std::uint16_t speed = 0;
  if (opcode == kWrite6 || opcode == kWrite10) speed = recorder.WriteSpeed();
  if (opcode == kRead10) speed = recorder.ReadSpeed();
  const auto wait = SimTransferTime(bytes, speed, options_.delayFactor);
  if (wait.count() > 0) std::this_thread::sleep_for(wait);
}
