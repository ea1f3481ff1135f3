#pragma once
#include <cstddef>
#include <string_view>

#include "core/sector.h"

// Offsets, sizes and fixed texts of the image files and of DriveFirme.img.

// Every identification first reads this much of the header.
inline constexpr std::size_t kHeaderLength = 80;

// Firmware image header fields.
inline constexpr std::size_t kMakerOffset = 0;
inline constexpr std::size_t kModelOffset = 32;
inline constexpr std::size_t kRawVersionMarkOffset = 8;  // "V"
inline constexpr std::size_t kRawVersionOffset = 9;
inline constexpr std::size_t kVerMarkOffset = 64;  // "Ver"
inline constexpr std::size_t kVersionOffset = 68;
inline constexpr std::size_t kRawImageSize = 131072;

// Disc image: 24 sectors not examined, the header sector, then the data.
inline constexpr std::size_t kDiscHeaderSector = 24;
inline constexpr std::size_t kDiscHeaderOffset = kDiscHeaderSector * SectorSize;
inline constexpr std::size_t kDiscDataOffset = kDiscHeaderOffset + SectorSize;
inline constexpr std::size_t kDiscDataTotalOffset = 100;  // in the header sector
inline constexpr std::string_view kDiscMaker = "VELDAN MACHINE";
inline constexpr std::string_view kDiscModel = "Magnolix CD-R";
inline constexpr std::string_view kDiscModelName = "Magnolix";

// Recorder firmware block: vendor, then product, version and date texts
// separated by fixed bytes.
inline constexpr std::string_view kRecorderVendor = "PLEXTOR ";
inline constexpr std::size_t kBlockProductOffset = 9;
inline constexpr std::size_t kBlockVersionOffset = 26;
inline constexpr std::size_t kBlockLength = 44;

// DriveFirme.img: zero sectors, header, size sector, firmware, checksum.
inline constexpr std::string_view kDriveImageName = "DriveFirme.img";
inline constexpr std::string_view kDriveImageModel = "Drive F/W RWQ-32";
inline constexpr std::size_t kSizeSectorTextOffset = 8;
inline constexpr std::size_t kChecksumOffset = 4;  // in the checksum sector
