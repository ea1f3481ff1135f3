#include "expected_outcome.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr std::uint8_t kTestUnitReady = 0x00;
constexpr std::uint8_t kWrite6 = 0x0A;
constexpr std::uint8_t kInquiry = 0x12;
constexpr std::uint8_t kModeSelect6 = 0x15;
constexpr std::uint8_t kModeSense6 = 0x1A;
constexpr std::uint8_t kStartStopUnit = 0x1B;
constexpr std::uint8_t kRead10 = 0x28;
constexpr std::uint8_t kWrite10 = 0x2A;
constexpr std::uint8_t kSynchronizeCache = 0x35;
constexpr std::uint8_t kReadDiscInformation = 0x51;
constexpr std::uint8_t kReadTrackInformation = 0x52;
constexpr std::uint8_t kSendOpcInformation = 0x54;
constexpr std::uint8_t kModeSelect10 = 0x55;
constexpr std::uint8_t kModeSense10 = 0x5A;
constexpr std::uint8_t kCloseTrackSession = 0x5B;
constexpr std::uint8_t kSetCdSpeed = 0xBB;
constexpr std::uint8_t kVendorWriteMode = 0xE6;
constexpr std::uint8_t kVendorFixate = 0xE9;

// Every disc ends with 37 writes of 8 zero sectors before its closing.
constexpr std::size_t kZeroRunWrites = 37;

bool IsWrite(std::uint8_t opcode) { return opcode == kWrite6 || opcode == kWrite10; }

// Where the phases of a good recording begin.
struct Phases {
  std::size_t firstWrite;  // with its address query, if it has one
  std::size_t zeroRun;    // first command of the closing zero run
  std::size_t closing;    // SYNCHRONIZE CACHE
  std::size_t firstRead;
};

Phases PhasesOf(const std::vector<TracedCommand>& good) {
  auto find = [&good](auto predicate, std::size_t from = 0) {
    return static_cast<std::size_t>(
        std::find_if(good.begin() + from, good.end(), predicate) - good.begin());
  };
  Phases p{};
  p.firstWrite = find([](const TracedCommand& c) { return IsWrite(c.opcode()); });
  p.closing = find([](const TracedCommand& c) { return c.opcode() == kSynchronizeCache; });
  p.firstRead = find([](const TracedCommand& c) { return c.opcode() == kRead10; }, p.closing);
  std::vector<std::size_t> writes;
  for (std::size_t i = p.firstWrite; i < p.closing; ++i) {
    if (IsWrite(good[i].opcode())) writes.push_back(i);
  }
  if (writes.size() < kZeroRunWrites || p.firstRead >= good.size()) {
    throw std::logic_error("not the trace of a whole recording");
  }
  p.zeroRun = writes[writes.size() - kZeroRunWrites];
  // A queried-address type asks for the address just before each write;
  // the question belongs to the write.
  auto asked = [&good](std::size_t write) {
    return good[write - 1].opcode() == kReadTrackInformation ? write - 1 : write;
  };
  p.firstWrite = asked(p.firstWrite);
  p.zeroRun = asked(p.zeroRun);
  return p;
}

// The code a command of the set-up raises when it does not complete.
FailureCode SetupFailure(std::uint8_t opcode, int recorderType) {
  switch (opcode) {
    case kModeSelect6: return recorderType == 1 ? ErrWriteSpeed : ErrModeSelect;
    case kVendorWriteMode: return ErrBlockLen;
    case kReadDiscInformation: return ErrDiscInfo;
    case kReadTrackInformation: return ErrTrackInfo;
    case kModeSense6:
    case kModeSense10: return ErrModeSense;
    case kModeSelect10: return ErrModeSelect;
    case kSetCdSpeed: return ErrWriteSpeed;
    case kSendOpcInformation: return ErrSendOPC;
  }
  throw std::logic_error("not a set-up command");
}

}  // namespace

FailureMessage MessageFor(FailureCode code) {
  switch (code) {
    case ErrWriteSpeed: return {"no recovery error. (WriteSpeed)", false};
    case ErrBlockLen: return {"no recovery error. (BlockLen)", false};
    case ErrWrite: return {"recovery error. (Write)", true};
    case ErrSyncCache: return {"recovery error. (SyncCache)", true};
    case ErrFixSession: return {"recovery error. (FixSession)", true};
    case ErrSendOPC: return {"recovery error. (SendOPC)", true};
    case ErrModeSense: return {"no recovery error. (ModeSence)", false};
    case ErrModeSelect: return {"no recovery error. (ModeSelect)", false};
    case ErrTrackInfo: return {"no recovery error. (TrackInfo)", false};
    case ErrFixTrack: return {"recovery error. (FixTrack)", true};
    case ErrEject: return {"recovery error. (Eject)", true};
    case ErrDiscInfo: return {"no recovery error. (DiscInfo)", false};
    case ErrRead: return {"recovery error. (Read)", true};
    default: return {"no recovery error. (others)", false};
  }
}

ExpectedOutcome ExpectedFor(const std::vector<TracedCommand>& good, std::size_t index,
                            int recorderType, std::string_view dataStage) {
  const std::uint8_t opcode = good.at(index).opcode();
  ExpectedOutcome expected;
  if (opcode == kInquiry) {
    expected.consequence = Consequence::kHidden;
    return expected;
  }
  if (opcode == kTestUnitReady) {
    expected.consequence = Consequence::kNotReady;
    return expected;
  }
  const Phases p = PhasesOf(good);
  if (index < p.firstWrite) {
    expected.code = SetupFailure(opcode, recorderType);
    expected.stage = "Recording leadin";
  } else if (index < p.closing) {
    if (!IsWrite(opcode) && opcode != kReadTrackInformation) {
      throw std::logic_error("not a write command");
    }
    expected.code = IsWrite(opcode) ? ErrWrite : ErrTrackInfo;
    expected.stage = index < p.zeroRun ? std::string(dataStage) : "Recording leadout";
  } else if (index < p.firstRead) {
    // The first CLOSE TRACK/SESSION closes the track, the second the session.
    const auto closes = std::count_if(good.begin() + p.closing, good.begin() + index + 1,
                                      [](const TracedCommand& c) {
                                        return c.opcode() == kCloseTrackSession;
                                      });
    switch (opcode) {
      case kSynchronizeCache: expected.code = ErrSyncCache; break;
      case kCloseTrackSession: expected.code = closes == 1 ? ErrFixTrack : ErrFixSession; break;
      case kVendorFixate: expected.code = ErrFixSession; break;
      default: throw std::logic_error("not a closing command");
    }
    expected.stage = "Recording leadout";
  } else if (opcode == kRead10) {
    expected.code = ErrRead;
    expected.stage = "Verify";
  } else if (opcode == kStartStopUnit && index + 1 == good.size()) {
    expected.code = ErrEject;
    expected.stage = "Eject CD";
  } else {
    throw std::logic_error("not a command of the read-back or the eject");
  }
  const FailureMessage message = MessageFor(expected.code);
  expected.text = message.text;
  expected.recovery = message.recovery;
  return expected;
}
