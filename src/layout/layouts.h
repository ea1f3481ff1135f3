#pragma once
#include <string>

class BinFile;
class Drive;
class Progress;

// Stage texts the layouts announce.
inline constexpr const char* kStageLeadin = "Recording leadin";
inline constexpr const char* kStageData = "Recording data";
inline constexpr const char* kStageLeadout = "Recording leadout";
inline constexpr const char* kStageVerify = "Verify";

// Each layout records one program disc on `drive` and reads it back; true
// when everything read back matched. Recorder failures pass through as a
// FailureCode; a file that cannot be read gives false.

// A duplicator firmware image held in `binFile` (raw when kind is 0, else
// headed); the raw image's version text comes from binFile.filePath.
bool RecordFirmware(Drive& drive, const BinFile& binFile, Progress& progress);
// A recorder firmware file at `path`, identified in `binFile` before; builds
// and records DriveFirme.img.
bool RecordRecorderFirmware(Drive& drive, BinFile& binFile, const std::string& path,
                            Progress& progress);
// A ready-made disc image at `path`, every whole sector of it.
bool RecordDiscImage(Drive& drive, const std::string& path, Progress& progress);

inline constexpr int kRawLeadinZeroSectors = 16;
inline constexpr int kHeadedLeadinZeroSectors = 24;
