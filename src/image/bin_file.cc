#include "image/bin_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string_view>

#include "core/big_endian.h"
#include "core/failure_code.h"
#include "image/firmware_models.h"
#include "image/image_format.h"
#include "image/input_file.h"

namespace {

bool HasAt(const std::uint8_t* data, std::size_t offset, std::string_view text) {
  return std::memcmp(data + offset, text.data(), text.size()) == 0;
}

// The text from `begin` to its first zero byte, or to `end` if it has none.
std::string TextAt(const std::uint8_t* begin, const std::uint8_t* end) {
  return std::string(begin, std::find(begin, end, 0));
}

// The first maker that matches decides the group; the group's first model
// that matches decides the row. Null when either finds nothing.
const FirmwareModel* MatchFirmwareModel(const std::uint8_t* header) {
  std::span<const FirmwareModel> models = FirmwareModels();
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (!HasAt(header, kMakerOffset, models[i].maker)) continue;
    for (std::size_t j = i; j < models.size() && models[j].maker == models[i].maker; ++j) {
      if (models[j].model.empty() || HasAt(header, kModelOffset, models[j].model)) {
        return &models[j];
      }
    }
    return nullptr;
  }
  return nullptr;
}

// Sum modulo 2^16 of the whole 16-bit words of `data`.
std::uint16_t WordSum16(const std::vector<std::uint8_t>& data, WordOrder order) {
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    sum += order == WordOrder::kBigEndian ? ReadBE16(&data[i]) : ReadLE16(&data[i]);
  }
  return sum;
}

}  // namespace

BinFile::BinFile(std::string tempDir, std::size_t memoryLimit)
    : imageMemory(1024, 0), memoryLimit_(memoryLimit) {
  if (!tempDir.empty() && tempDir.back() != '/') tempDir += '/';
  imagePath = tempDir + std::string(kDriveImageName);
}

std::string BinFile::DefaultTempDir() {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string dir = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
  if (dir.back() != '/') dir += '/';
  return dir;
}

void BinFile::SetFilePath(const std::string& path) { filePath = path; }

void BinFile::ResizeMemory(std::int64_t size) {
  if (size < 0 || static_cast<std::uint64_t>(size) > memoryLimit_) throw ErrMemory;
  try {
    imageMemory.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    throw ErrMemory;
  } catch (const std::length_error&) {
    throw ErrMemory;
  }
}

bool BinFile::ReadIntoMemory(InputFile& file) {
  if (imageSize < 0) return false;
  ResizeMemory(imageSize);
  return file.Seek(0) &&
         file.Read(imageMemory.data(), imageMemory.size()) == imageMemory.size();
}

std::int16_t BinFile::IdentifyFirmware(const std::string& path) {
  InputFile file;
  if (!file.Open(path)) return -1;
  std::uint8_t header[kHeaderLength];
  if (file.Read(header, kHeaderLength) < kHeaderLength) return -2;
  kind = 3;
  const FirmwareModel* model = MatchFirmwareModel(header);
  if (model == nullptr) return -3;
  kind = model->kind;
  modelName = model->displayName;
  imageSize = file.Length();
  // A file that shrank while it was read is not the file that was measured.
  if (!ReadIntoMemory(file)) return -2;
  if (kind == 0) return imageSize == static_cast<std::int64_t>(kRawImageSize) ? 0 : -2;
  if (imageSize % SectorSize != 0) return -2;
  return WordSum16(imageMemory, model->wordOrder) == 0 ? 0 : -4;
}

std::int16_t BinFile::IdentifyRecorderFirmware(const std::string& path) {
  InputFile file;
  if (!file.Open(path)) return -1;
  imageSize = file.Length();
  if (imageSize < 1) return -2;
  if (!ReadIntoMemory(file)) return -2;
  return ParseRecorderBlock() ? 0 : -3;
}

std::int16_t BinFile::IdentifyDiscImage(const std::string& path) {
  InputFile file;
  if (!file.Open(path)) return -1;
  std::uint8_t header[kHeaderLength];
  if (!file.Seek(kDiscHeaderOffset) || file.Read(header, kHeaderLength) < kHeaderLength) {
    return -2;
  }
  kind = 3;
  if (!HasAt(header, kMakerOffset, kDiscMaker) || !HasAt(header, kModelOffset, kDiscModel)) {
    return -3;
  }
  kind = 2;
  modelName = kDiscModelName;
  imageSize = file.Length();
  if (!ReadIntoMemory(file)) return -2;
  // Too short to hold the whole header sector its sum covers.
  if (imageSize < static_cast<std::int64_t>(kDiscDataOffset)) return -2;
  const std::uint8_t* data = imageMemory.data();
  if (WordSum32(data + kDiscHeaderOffset, SectorSize) != 0) return -4;
  std::uint32_t dataTotal = ReadBE32(data + kDiscHeaderOffset + kDiscDataTotalOffset);
  std::uint32_t dataSum = WordSum32(data + kDiscDataOffset, imageSize - kDiscDataOffset);
  return static_cast<std::uint32_t>(dataTotal + dataSum) == 0 ? 0 : -4;
}

bool BinFile::ReadVersion(const std::string& path, std::string& version) const {
  InputFile file;
  if (!file.Open(path)) return false;
  if (kind == 2 && !file.Seek(kDiscHeaderOffset)) return false;
  std::uint8_t header[kHeaderLength];
  if (file.Read(header, kHeaderLength) < kHeaderLength) return false;
  std::size_t from;
  if (kind == 0) {
    if (header[kRawVersionMarkOffset] != 'V') return false;
    from = kRawVersionOffset;
  } else if (kind == 1 || kind == 2) {
    if (!HasAt(header, kVerMarkOffset, "Ver")) return false;
    from = kVersionOffset;
  } else {
    return false;
  }
  version = TextAt(header + from, header + kHeaderLength);
  return true;
}

bool BinFile::ReadVersion(std::string& version) const { return ReadVersion(filePath, version); }

bool BinFile::CopySectors(std::uint8_t* destination, std::size_t sectorIndex,
                          std::size_t sectorCount) const {
  std::size_t held = imageMemory.size() / SectorSize;
  if (sectorIndex > held || sectorCount > held - sectorIndex) return false;
  if (sectorCount > 0) {
    std::memcpy(destination, imageMemory.data() + sectorIndex * SectorSize,
                sectorCount * SectorSize);
  }
  return true;
}

bool BinFile::ParseRecorderBlock() {
  std::size_t held = std::min<std::uint64_t>(std::max<std::int64_t>(imageSize, 0),
                                             imageMemory.size());
  std::int64_t start = 0;
  for (;;) {
    std::int64_t position = FindPattern(kRecorderVendor.data(), start, imageSize);
    if (position < 0) return false;
    // Later candidates would reach even further past the end.
    std::size_t at = static_cast<std::size_t>(position);
    if (at + kBlockLength > held) return false;
    start = position + 1;
    const std::uint8_t* block = imageMemory.data() + at;
    if (block[8] == 0 && block[25] == 0 && block[30] == 0 && block[33] == '/' &&
        block[36] == '/' && block[43] == ':') {
      const std::uint8_t* end = block + kBlockLength;
      recorderVendor = TextAt(block, end);
      recorderProduct = TextAt(block + kBlockProductOffset, end);
      recorderVersion = TextAt(block + kBlockVersionOffset, end);
      return true;
    }
  }
}

std::int64_t BinFile::FindPattern(const char* pattern, std::int64_t start,
                                  std::int64_t count) const {
  std::size_t length = std::strlen(pattern);
  std::size_t size = imageMemory.size();
  if (length > size || count <= 0) return -1;
  std::size_t from = static_cast<std::size_t>(std::max<std::int64_t>(start, 0));
  // A candidate must lie wholly inside imageMemory, whatever `count` says.
  std::size_t end = std::min<std::uint64_t>(static_cast<std::uint64_t>(count), size - length + 1);
  const std::uint8_t* data = imageMemory.data();
  while (from < end) {
    if (length == 0) return static_cast<std::int64_t>(from);
    const void* hit = std::memchr(data + from, pattern[0], end - from);
    if (hit == nullptr) return -1;
    std::size_t p = static_cast<const std::uint8_t*>(hit) - data;
    if (std::memcmp(data + p, pattern, length) == 0) return static_cast<std::int64_t>(p);
    from = p + 1;
  }
  return -1;
}
