#include "image/bin_file.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "core/failure_code.h"
#include "image/image_fixtures.h"

namespace {

TEST(BinFile, StartsEmptyWithTheImagePathInTheTempDir) {
  BinFile binFile("/some/dir/");
  EXPECT_EQ(binFile.kind, 0);
  EXPECT_EQ(binFile.imageSize, 0);
  EXPECT_EQ(binFile.imagePath, "/some/dir/DriveFirme.img");
  EXPECT_EQ(binFile.imageMemory, Bytes(1024, 0));
  EXPECT_TRUE(binFile.modelName.empty());
  EXPECT_TRUE(binFile.filePath.empty());
  EXPECT_TRUE(binFile.recorderVendor.empty());
  EXPECT_EQ(BinFile("/some/dir").imagePath, "/some/dir/DriveFirme.img");
}

TEST(BinFile, DefaultTempDirFollowsTmpdir) {
  struct Case {
    const char* tmpdir;  // null: unset
    const char* expected;
  };
  const Case cases[] = {
      {nullptr, "/tmp/"}, {"", "/tmp/"}, {"/var/tmp", "/var/tmp/"}, {"/x/y/", "/x/y/"}};
  const char* saved = getenv("TMPDIR");
  std::string savedValue = saved ? saved : "";
  for (const Case& c : cases) {
    if (c.tmpdir) {
      setenv("TMPDIR", c.tmpdir, 1);
    } else {
      unsetenv("TMPDIR");
    }
    EXPECT_EQ(BinFile::DefaultTempDir(), c.expected) << (c.tmpdir ? c.tmpdir : "unset");
  }
  if (saved) {
    setenv("TMPDIR", savedValue.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
}

TEST(BinFile, WordSum32) {
  struct Case {
    Bytes data;
    std::int64_t byteCount;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {{0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF}, 8, 0},  // wraps modulo 2^32
      {{0x12, 0x34, 0x56, 0x78}, 4, 0x12345678},     // most significant byte first
      {{1, 2, 3, 4}, 0, 0},
      {{1, 2, 3, 4}, -4, 0},
      // A final partial word counts with its missing bytes as zero.
      {{0, 0, 0, 1, 0xAB}, 5, 0xAB000001},
      {{0, 0, 0, 1, 0xAB, 0xCD, 0xEF}, 7, 0xABCDEF01},
  };
  for (const Case& c : cases) {
    // Exactly byteCount bytes on the heap, so ASan sees any read past them.
    Bytes exact(c.data.begin(), c.data.begin() + std::max<std::int64_t>(c.byteCount, 0));
    EXPECT_EQ(BinFile::WordSum32(exact.data(), c.byteCount), c.expected) << c.byteCount;
  }
}

// Against the plain word-by-word sum of the fixtures: lengths around the
// 8192-byte blocks of the vector sum, unaligned starts, bytes at their largest.
TEST(BinFile, WordSum32MatchesThePlainSum) {
  Bytes random(4 * 8192);
  FillPattern(random.data(), random.size(), 32);
  const Bytes full(random.size(), 0xFF);
  for (const Bytes* source : {static_cast<const Bytes*>(&random), &full}) {
    for (std::size_t length : {4099u, 8191u, 8192u, 8193u, 8195u, 16384u, 3u * 8192u + 63u}) {
      for (std::size_t start : {0u, 1u, 3u}) {
        Bytes piece(source->begin() + start, source->begin() + start + length);
        EXPECT_EQ(BinFile::WordSum32(source->data() + start, length), WordSum32(piece))
            << length << " from " << start;
      }
    }
  }
}

TEST(BinFile, FindPatternStaysInsideMemory) {
  BinFile binFile;
  binFile.imageMemory = {'a', 'P', 'L', 'X', 'P', 'L', 'E', 'X'};
  struct Case {
    const char* pattern;
    std::int64_t start, count, expected;
  };
  const Case cases[] = {
      {"PLE", 0, 8, 4},   // a partial match first
      {"PLE", 5, 8, -1},   // not found after its start
      {"PLEX", 0, 8, 4},  // ends at the last byte
      {"PLEXT", 0, 8, -1},  // would reach past the end
      {"PLEX", 0, 4, -1},   // positions from count on are not tried
      {"PLEX", 0, 1000, 4},  // count beyond memory is bounded by it
      {"a", -5, 8, 0},
      {"toolongforthememory", 0, 100, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(binFile.FindPattern(c.pattern, c.start, c.count), c.expected)
        << c.pattern << " from " << c.start;
  }
}

TEST(BinFile, CopySectorsOnlyWhatMemoryHolds) {
  BinFile binFile;
  binFile.imageMemory.assign(3 * SectorSize + 100, 0);
  for (std::size_t s = 0; s < 3; ++s) binFile.imageMemory[s * SectorSize] = static_cast<std::uint8_t>(s + 1);
  struct Case {
    std::size_t index, count;
    bool copied;
  };
  const Case cases[] = {
      {0, 3, true},  {1, 2, true},  {3, 0, true},   {0, 4, false}, {2, 2, false},
      {4, 0, false}, {1, SIZE_MAX, false},  // a count that would wrap the byte offset
      {SIZE_MAX / SectorSize, 1, false},
  };
  for (const Case& c : cases) {
    Bytes destination(4 * SectorSize, 0xEE);
    EXPECT_EQ(binFile.CopySectors(destination.data(), c.index, c.count), c.copied)
        << c.index << "+" << c.count;
    std::uint8_t first = c.copied && c.count > 0 ? c.index + 1 : 0xEE;
    EXPECT_EQ(destination[0], first) << "nothing copied unless the whole range is held";
  }
}

TEST(BinFile, SetFilePathFeedsReadVersion) {
  TempDir dir;
  BinFile binFile;
  std::string version = "before";
  EXPECT_FALSE(binFile.ReadVersion(version)) << "no path stored yet";
  binFile.SetFilePath(dir.Write("raw.BIN", RawFirmwareImage("1.05")));
  EXPECT_TRUE(binFile.ReadVersion(version));
  EXPECT_EQ(version, "1.05");
}

TEST(BinFile, ReadVersionByKind) {
  TempDir dir;
  Bytes headed(80, 0);
  std::memcpy(&headed[64], "Ver 1.20", 8);
  Bytes noTerminator(80, 'x');  // a version running to the end of the header
  noTerminator[8] = 'V';
  std::memcpy(&noTerminator[64], "Ver ", 4);
  Bytes notMarked = RawFirmwareImage("1.05");
  notMarked[8] = 'v';
  struct Case {
    const char* name;
    Bytes file;
    std::uint8_t kind;
    bool read;
    std::string version;
  };
  const Case cases[] = {
      {"raw", RawFirmwareImage("1.05"), 0, true, "1.05"},
      {"raw without V", notMarked, 0, false, "unchanged"},
      {"headed", headed, 1, true, "1.20"},
      {"headed without Ver", Bytes(80, 0), 1, false, "unchanged"},
      {"disc", DiscImage({.version = "3.1"}), 2, true, "3.1"},
      {"disc read at offset 0", headed, 2, false, "unchanged"},
      {"unrecognised", headed, 3, false, "unchanged"},
      {"79 bytes", Bytes(headed.begin(), headed.end() - 1), 1, false, "unchanged"},
      {"raw to the end", noTerminator, 0, true, std::string(55, 'x') + "Ver " + std::string(12, 'x')},
      {"headed to the end", noTerminator, 1, true, std::string(12, 'x')},
  };
  for (const Case& c : cases) {
    BinFile binFile;
    binFile.kind = c.kind;
    std::string version = "unchanged";
    EXPECT_EQ(binFile.ReadVersion(dir.Write("v.BIN", c.file), version), c.read) << c.name;
    EXPECT_EQ(version, c.version) << c.name;
  }
  BinFile binFile;
  std::string version = "unchanged";
  EXPECT_FALSE(binFile.ReadVersion(dir.path() + "missing.BIN", version));
  EXPECT_EQ(version, "unchanged");
}

TEST(BinFile, UnopenableFileIsMinusOneForEveryIdentification) {
  TempDir dir;
  for (const std::string& path : {dir.path() + "missing.BIN", dir.path()}) {
    BinFile binFile;
    EXPECT_EQ(binFile.IdentifyFirmware(path), -1) << path;
    EXPECT_EQ(binFile.IdentifyRecorderFirmware(path), -1) << path;
    EXPECT_EQ(binFile.IdentifyDiscImage(path), -1) << path;
    std::string version = "unchanged";
    EXPECT_FALSE(binFile.ReadVersion(path, version));
  }
}

// After ErrMemory imageSize is the new file's length while imageMemory still
// holds the previous file: nothing may read past what it really holds.
TEST(BinFile, ErrMemoryKeepsThePreviousBlockAndBoundsEveryReader) {
  TempDir dir;
  BinFile binFile(dir.path(), 100000);
  std::string recorder = dir.Write("rec.BIN", RecorderFirmwareFile({.blockOffset = 2500, .length = 3000}));
  ASSERT_EQ(binFile.IdentifyRecorderFirmware(recorder), 0);
  Bytes before = binFile.imageMemory;

  std::string raw = dir.Write("raw.BIN", RawFirmwareImage());
  EXPECT_THROW(
      {
        try {
          binFile.IdentifyFirmware(raw);
        } catch (FailureCode code) {
          EXPECT_EQ(code, ErrMemory);
          throw;
        }
      },
      FailureCode);
  EXPECT_EQ(binFile.imageSize, 131072);
  EXPECT_EQ(binFile.imageMemory, before);

  Bytes sectors(64 * SectorSize);
  EXPECT_FALSE(binFile.CopySectors(sectors.data(), 0, 64));
  EXPECT_TRUE(binFile.CopySectors(sectors.data(), 0, 1));
  EXPECT_EQ(binFile.FindPattern("PLEXTOR ", 2501, binFile.imageSize), -1);
  EXPECT_TRUE(binFile.ParseRecorderBlock());
}

// A file larger than the address space: the allocation itself fails.
TEST(BinFile, FailedAllocationIsErrMemory) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "AddressSanitizer aborts on a failed new instead of throwing bad_alloc";
#endif
  std::string path = "/dev/shm/programcd-huge-" + std::to_string(getpid());
  {
    std::ofstream create(path);
  }
  if (truncate(path.c_str(), std::int64_t{1} << 50) != 0) {
    unlink(path.c_str());
    GTEST_SKIP() << "no file system here holds a sparse file that large";
  }
  BinFile binFile;
  EXPECT_THROW(binFile.IdentifyRecorderFirmware(path), FailureCode);
  EXPECT_EQ(binFile.imageSize, std::int64_t{1} << 50);
  EXPECT_EQ(binFile.imageMemory.size(), 1024u);
  unlink(path.c_str());
}

}  // namespace
