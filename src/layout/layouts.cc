#include "layout/layouts.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>

#include "core/sector.h"
#include "image/bin_file.h"
#include "layout/lead_in.h"
#include "layout/progress.h"
#include "recorder/drive.h"

namespace {

using Run = std::array<std::uint8_t, SectorSize * kMaxSectorsPerCommand>;

// Reads a file one whole sector at a time; a short tail is never returned.
class SectorReader {
 public:
  explicit SectorReader(const std::string& path) : file_(path, std::ios::binary) {}
  bool IsOpen() const { return file_.is_open(); }
  bool Next(Sector& sector) {
    file_.read(reinterpret_cast<char*>(sector.data()), sector.size());
    return file_.gcount() == static_cast<std::streamsize>(sector.size());
  }

 private:
  std::ifstream file_;
};

// Hands the image in memory to `step` in runs of up to 8 sectors, reporting
// progress after each, until the image ends or `step` returns false.
template <class Step>
void ForEachRun(const BinFile& binFile, std::size_t leadin, std::size_t total, Progress& progress,
                Step step) {
  const std::size_t sectors = static_cast<std::size_t>(binFile.imageSize) / SectorSize;
  Run run;
  for (std::size_t index = 0; index < sectors;) {
    const std::size_t count = std::min(kMaxSectorsPerCommand, sectors - index);
    binFile.CopySectors(run.data(), index, count);
    const bool more = step(run.data(), count);
    index += count;
    progress.Sectors(leadin + index, total);
    if (!more) return;
  }
}

std::size_t WholeSectorsOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return 0;
  return static_cast<std::size_t>(file.tellg()) / SectorSize;
}

// Writes or verifies one file sector by sector; the shared body of the two
// file-streaming layouts.
bool RecordFile(Drive& drive, const std::string& path, Progress& progress,
                bool sumMustBeZero) {
  const std::size_t total = WholeSectorsOf(path);
  progress.Stage(kStageLeadin);
  drive.PrepareDisc();
  {
    SectorReader reader(path);
    if (!reader.IsOpen()) return false;
    Sector sector;
    std::size_t done = 0;
    while (reader.Next(sector)) {
      drive.WriteSectors(sector.data(), 1);
      progress.Sectors(++done, total);
    }
  }
  progress.Stage(kStageLeadout);
  drive.CloseDisc();

  progress.Stage(kStageVerify);
  SectorReader reader(path);
  if (!reader.IsOpen()) return false;
  drive.ResetReadLba(0);
  bool matched = true;
  std::uint32_t sum = 0;
  Sector expected;
  Sector actual;
  std::size_t done = 0;
  while (reader.Next(expected)) {
    drive.ReadSectors(actual.data(), 1);
    progress.Sectors(++done, total);
    if (actual != expected) {
      matched = false;
      break;
    }
    sum += BinFile::WordSum32(actual.data(), actual.size());
  }
  return matched && (!sumMustBeZero || sum == 0);
}

}  // namespace

bool RecordFirmware(Drive& drive, const BinFile& binFile, Progress& progress) {
  const std::size_t sectors = static_cast<std::size_t>(binFile.imageSize) / SectorSize;
  // After a failed resize the memory may hold less than imageSize claims:
  // never record (or read) past what it really holds.
  if (binFile.imageSize < 0 || sectors * SectorSize > binFile.imageMemory.size()) return false;
  const bool raw = binFile.kind == 0;
  std::string version;
  if (raw) binFile.ReadVersion(version);
  const std::size_t leadin =
      raw ? kRawLeadinZeroSectors + 1 + kVersionZeroSectors : kHeadedLeadinZeroSectors;
  const std::size_t total = leadin + sectors;

  progress.Stage(kStageLeadin);
  drive.PrepareDisc();
  progress.Stage(kStageData);
  if (raw) {
    WriteZeroSectors(drive, kRawLeadinZeroSectors);
    WriteVersionSectors(drive, version);
  } else {
    WriteZeroSectors(drive, kHeadedLeadinZeroSectors);
  }
  progress.Sectors(leadin, total);
  ForEachRun(binFile, leadin, total, progress, [&](const std::uint8_t* run, std::size_t count) {
    drive.WriteSectors(run, static_cast<int>(count));
    return true;
  });
  progress.Stage(kStageLeadout);
  drive.CloseDisc();

  progress.Stage(kStageVerify);
  drive.ResetReadLba(0);
  bool result;
  if (raw) {
    // Both are read whatever the first finds.
    const bool zerosMatch = VerifyZeroSectors(drive, kRawLeadinZeroSectors);
    const bool versionMatches = VerifyVersionSectors(drive, version);
    result = zerosMatch && versionMatches;
  } else {
    result = VerifyZeroSectors(drive, kHeadedLeadinZeroSectors);
  }
  progress.Sectors(leadin, total);
  Run readBack;
  ForEachRun(binFile, leadin, total, progress, [&](const std::uint8_t* run, std::size_t count) {
    drive.ReadSectors(readBack.data(), static_cast<int>(count));
    // The first run that differs ends the check.
    if (std::memcmp(run, readBack.data(), count * SectorSize) == 0) return true;
    result = false;
    return false;
  });
  return result;
}

bool RecordRecorderFirmware(Drive& drive, BinFile& binFile, const std::string& path,
                            Progress& progress) {
  if (binFile.BuildRecorderFirmwareImage(path) < 0) return false;
  return RecordFile(drive, binFile.imagePath, progress, /*sumMustBeZero=*/true);
}

bool RecordDiscImage(Drive& drive, const std::string& path, Progress& progress) {
  return RecordFile(drive, path, progress, /*sumMustBeZero=*/false);
}
