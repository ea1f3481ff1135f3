#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

class InputFile;

// The image file the operator selected: which of the four kinds it is, its
// texts, and the whole file held in memory for the disc layouts.
class BinFile {
 public:
  // `tempDir` is the directory DriveFirme.img is built in (default: $TMPDIR,
  // else /tmp); a missing final '/' is added.
  // `memoryLimit` caps imageMemory; a file larger than it fails with ErrMemory.
  explicit BinFile(std::string tempDir = DefaultTempDir(),
                   std::size_t memoryLimit = std::numeric_limits<std::size_t>::max());

  // $TMPDIR if set and not empty, else "/tmp"; always ends with '/'.
  static std::string DefaultTempDir();

  // Stores `path` in filePath.
  void SetFilePath(const std::string& path);

  // Raw (kind 0) or headed (kind 1) firmware image. 0 accepted, -1 cannot open,
  // -2 wrong size, -3 not recognised, -4 checksum wrong; throws ErrMemory.
  std::int16_t IdentifyFirmware(const std::string& path);
  // Recorder firmware file (a "PLEXTOR " block anywhere; -2 when empty);
  // kind untouched.
  std::int16_t IdentifyRecorderFirmware(const std::string& path);
  // Ready-made disc image (kind 2), header sector at offset 49152; -2 also
  // when the file ends before that sector does.
  std::int16_t IdentifyDiscImage(const std::string& path);

  // Version text of `path` according to kind; on false `version` is unchanged.
  bool ReadVersion(const std::string& path, std::string& version) const;
  // The same for filePath.
  bool ReadVersion(std::string& version) const;

  // Copies sectorCount sectors starting at sectorIndex from imageMemory to
  // `destination`. False, and nothing copied, when the range is not wholly
  // inside what imageMemory really holds.
  bool CopySectors(std::uint8_t* destination, std::size_t sectorIndex,
                   std::size_t sectorCount) const;

  // Sum modulo 2^32 of the big-endian 32-bit words at data; a final partial
  // word counts with its missing bytes as zero; 0 when byteCount <= 0.
  static std::uint32_t WordSum32(const std::uint8_t* data, std::int64_t byteCount);

  // Finds the first "PLEXTOR " block in imageMemory that passes the shape
  // test and sets the three recorder texts from it.
  bool ParseRecorderBlock();
  // First position p in [start, count) where `pattern` (without its
  // terminator) lies wholly inside imageMemory, or -1.
  std::int64_t FindPattern(const char* pattern, std::int64_t start,
                           std::int64_t count) const;

  // Writes DriveFirme.img at imagePath for the recorder firmware file at
  // `path` (identified before): 0 when written whole, -1 on any failure.
  std::int16_t BuildRecorderFirmwareImage(const std::string& path);

  // 0 raw firmware, 1 headed firmware, 2 disc image, 3 header read but not
  // recognised. Set by IdentifyFirmware and IdentifyDiscImage only.
  std::uint8_t kind = 0;
  std::string modelName;
  // Length of the file last read into memory (may exceed imageMemory.size()
  // after an ErrMemory; never read beyond imageMemory.size()).
  std::int64_t imageSize = 0;
  std::string recorderVendor;
  std::string recorderProduct;
  std::string recorderVersion;
  std::string imagePath;  // tempDir + "DriveFirme.img"
  std::string filePath;
  std::vector<std::uint8_t> imageMemory;

 private:
  // Resizes imageMemory to `size` (gained bytes zero) or throws ErrMemory,
  // keeping the previous block whole.
  void ResizeMemory(std::int64_t size);
  // Reads the whole open file (imageSize bytes) into imageMemory; false if
  // it yields fewer bytes. Throws ErrMemory like ResizeMemory.
  bool ReadIntoMemory(InputFile& file);
  std::size_t memoryLimit_;
};
