#include "image/image_fixtures.h"

#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "core/big_endian.h"
#include "image/bin_file.h"

namespace {

// Puts `text` at `offset`, cut off at the end of `bytes`.
void Put(Bytes& bytes, std::size_t offset, std::string_view text) {
  std::size_t room = bytes.size() - std::min(offset, bytes.size());
  std::copy_n(text.begin(), std::min(text.size(), room), bytes.begin() + offset);
}

}  // namespace

void FillPattern(std::uint8_t* data, std::size_t count, std::uint32_t seed) {
  std::uint32_t state = seed * 2654435761u + 1;
  for (std::size_t i = 0; i < count; ++i) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    data[i] = static_cast<std::uint8_t>(state >> 11);
  }
}

std::uint16_t WordSum16(const Bytes& data, WordOrder order) {
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    sum += order == WordOrder::kLittleEndian ? ReadLE16(&data[i]) : ReadBE16(&data[i]);
  }
  return sum;
}

std::uint32_t WordSum32(const Bytes& data, std::size_t offset) {
  std::uint32_t sum = 0;
  for (std::size_t i = offset; i < data.size(); i += 4) {
    std::uint8_t word[4] = {};
    std::copy(data.begin() + i, data.begin() + std::min(i + 4, data.size()), word);
    sum += ReadBE32(word);
  }
  return sum;
}

Bytes RawFirmwareImage(std::string_view version, std::size_t size) {
  Bytes bytes(std::max(size, kHeaderLength));
  FillPattern(bytes.data(), bytes.size(), 7300);
  Put(bytes, kMakerOffset, "ZN7300 ");
  bytes[kRawVersionMarkOffset] = 'V';
  Put(bytes, kRawVersionOffset, version);
  bytes[kRawVersionOffset + version.size()] = 0;
  bytes.resize(size);
  return bytes;
}

Bytes HeadedFirmwareImage(const FirmwareModel& model, std::size_t sectors,
                          std::string_view version, bool wrongSum) {
  if (model.wordOrder == WordOrder::kNone || sectors == 0) {
    throw std::invalid_argument("a headed image needs a headed model and a sector");
  }
  Bytes bytes(sectors * SectorSize);
  FillPattern(bytes.data(), bytes.size(), static_cast<std::uint32_t>(sectors));
  std::fill(bytes.begin(), bytes.begin() + kHeaderLength, 0);
  Put(bytes, kMakerOffset, model.maker);
  Put(bytes, kModelOffset, model.model);
  Put(bytes, kVerMarkOffset, "Ver ");
  Put(bytes, kVersionOffset, version);
  // The last word balances the sum.
  std::uint8_t* last = &bytes[bytes.size() - 2];
  last[0] = last[1] = 0;
  std::uint16_t balance = static_cast<std::uint16_t>(0u - WordSum16(bytes, model.wordOrder) +
                                                     (wrongSum ? 1 : 0));
  if (model.wordOrder == WordOrder::kBigEndian) {
    WriteBE16(last, balance);
  } else {
    last[0] = static_cast<std::uint8_t>(balance);
    last[1] = static_cast<std::uint8_t>(balance >> 8);
  }
  return bytes;
}

Bytes DiscHeaderSector(std::string_view version, std::uint32_t dataTotal) {
  Bytes sector(SectorSize);
  Put(sector, kMakerOffset, kDiscMaker);
  Put(sector, kModelOffset, kDiscModel);
  Put(sector, kVerMarkOffset, "Ver ");
  Put(sector, kVersionOffset, version);
  WriteBE32(&sector[kDiscDataTotalOffset], dataTotal);
  // The last word balances the sector's word sum to 0.
  WriteBE32(&sector[SectorSize - 4], 0u - WordSum32(sector));
  return sector;
}

Bytes DiscImage(const DiscImageOptions& options) {
  Bytes bytes(std::max(options.length, kDiscDataOffset));
  FillPattern(bytes.data(), bytes.size(), 49152);
  bytes.resize(options.length);
  std::uint32_t dataTotal = 0u - WordSum32(bytes, kDiscDataOffset) + options.dataTotalError;
  Bytes header = DiscHeaderSector(options.version, dataTotal);
  if (options.wrongHeaderSum) WriteBE32(&header[SectorSize - 4], ReadBE32(&header[SectorSize - 4]) + 1);
  bytes.resize(std::max(options.length, kDiscDataOffset));
  std::copy(header.begin(), header.end(), bytes.begin() + kDiscHeaderOffset);
  bytes.resize(options.length);
  return bytes;
}

Bytes RecorderFirmwareFile(const RecorderFileOptions& options) {
  if (options.blockOffset + kBlockLength > options.length ||
      (options.decoy && options.blockOffset < kBlockLength)) {
    throw std::invalid_argument("the block does not fit in the file");
  }
  Bytes bytes(options.length);
  FillPattern(bytes.data(), bytes.size(), 760);
  auto putBlock = [&](std::size_t at, bool shaped) {
    std::fill(bytes.begin() + at, bytes.begin() + at + kBlockLength, 0);
    Put(bytes, at, kRecorderVendor);
    Put(bytes, at + kBlockProductOffset, options.product);
    Put(bytes, at + kBlockVersionOffset, options.version);
    Put(bytes, at + 31, options.date);
    std::size_t dateEnd = at + 31 + options.date.size();
    if (dateEnd < bytes.size()) bytes[dateEnd] = 0;
    if (!shaped) bytes[at + 8] = 'X';
  };
  if (options.decoy) putBlock(options.blockOffset - kBlockLength, false);
  putBlock(options.blockOffset, true);
  return bytes;
}

bool WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

TempDir::TempDir() {
  std::string pattern = BinFile::DefaultTempDir() + "programcd-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const Bytes& bytes) const {
  std::string file = path_ + name;
  if (!WriteBytes(file, bytes)) throw std::runtime_error("cannot write " + file);
  return file;
}
