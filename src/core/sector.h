#pragma once
#include <cstddef>

// Every write and read of the disc moves whole sectors of this size.
inline constexpr std::size_t SectorSize = 2048;

// The largest group of sectors one write or read command carries.
inline constexpr std::size_t kMaxSectorsPerCommand = 8;
