#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/firmware_models.h"
#include "image/image_format.h"

// Image files built in memory, for tests and the sample tool. Their sums are
// computed here independently of BinFile, so they can check it.

using Bytes = std::vector<std::uint8_t>;

// A raw firmware image: "ZN7300 ", "V" at byte 8, then `version`.
Bytes RawFirmwareImage(std::string_view version = "1.05", std::size_t size = kRawImageSize);

// A headed firmware image of `sectors` sectors for a headed row of the model
// table, "Ver " and `version` at byte 64, its 16-bit sum in the row's word
// order 0, or 1 when `wrongSum`.
Bytes HeadedFirmwareImage(const FirmwareModel& model, std::size_t sectors = 4,
                          std::string_view version = "1.20", bool wrongSum = false);

struct DiscImageOptions {
  std::size_t length = kDiscDataOffset + 4 * SectorSize;  // any length
  std::string version = "2.00";
  bool wrongHeaderSum = false;       // header sector words sum to 1
  std::uint32_t dataTotalError = 0;  // added to the right data total
};

// A disc image: header sector at 49152 balanced to a word sum of 0, holding
// the negated word sum of the data from 51200 to the end.
Bytes DiscImage(const DiscImageOptions& options = {});

// The header sector of a disc image with data total `dataTotal`.
Bytes DiscHeaderSector(std::string_view version, std::uint32_t dataTotal);

struct RecorderFileOptions {
  std::string product = "PX-760A";  // up to 16 characters
  std::string version = "1.07";     // up to 4 characters
  std::string date = "01/23/2008 9:41";
  bool decoy = false;  // an earlier "PLEXTOR " that fails the shape test
  std::size_t blockOffset = 1000;
  std::size_t length = 3000;
};

// A recorder firmware file holding one "PLEXTOR " block.
Bytes RecorderFirmwareFile(const RecorderFileOptions& options = {});

// Sum modulo 2^16 of the 16-bit words of `data` in `order`.
std::uint16_t WordSum16(const Bytes& data, WordOrder order);

// Sum modulo 2^32 of the big-endian 32-bit words of `data` from `offset`,
// a final partial word padded with zeros.
std::uint32_t WordSum32(const Bytes& data, std::size_t offset = 0);

// Fills `data` with bytes that look like firmware and repeat for a seed.
void FillPattern(std::uint8_t* data, std::size_t count, std::uint32_t seed);

// Writes `bytes` to `path`, replacing it; false on failure.
bool WriteBytes(const std::string& path, const Bytes& bytes);

// A fresh directory under the temp dir, removed with all it holds.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  // The directory, ending with '/'.
  const std::string& path() const { return path_; }
  // Writes `bytes` to the file `name` in the directory; returns its path.
  std::string Write(const std::string& name, const Bytes& bytes) const;

 private:
  std::string path_;
};
