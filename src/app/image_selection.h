#pragma once
#include <cstdint>
#include <string>

class BinFile;

// How a selected file is recorded: 0 duplicator firmware image (raw or
// headed), 1 recorder firmware file, 2 ready-made disc image.
enum ImageKind : std::uint8_t {
  kFirmwareImage = 0,
  kRecorderFirmware = 1,
  kDiscImage = 2,
};

// What a selection shows: the three edits and the Message text.
struct Selection {
  bool accepted = false;
  ImageKind imageKind = kFirmwareImage;  // meaningful only when accepted
  std::string fileName;
  std::string fileVersion;
  std::string fileType;
  std::string message;  // why it was rejected; empty when accepted
};

// Asks binFile whether `path` is a firmware image, then a recorder firmware
// file, then a disc image; the first that accepts it wins. A firmware
// image's path is stored in binFile. An image too large for memory is
// rejected with the memory text.
Selection SelectImage(BinFile& binFile, const std::string& path);
