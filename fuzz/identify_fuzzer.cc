// The three identifications, ReadVersion and the DriveFirme.img builder on
// any file: results stay among the defined ones, an accepted file meets
// its kind's rules, and nothing reads outside what was read in.
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "image/bin_file.h"
#include "image/image_fixtures.h"
#include "image/image_format.h"
#include "image_shape.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// A private directory on a memory file system where there is one, so that
// writing each input stays cheap; removed when the fuzzer ends (the text is
// never freed, so that it outlives every exit handler).
const std::string& WorkDir() {
  static const std::string* dir = [] {
    std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/"
                                                                 : BinFile::DefaultTempDir();
    std::string pattern = base + "programcd-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(WorkDir(), ignored);
    });
    return new std::string(pattern + "/");
  }();
  return *dir;
}

bool IsResult(std::int16_t result) { return result <= 0 && result >= -4; }

// Every whole sector the image claims is in memory; one more is not.
void RequireSectorsHeld(const BinFile& bin) {
  const std::size_t sectors = static_cast<std::size_t>(bin.imageSize) / SectorSize;
  std::vector<std::uint8_t> out((sectors + 1) * SectorSize);
  Require(bin.CopySectors(out.data(), 0, sectors));
  Require(!bin.CopySectors(out.data(), 0, bin.imageMemory.size() / SectorSize + 1));
}

// DriveFirme.img: 24 zero sectors, header, size sector, the file in whole
// sectors and the checksum sector, its words summing to 0.
void RequireDriveImage(const std::string& imagePath, std::int64_t fileLength) {
  std::vector<std::uint8_t> image(std::filesystem::file_size(imagePath));
  std::FILE* file = std::fopen(imagePath.c_str(), "rb");
  Require(file != nullptr && std::fread(image.data(), 1, image.size(), file) == image.size());
  std::fclose(file);
  const std::size_t dataSectors = (fileLength + SectorSize - 1) / SectorSize;
  Require(image.size() == (kDiscHeaderSector + 3 + dataSectors) * SectorSize);
  Require(BinFile::WordSum32(image.data(), static_cast<std::int64_t>(image.size())) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  const std::string path = WorkDir() + "image.BIN";
  if (!WriteBytes(path, ShapedImage(input, size))) std::abort();
  const auto length = static_cast<std::int64_t>(std::filesystem::file_size(path));

  BinFile bin(WorkDir());
  std::string version;
  const std::int16_t firmware = bin.IdentifyFirmware(path);
  Require(IsResult(firmware) && firmware != -1);
  if (firmware == 0) {
    Require(bin.imageSize == length);
    Require(bin.kind == 0 ? length == static_cast<std::int64_t>(kRawImageSize)
                          : bin.kind == 1 && length % SectorSize == 0);
    RequireSectorsHeld(bin);
  }
  bin.SetFilePath(path);
  bin.ReadVersion(version);

  const std::int16_t recorder = bin.IdentifyRecorderFirmware(path);
  Require(IsResult(recorder) && recorder != -1 && recorder != -4);
  if (recorder == 0) {
    Require(bin.recorderVendor == kRecorderVendor);
    Require(bin.recorderProduct.size() <= 16 && bin.recorderVersion.size() <= 4);
    Require(bin.BuildRecorderFirmwareImage(path) == 0);
    RequireDriveImage(bin.imagePath, length);
  }

  const std::int16_t disc = bin.IdentifyDiscImage(path);
  Require(IsResult(disc) && disc != -1);
  if (disc == 0) {
    Require(bin.kind == 2 && bin.imageSize == length);
    RequireSectorsHeld(bin);
  }
  bin.ReadVersion(path, version);
  return 0;
}
