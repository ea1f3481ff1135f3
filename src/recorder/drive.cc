#include "recorder/drive.h"

#include <algorithm>
#include <utility>

#include "recorder/commands.h"

Drive::Drive(BackendFactory factory) : scsi(std::move(factory)) {}

void Drive::Initialize() {
  readLba = 0;
  modelTable = SupportedRecorderModels();
  scsi.Load();
}

std::int16_t Drive::ScanBus(FoundRecorder* rows, int capacity) {
  std::uint8_t answer[128];
  ScsiCommand inquiry = MakeCommand(6, {0x12, 0x00, 0x00, 0x00, 0x2C, 0x00},
                                    kShortTimeoutMs, answer, sizeof answer);
  for (auto& targets : foundTypes) targets.fill(0);
  int count = 0;
  // foundTypes has rows for 8 adapters; adapters beyond are not probed.
  const int adapters = std::min<int>(scsi.adapterCount, kMaxAdapters);
  for (int a = 0; a < adapters; ++a) {
    scsi.adapterId = static_cast<std::uint8_t>(a);
    for (int t = 0; t < kMaxTargets; ++t) {
      scsi.targetId = static_cast<std::uint8_t>(t);
      // A device that answers with fewer bytes must not be taken for the
      // one probed before it.
      std::fill(std::begin(answer), std::end(answer), 0);
      if (scsi.Execute(inquiry) != kStatusCompleted) continue;
      const RecorderModel* model =
          MatchModel(modelTable, answer + 8, answer + 16);
      if (model == nullptr) continue;
      foundTypes[a][t] = model->recorderType;
      // The caller's rows end at capacity: later matches are not stored.
      if (rows == nullptr || count >= capacity) continue;
      FoundRecorder& row = rows[count++];
      std::copy_n(answer + 8, row.vendor.size(), row.vendor.begin());
      std::copy_n(answer + 16, row.product.size(), row.product.begin());
      row.target = static_cast<std::uint8_t>(t);
      row.adapter = static_cast<std::uint8_t>(a);
    }
  }
  return static_cast<std::int16_t>(count);
}

std::uint8_t Drive::SelectRecorder(std::uint8_t adapter, std::uint8_t target) {
  targetId = target;
  // A place outside foundTypes holds no recorder.
  recorderType = adapter < kMaxAdapters && target < kMaxTargets
                     ? foundTypes[adapter][target]
                     : 0;
  scsi.targetId = target;
  scsi.adapterId = adapter;
  return recorderType;
}

bool Drive::IsNotReady() {
  std::uint8_t unused[256];
  ScsiCommand ready =
      MakeCommand(6, {0x00}, kShortTimeoutMs, unused, sizeof unused);
  return scsi.Execute(ready) != kStatusCompleted;
}

void Drive::Eject() {
  ScsiCommand eject =
      MakeCommand(6, {0x1B, 0x00, 0x00, 0x00, 0x02, 0x00}, kLongTimeoutMs);
  Require(eject, ErrEject);
}

void Drive::Require(ScsiCommand& command, FailureCode failure) {
  if (scsi.Execute(command) != kStatusCompleted) throw failure;
}
