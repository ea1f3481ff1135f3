// The set-up sequences before the first sector and the closing sequences
// after the last.
#include <algorithm>
#include <span>

#include "core/big_endian.h"
#include "recorder/commands.h"
#include "recorder/drive.h"
#include "recorder/strategy.h"
#include "recorder/write_parameters.h"

// What the two MMC set-up families differ in.
struct MmcFamily {
  ModeLayout layout;           // 6-byte or 10-byte mode commands
  std::uint8_t infoCdbLength;  // of READ DISC/TRACK INFORMATION
  bool setsSpeed;              // SET CD SPEED to 353 kB/s before OPC
};

namespace {

constexpr MmcFamily kMode6Family = {ModeLayout::kSixByte, 10, true};
constexpr MmcFamily kMode10Family = {ModeLayout::kTenByte, 12, false};

// The one buffer all commands of an MMC set-up share.
constexpr std::uint32_t kSetupBufferLength = 96;
// Type 1's buffer: the 16-byte list, the rest zero.
constexpr std::uint32_t kType1BufferLength = 256;

// One command of a closing sequence: 10 bytes, no data, the long limit.
struct ClosingStep {
  std::uint8_t cdb[10];
  FailureCode failure;
};

constexpr ClosingStep kSynchronizeCache = {
    {0x35, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, ErrSyncCache};
constexpr ClosingStep kCloseType1Steps[] = {
    kSynchronizeCache,
    {{0xE9, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0x00},
     ErrFixSession},
};
constexpr ClosingStep kCloseMmcSteps[] = {
    kSynchronizeCache,
    {{0x5B, 0x00, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00}, ErrFixTrack},
    {{0x5B, 0x00, 0x02, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00},
     ErrFixSession},
};

// MODE SENSE or MODE SELECT of the Write Parameters page with length L.
ScsiCommand ModeCommand(const MmcFamily& family, bool select,
                        std::uint8_t length, std::uint8_t* buffer) {
  const bool six = family.layout == ModeLayout::kSixByte;
  const std::uint8_t opcode =
      six ? (select ? 0x15 : 0x1A) : (select ? 0x55 : 0x5A);
  // SELECT: PF = 1, SP = 0. SENSE: current values of page 05h.
  ScsiCommand command =
      MakeCommand(six ? 6 : 10,
                  {opcode, select ? std::uint8_t{0x10} : std::uint8_t{0x00},
                   select ? std::uint8_t{0x00} : std::uint8_t{0x05}},
                  kShortTimeoutMs, buffer, kSetupBufferLength);
  if (six) {
    command.cdb[4] = length;
  } else {
    WriteBE16(command.cdb + 7, length);
  }
  return command;
}

}  // namespace

void Drive::PrepareType1() {
  std::uint8_t buffer[kType1BufferLength] = {
      0x00, 0x00, 0x00, 0x08,  // header: block descriptor length 8
      0x00, 0x00, 0x00, 0x00,  // density, number of blocks
      0x00, 0x00, 0x08, 0x00,  // block length 2048
      0x31, 0x02, 0x00, 0x10,  // vendor page 31h
  };
  ScsiCommand select = MakeCommand(6, {0x15, 0x10, 0x00, 0x00, 0x10, 0x00},
                                   kShortTimeoutMs, buffer, sizeof buffer);
  Require(select, ErrWriteSpeed);
  ScsiCommand vendor =
      MakeCommand(10, {0xE6, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01},
                  kShortTimeoutMs, buffer, sizeof buffer);
  Require(vendor, ErrBlockLen);
}

void Drive::PrepareMode6() { PrepareMmc(kMode6Family); }

void Drive::PrepareMode10() { PrepareMmc(kMode10Family); }

void Drive::PrepareMmc(const MmcFamily& family) {
  const Strategy& strategy = *StrategyFor(recorderType);
  std::uint8_t buffer[kSetupBufferLength] = {};

  if (strategy.writeAddress == WriteAddress::kTracked) {
    ScsiCommand disc = MakeCommand(family.infoCdbLength, {0x51},
                                   kShortTimeoutMs, buffer, sizeof buffer);
    WriteBE16(disc.cdb + 7, kSetupBufferLength);
    Require(disc, ErrDiscInfo);
    // Address type 0 (a block address) of 255: on a blank disc it lies in
    // the one track still open for writing.
    ScsiCommand track =
        MakeCommand(family.infoCdbLength, {0x52, 0x00, 0x00, 0x00, 0x00, 0xFF},
                    kShortTimeoutMs, buffer, sizeof buffer);
    WriteBE16(track.cdb + 7, kSetupBufferLength);
    Require(track, ErrTrackInfo);
    std::copy_n(buffer + 12, nextWritable.size(), nextWritable.begin());
  }

  ScsiCommand sense = ModeCommand(family, false, strategy.modeLength, buffer);
  Require(sense, ErrModeSense);
  EditWriteParameters(buffer, family.layout);
  ScsiCommand select = ModeCommand(family, true, strategy.modeLength, buffer);
  Require(select, ErrModeSelect);

  if (family.setsSpeed) {
    // 0x0161 = 353 kB/s for reading and writing.
    ScsiCommand speed =
        MakeCommand(12, {0xBB, 0x00, 0x01, 0x61, 0x01, 0x61}, kShortTimeoutMs);
    Require(speed, ErrWriteSpeed);
  }
  if (strategy.sendsOpc) {
    ScsiCommand opc = MakeCommand(10, {0x54, 0x01}, kLongTimeoutMs);
    Require(opc, ErrSendOPC);
  }
}

namespace {

void RunClosing(SCSI& scsi, std::span<const ClosingStep> steps) {
  for (const ClosingStep& step : steps) {
    ScsiCommand command = MakeCommand(10, {}, kLongTimeoutMs);
    std::copy(std::begin(step.cdb), std::end(step.cdb), command.cdb);
    if (scsi.Execute(command) != kStatusCompleted) throw step.failure;
  }
}

}  // namespace

void Drive::CloseType1() { RunClosing(scsi, kCloseType1Steps); }

void Drive::CloseMmc() { RunClosing(scsi, kCloseMmcSteps); }
