#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "core/sector.h"

class Drive;

using Sector = std::array<std::uint8_t, SectorSize>;

// Zero sector with "ZN_V" at bytes 40..43 and characters 1, 3 and 4 of the
// version text at bytes 44..46. The text must have at least 4 characters.
Sector BuildVersionSector(const std::string& version);

// True when a raw firmware image with this version text can be recorded.
bool IsRecordableVersion(const std::string& version);

// Writes `count` zero sectors, one per command.
void WriteZeroSectors(Drive& drive, int count);
// Reads `count` sectors, one per command; true when all were zero. Always
// reads all of them.
bool VerifyZeroSectors(Drive& drive, int count);
// Writes the version sector, then 5 zero sectors, one per command.
void WriteVersionSectors(Drive& drive, const std::string& version);
// Reads 6 sectors; true when the first is the version sector and the other
// five are zero. Always reads all six.
bool VerifyVersionSectors(Drive& drive, const std::string& version);

inline constexpr int kVersionZeroSectors = 5;
