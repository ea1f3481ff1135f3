#include "layout/lead_in.h"

#include <algorithm>
#include <stdexcept>

#include "recorder/drive.h"

namespace {

bool IsZero(const Sector& sector) {
  return std::all_of(sector.begin(), sector.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace

bool IsRecordableVersion(const std::string& version) { return version.size() >= 4; }

Sector BuildVersionSector(const std::string& version) {
  if (!IsRecordableVersion(version)) {
    throw std::invalid_argument("version text \"" + version + "\" is shorter than 4 characters");
  }
  Sector sector{};
  std::copy_n("ZN_V", 4, sector.begin() + 40);
  // Character 2 (usually the full stop) is not carried.
  sector[44] = static_cast<std::uint8_t>(version[0]);
  sector[45] = static_cast<std::uint8_t>(version[2]);
  sector[46] = static_cast<std::uint8_t>(version[3]);
  return sector;
}

void WriteZeroSectors(Drive& drive, int count) {
  const Sector zero{};
  for (int i = 0; i < count; ++i) drive.WriteSectors(zero.data(), 1);
}

bool VerifyZeroSectors(Drive& drive, int count) {
  bool allZero = true;
  Sector sector;
  for (int i = 0; i < count; ++i) {
    drive.ReadSectors(sector.data(), 1);
    allZero = IsZero(sector) && allZero;
  }
  return allZero;
}

void WriteVersionSectors(Drive& drive, const std::string& version) {
  const Sector versionSector = BuildVersionSector(version);
  drive.WriteSectors(versionSector.data(), 1);
  WriteZeroSectors(drive, kVersionZeroSectors);
}

bool VerifyVersionSectors(Drive& drive, const std::string& version) {
  const Sector expected = BuildVersionSector(version);
  Sector sector;
  drive.ReadSectors(sector.data(), 1);
  const bool versionMatches = sector == expected;
  const bool zerosMatch = VerifyZeroSectors(drive, kVersionZeroSectors);
  return versionMatches && zerosMatch;
}
