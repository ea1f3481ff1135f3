// Dispatch by RecorderType and the sector write and read commands.
#include <algorithm>
#include <vector>

#include "core/big_endian.h"
#include "core/sector.h"
#include "recorder/commands.h"
#include "recorder/drive.h"
#include "recorder/strategy.h"

namespace {

// Every recording ends with this many groups of 8 zero sectors.
constexpr int kZeroRunGroups = 37;

std::uint32_t BytesOf(std::uint8_t sectors) {
  return static_cast<std::uint32_t>(sectors * SectorSize);
}

}  // namespace

void Drive::PrepareDisc() {
  const Strategy* strategy = StrategyFor(recorderType);
  if (strategy == nullptr) return;
  switch (strategy->setup) {
    case SetupFamily::kType1:
      PrepareType1();
      break;
    case SetupFamily::kMode6:
      PrepareMode6();
      break;
    case SetupFamily::kMode10:
      PrepareMode10();
      break;
  }
}

void Drive::WriteSectors(const std::uint8_t* data, int count) {
  const Strategy* strategy = StrategyFor(recorderType);
  if (strategy == nullptr) return;
  const auto sectors = static_cast<std::uint8_t>(count);
  // A data-out buffer is only read by the transport.
  auto* buffer = const_cast<std::uint8_t*>(data);

  if (strategy->writeAddress == WriteAddress::kFieldZero) {
    ScsiCommand write = MakeCommand(6, {0x0A, 0x00, 0x00, 0x00, sectors, 0x00},
                                    kLongTimeoutMs, buffer, BytesOf(sectors));
    Require(write, ErrWrite);
    return;
  }

  std::array<std::uint8_t, 4> address = nextWritable;
  if (strategy->writeAddress == WriteAddress::kQueried) {
    std::uint8_t track[32] = {};
    ScsiCommand ask =
        MakeCommand(10, {0x52, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00},
                    kShortTimeoutMs, track, sizeof track);
    WriteBE16(ask.cdb + 7, 28);
    Require(ask, ErrTrackInfo);
    std::copy_n(track + 12, address.size(), address.begin());
  }
  ScsiCommand write =
      MakeCommand(10, {0x2A, 0x00}, kLongTimeoutMs, buffer, BytesOf(sectors));
  std::copy(address.begin(), address.end(), write.cdb + 2);
  WriteBE16(write.cdb + 7, sectors);
  Require(write, ErrWrite);
  if (strategy->writeAddress == WriteAddress::kTracked) {
    WriteBE32(nextWritable.data(), ReadBE32(nextWritable.data()) + sectors);
  }
}

void Drive::ReadSectors(std::uint8_t* data, int count) {
  if (StrategyFor(recorderType) == nullptr) return;
  const auto sectors = static_cast<std::uint8_t>(count);
  ScsiCommand read =
      MakeCommand(10, {0x28, 0x00}, kShortTimeoutMs, data, BytesOf(sectors));
  WriteBE32(read.cdb + 2, static_cast<std::uint32_t>(readLba));
  WriteBE16(read.cdb + 7, sectors);
  Require(read, ErrRead);
  readLba += sectors;
}

void Drive::ResetReadLba(std::int32_t lba) { readLba = lba; }

void Drive::CloseDisc() {
  const Strategy* strategy = StrategyFor(recorderType);
  if (strategy == nullptr) return;
  const std::vector<std::uint8_t> zeros(kMaxSectorsPerCommand * SectorSize);
  for (int i = 0; i < kZeroRunGroups; ++i) {
    WriteSectors(zeros.data(), kMaxSectorsPerCommand);
  }
  switch (strategy->closing) {
    case Closing::kType1:
      CloseType1();
      break;
    case Closing::kMmc:
      CloseMmc();
      break;
  }
}
