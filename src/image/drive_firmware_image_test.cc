// BuildRecorderFirmwareImage: DriveFirme.img for a recorder firmware file.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "core/big_endian.h"
#include "image/bin_file.h"
#include "image/image_fixtures.h"

namespace {

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void PutText(Bytes& bytes, std::size_t at, const std::string& text) {
  std::memcpy(&bytes[at], text.data(), text.size());
}

// DriveFirme.img as it must come out, built here byte by byte.
Bytes ExpectedImage(const Bytes& firmware, const std::string& product, const std::string& version) {
  std::size_t dataSectors = (firmware.size() + 2047) / 2048;
  Bytes image((27 + dataSectors) * 2048, 0);
  PutText(image, 49152, "VELDAN MACHINE");
  PutText(image, 49152 + 32, "Drive F/W RWQ-32");
  PutText(image, 49152 + 64, "Ver " + version);
  WriteBE32(&image[51200], static_cast<std::uint32_t>(firmware.size()));
  PutText(image, 51200 + 8, "DfwPLEXTOR " + product);
  std::copy(firmware.begin(), firmware.end(), image.begin() + 53248);
  WriteBE32(&image[image.size() - 2048 + 4], 0u - WordSum32(image));
  return image;
}

class DriveFirmwareImage : public ::testing::Test {
 protected:
  // Identifies `firmware` as a recorder firmware file and builds its image.
  std::int16_t Build(const Bytes& firmware) {
    firmwarePath = dir.Write("fw.BIN", firmware);
    EXPECT_EQ(binFile.IdentifyRecorderFirmware(firmwarePath), 0);
    return binFile.BuildRecorderFirmwareImage(firmwarePath);
  }
  TempDir dir;
  BinFile binFile{dir.path()};
  std::string firmwarePath;
};

TEST_F(DriveFirmwareImage, ByteExact) {
  struct Case {
    std::size_t length;
    std::string product;
    std::size_t imageBytes;
  };
  const Case cases[] = {
      {2048, "PX-760A", 57344},    // one data sector, size 00 00 08 00
      {3000, "PX-760A", 59392},    // the second sector holds 952 bytes and 1096 zeros
      {3000, "", 59392},           // "Dfw" and the vendor only
      {44, "ABCDEFGHIJKLMNOP", 57344},
  };
  for (const Case& c : cases) {
    Bytes firmware = RecorderFirmwareFile(
        {.product = c.product, .blockOffset = 0, .length = c.length});
    ASSERT_EQ(Build(firmware), 0) << c.length;
    EXPECT_EQ(binFile.imagePath, dir.path() + "DriveFirme.img");
    Bytes image = ReadAll(binFile.imagePath);
    EXPECT_EQ(image.size(), c.imageBytes);
    EXPECT_EQ(image, ExpectedImage(firmware, c.product, "1.07")) << c.length << " " << c.product;
    EXPECT_EQ(ReadBE32(&image[51200]), c.length);
  }
}

TEST_F(DriveFirmwareImage, WholeImageSumsToZeroAndEveryByteCounts) {
  ASSERT_EQ(Build(RecorderFirmwareFile({.length = 3000})), 0);
  Bytes image = ReadAll(binFile.imagePath);
  EXPECT_EQ(BinFile::WordSum32(image.data(), image.size()), 0u);
  for (std::size_t at : {49152u, 49152u + 70u, 51200u, 51200u + 10u, 53248u, 53248u + 2999u,
                         53248u + 4095u}) {
    Bytes changed = image;
    changed[at] ^= 0x01;
    EXPECT_NE(BinFile::WordSum32(changed.data(), changed.size()), 0u) << at;
  }
}

TEST_F(DriveFirmwareImage, ReplacesAnEarlierLongerImageAndIsPrivate) {
  Bytes old(200000, 0x77);
  WriteBytes(binFile.imagePath, old);
  chmod(binFile.imagePath.c_str(), 0644);
  mode_t savedMask = umask(0);
  ASSERT_EQ(Build(RecorderFirmwareFile()), 0);
  umask(savedMask);
  EXPECT_EQ(ReadAll(binFile.imagePath).size(), 59392u);
  struct stat status;
  ASSERT_EQ(stat(binFile.imagePath.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);

  unlink(binFile.imagePath.c_str());
  savedMask = umask(0);
  ASSERT_EQ(binFile.BuildRecorderFirmwareImage(firmwarePath), 0);
  umask(savedMask);
  ASSERT_EQ(stat(binFile.imagePath.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u) << "created private";
}

TEST_F(DriveFirmwareImage, PlantedSymlinkRefusedAndItsTargetUntouched) {
  std::string target = dir.Write("victim", Bytes(10, 'v'));
  ASSERT_EQ(symlink(target.c_str(), binFile.imagePath.c_str()), 0);
  EXPECT_EQ(Build(RecorderFirmwareFile()), -1);
  EXPECT_EQ(ReadAll(target), Bytes(10, 'v'));
  // A dangling link would otherwise create a file wherever it points.
  unlink(binFile.imagePath.c_str());
  ASSERT_EQ(symlink((dir.path() + "created").c_str(), binFile.imagePath.c_str()), 0);
  EXPECT_EQ(binFile.BuildRecorderFirmwareImage(firmwarePath), -1);
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "created"));
}

TEST_F(DriveFirmwareImage, AnythingButOurOwnPlainFileRefused) {
  Build(RecorderFirmwareFile());
  unlink(binFile.imagePath.c_str());
  // A FIFO: refused at once rather than waiting for a reader.
  ASSERT_EQ(mkfifo(binFile.imagePath.c_str(), 0666), 0);
  EXPECT_EQ(binFile.BuildRecorderFirmwareImage(firmwarePath), -1);
  unlink(binFile.imagePath.c_str());
  // A hard link to one of our files would otherwise be emptied.
  std::string victim = dir.Write("victim", Bytes(10, 'v'));
  ASSERT_EQ(link(victim.c_str(), binFile.imagePath.c_str()), 0);
  EXPECT_EQ(binFile.BuildRecorderFirmwareImage(firmwarePath), -1);
  EXPECT_EQ(ReadAll(victim), Bytes(10, 'v'));
  unlink(binFile.imagePath.c_str());
  ASSERT_EQ(mkdir(binFile.imagePath.c_str(), 0700), 0);
  EXPECT_EQ(binFile.BuildRecorderFirmwareImage(firmwarePath), -1);
}

TEST_F(DriveFirmwareImage, OtherUsersFileRefused) {
  Build(RecorderFirmwareFile());
  if (chown(binFile.imagePath.c_str(), 65534, 65534) != 0) {
    GTEST_SKIP() << "only root can give a file away";
  }
  std::size_t before = ReadAll(binFile.imagePath).size();
  EXPECT_EQ(binFile.BuildRecorderFirmwareImage(firmwarePath), -1);
  EXPECT_EQ(ReadAll(binFile.imagePath).size(), before) << "not emptied";
}

TEST(DriveFirmwareImageFailures, EveryFailureIsMinusOne) {
  TempDir dir;
  std::string firmware = dir.Write("fw.BIN", RecorderFirmwareFile());
  dir.Write("file", Bytes(1));
  struct Case {
    const char* name;
    std::string tempDir;
    std::string firmwarePath;
    std::int64_t imageSize;  // 0: as identified
  };
  const Case cases[] = {
      {"no such directory", "/nonexistent/dir/", firmware, 0},
      {"directory is a file", dir.path() + "file/", firmware, 0},
      {"firmware missing", dir.path(), dir.path() + "missing.BIN", 0},
      {"firmware shorter than identified", dir.path(), firmware, 3001},
      {"length beyond 32 bits", dir.path(), firmware, std::int64_t{1} << 32},
  };
  for (const Case& c : cases) {
    BinFile binFile(c.tempDir);
    ASSERT_EQ(binFile.IdentifyRecorderFirmware(firmware), 0);
    if (c.imageSize != 0) binFile.imageSize = c.imageSize;
    EXPECT_EQ(binFile.BuildRecorderFirmwareImage(c.firmwarePath), -1) << c.name;
  }
  if (geteuid() != 0) {
    TempDir readOnly;
    chmod(readOnly.path().c_str(), 0500);
    BinFile binFile(readOnly.path());
    ASSERT_EQ(binFile.IdentifyRecorderFirmware(firmware), 0);
    EXPECT_EQ(binFile.BuildRecorderFirmwareImage(firmware), -1) << "read-only directory";
    chmod(readOnly.path().c_str(), 0700);
  }
}

}  // namespace
