// BinFile::BuildRecorderFirmwareImage: wraps a recorder firmware file into
// DriveFirme.img, a disc image the recorder reads its update from.
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string_view>

#include "core/big_endian.h"
#include "image/bin_file.h"
#include "image/image_format.h"
#include "image/input_file.h"
#include "image/private_output_file.h"

namespace {

using Sector = std::array<std::uint8_t, SectorSize>;

// Puts `text` at `offset`, cut short if needed so that it and its zero
// terminator stay inside the sector.
void PutText(Sector& sector, std::size_t offset, std::string_view text) {
  std::size_t room = SectorSize - offset - 1;
  std::memcpy(sector.data() + offset, text.data(), std::min(text.size(), room));
}

}  // namespace

std::int16_t BinFile::BuildRecorderFirmwareImage(const std::string& path) {
  // The size sector carries the length in 32 bits.
  if (imageSize < 0 || imageSize > std::numeric_limits<std::uint32_t>::max()) return -1;
  PrivateOutputFile image;
  if (!image.Open(imagePath)) return -1;

  Sector sector{};
  for (std::size_t i = 0; i < kDiscHeaderSector; ++i) {
    if (!image.Write(sector.data(), SectorSize)) return -1;
  }

  PutText(sector, kMakerOffset, kDiscMaker);
  PutText(sector, kModelOffset, kDriveImageModel);
  PutText(sector, kVerMarkOffset, "Ver " + recorderVersion);
  if (!image.Write(sector.data(), SectorSize)) return -1;
  std::uint32_t sum = WordSum32(sector.data(), SectorSize);

  sector.fill(0);
  WriteBE32(sector.data(), static_cast<std::uint32_t>(imageSize));
  PutText(sector, kSizeSectorTextOffset, "Dfw" + recorderVendor + recorderProduct);
  if (!image.Write(sector.data(), SectorSize)) return -1;
  sum += WordSum32(sector.data(), SectorSize);

  InputFile firmware;
  if (!firmware.Open(path)) return -1;
  for (std::int64_t remaining = imageSize; remaining > 0; remaining -= SectorSize) {
    sector.fill(0);
    std::size_t wanted = std::min<std::int64_t>(remaining, SectorSize);
    if (firmware.Read(sector.data(), wanted) < wanted) return -1;
    if (!image.Write(sector.data(), SectorSize)) return -1;
    sum += WordSum32(sector.data(), SectorSize);
  }

  // Stored negated, so the word sum of the whole image is zero.
  sector.fill(0);
  WriteBE32(sector.data() + kChecksumOffset, 0u - sum);
  if (!image.Write(sector.data(), SectorSize)) return -1;
  return image.Close() ? 0 : -1;
}
