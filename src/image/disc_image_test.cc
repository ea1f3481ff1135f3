// IdentifyDiscImage: ready-made disc images.
#include <cstring>

#include <gtest/gtest.h>

#include "image/bin_file.h"
#include "image/image_fixtures.h"

namespace {

Bytes WithByte(Bytes bytes, std::size_t at, std::uint8_t value) {
  bytes[at] = value;
  return bytes;
}

TEST(IdentifyDiscImage, ResultsAndWhatTheyLeave) {
  const std::size_t kData = kDiscDataOffset;
  Bytes good = DiscImage();
  Bytes notMagnolix = WithByte(good, kDiscHeaderOffset + 32, 'm');
  Bytes partial = DiscImage({.length = kData + 4 * 2048 + 3});  // a tail of a sector and a word
  struct Case {
    const char* name;
    Bytes file;
    std::int16_t result;
    std::uint8_t kind;  // 9: left as it was
  };
  const Case cases[] = {
      {"good", good, 0, 2},
      {"data only", DiscImage({.length = kData}), 0, 2},
      {"tail shorter than a sector", partial, 0, 2},
      // The partial last word counts: changing its bytes breaks the sum.
      {"partial word changed", WithByte(partial, partial.size() - 1, partial.back() ^ 1), -4, 2},
      {"data total one more", DiscImage({.dataTotalError = 1}), -4, 2},
      {"data total one less", DiscImage({.dataTotalError = 0xFFFFFFFF}), -4, 2},
      {"data byte changed", WithByte(good, kData + 5, good[kData + 5] ^ 0x10), -4, 2},
      {"header sum wrong", DiscImage({.wrongHeaderSum = true}), -4, 2},
      {"header byte beyond 80 changed", WithByte(good, kDiscHeaderOffset + 1000, 1), -4, 2},
      {"header not matching", notMagnolix, -3, 3},
      {"sectors before the header not examined", WithByte(good, 0, 0xFF), 0, 2},
      // The header matches but its sector is cut off: nothing to sum over.
      {"shorter than 51200", DiscImage({.length = kData - 1}), -2, 2},
      {"only the 80-byte header", DiscImage({.length = kDiscHeaderOffset + 80}), -2, 2},
      {"79 bytes of header", DiscImage({.length = kDiscHeaderOffset + 79}), -2, 9},
      {"79-byte file", Bytes(79, 0), -2, 9},
      {"empty", Bytes(), -2, 9},
  };
  for (const Case& c : cases) {
    TempDir dir;
    BinFile binFile;
    binFile.kind = 9;
    EXPECT_EQ(binFile.IdentifyDiscImage(dir.Write("d.BIN", c.file)), c.result) << c.name;
    EXPECT_EQ(binFile.kind, c.kind) << c.name;
    if (c.kind == 2) {
      EXPECT_EQ(binFile.modelName, "Magnolix") << c.name;
      EXPECT_EQ(binFile.imageSize, static_cast<std::int64_t>(c.file.size())) << c.name;
      EXPECT_EQ(binFile.imageMemory, c.file) << c.name;
    }
  }
}

}  // namespace
