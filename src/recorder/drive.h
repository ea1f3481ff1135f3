#pragma once
#include <array>
#include <cstdint>

#include "core/failure_code.h"
#include "recorder/model_table.h"
#include "scsi/scsi.h"

// One row of the bus scan.
struct FoundRecorder {
  std::array<char, 8> vendor{};
  std::array<char, 16> product{};
  std::uint8_t target = 0;
  std::uint8_t adapter = 0;
};

inline constexpr int kMaxAdapters = kAddressableAdapters;
inline constexpr int kMaxTargets = kAddressableTargets;

struct MmcFamily;

// The recorder control object: model table, bus scan, the chosen recorder and
// the per-type command sequences that prepare, write, read and close a disc.
class Drive {
 public:
  explicit Drive(BackendFactory factory);

  // Writes the model table, sets readLba to 0, loads the transport.
  // Throws ErrAspiLoad or ErrAspiEntry.
  void Initialize();
  // Probes every adapter (at most 8) and target 0..7 with INQUIRY; stores at
  // most `capacity` matching rows in `rows` and returns how many it stored.
  std::int16_t ScanBus(FoundRecorder* rows, int capacity);
  // Binds the transport to adapter/target; returns the RecorderType found
  // there by the scan (0 where none was).
  std::uint8_t SelectRecorder(std::uint8_t adapter, std::uint8_t target);
  // True when TEST UNIT READY does not complete without error. Never throws.
  bool IsNotReady();
  // START STOP UNIT eject; throws ErrEject.
  void Eject();

  // Runs the set-up sequence of recorderType.
  void PrepareDisc();
  // Writes count (1..8, low 8 bits used) sectors at the type's write address.
  // Throws ErrTrackInfo or ErrWrite.
  void WriteSectors(const std::uint8_t* data, int count);
  // Reads count sectors at readLba into data and advances readLba. Throws
  // ErrRead.
  void ReadSectors(std::uint8_t* data, int count);
  // Sets readLba; sends nothing.
  void ResetReadLba(std::int32_t lba);
  // Writes 296 zero sectors, then runs the type's closing sequence.
  void CloseDisc();

  std::array<RecorderModel, kModelTableRows> modelTable{};
  std::uint8_t targetId = 0;
  std::uint8_t recorderType = 0;
  SCSI scsi;
  std::array<std::array<std::uint8_t, kMaxTargets>, kMaxAdapters> foundTypes{};
  std::array<std::uint8_t, 4> nextWritable{};
  std::int32_t readLba = 0;

 private:
  // Sends `command`; throws `failure` unless it completed without error.
  void Require(ScsiCommand& command, FailureCode failure);
  // The set-up sequences of type 1, types 2..5 and types 6..9.
  void PrepareType1();
  void PrepareMode6();
  void PrepareMode10();
  void PrepareMmc(const MmcFamily& family);
  // The closing sequences of type 1 and types 2..9.
  void CloseType1();
  void CloseMmc();
};
