// IdentifyRecorderFirmware and its block search.
#include <gtest/gtest.h>

#include "image/bin_file.h"
#include "image/image_fixtures.h"

namespace {

struct Texts {
  std::string vendor, product, version;
};

TEST(IdentifyRecorderFirmware, ResultsAndTexts) {
  Bytes cutShort = RecorderFirmwareFile({.blockOffset = 100, .length = 200});
  cutShort.resize(100 + 43);  // the block's last fixed byte is missing
  Bytes badSlash = RecorderFirmwareFile();
  badSlash[1000 + 36] = '-';
  Bytes noBlock(5000, 0);
  FillPattern(noBlock.data(), noBlock.size(), 1);
  struct Case {
    const char* name;
    Bytes file;
    std::int16_t result;
    Texts texts;  // expected after 0; otherwise the earlier ones stay
  };
  const Texts earlier = {"v", "p", "r"};
  const Case cases[] = {
      {"block", RecorderFirmwareFile(), 0, {"PLEXTOR ", "PX-760A", "1.07"}},
      {"after a decoy", RecorderFirmwareFile({.product = "PX-716A", .version = "1.11", .decoy = true}),
       0, {"PLEXTOR ", "PX-716A", "1.11"}},
      {"longest texts", RecorderFirmwareFile({.product = "ABCDEFGHIJKLMNOP", .version = "9.99"}),
       0, {"PLEXTOR ", "ABCDEFGHIJKLMNOP", "9.99"}},
      {"empty product", RecorderFirmwareFile({.product = ""}), 0, {"PLEXTOR ", "", "1.07"}},
      {"block at the very start", RecorderFirmwareFile({.blockOffset = 0, .length = 44}), 0,
       {"PLEXTOR ", "PX-760A", "1.07"}},
      {"block ending at the end", RecorderFirmwareFile({.blockOffset = 156, .length = 200}), 0,
       {"PLEXTOR ", "PX-760A", "1.07"}},
      {"block reaching past the end", cutShort, -3, earlier},
      {"shape test fails", badSlash, -3, earlier},
      {"no block", noBlock, -3, earlier},
      {"79 bytes", Bytes(79, 'P'), -3, earlier},
      {"one byte", Bytes(1, 'P'), -3, earlier},
      {"empty", Bytes(), -2, earlier},
  };
  for (const Case& c : cases) {
    TempDir dir;
    BinFile binFile;
    binFile.kind = 7;
    binFile.recorderVendor = "v";
    binFile.recorderProduct = "p";
    binFile.recorderVersion = "r";
    EXPECT_EQ(binFile.IdentifyRecorderFirmware(dir.Write("r.BIN", c.file)), c.result) << c.name;
    EXPECT_EQ(binFile.kind, 7) << c.name << ": kind is not touched";
    EXPECT_EQ(binFile.recorderVendor, c.texts.vendor) << c.name;
    EXPECT_EQ(binFile.recorderProduct, c.texts.product) << c.name;
    EXPECT_EQ(binFile.recorderVersion, c.texts.version) << c.name;
    EXPECT_EQ(binFile.imageSize, static_cast<std::int64_t>(c.file.size())) << c.name;
    if (!c.file.empty()) {
      EXPECT_EQ(binFile.imageMemory, c.file) << c.name;
    }
  }
}

}  // namespace
