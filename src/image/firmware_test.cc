// IdentifyFirmware: raw and headed firmware images.
#include <cctype>
#include <cstring>

#include <gtest/gtest.h>

#include "core/failure_code.h"
#include "image/bin_file.h"
#include "image/image_fixtures.h"

namespace {

// The supported headed models, written out again here so that a slip in the
// model table shows.
struct HeadedRow {
  const char* maker;
  const char* model;
  const char* displayName;
  WordOrder wordOrder;
};

constexpr WordOrder kBE = WordOrder::kBigEndian;
constexpr WordOrder kLE = WordOrder::kLittleEndian;

const HeadedRow kHeadedRows[] = {
    {"VELDAN MACHINE", "TPX-5810", "TPX-5810", kBE},
    {"VELDAN MACHINE", "TPX-5110", "TPX-5110", kLE},
    {"VELDAN MACHINE", "TPX-5610", "TPX-5610", kBE},
    {"VELDAN MACHINE", "GoBurner", "GoBurner", kLE},
    {"VELDAN MACHINE", "TPX-5210", "TPX-5210", kBE},
    {"VELDAN MACHINE", "Fennimor", "Fennimor", kLE},
    {"VELDAN MACHINE", "TPX-5310", "TPX-5310", kBE},
    {"VELDAN MACHINE", "RWQ-32", "RWQ-32", kBE},
    {"VELDAN MACHINE", "TPX-590", "QP7000", kLE},
    {"VELDAN MACHINE", "TPX-5410", "TPX-5410", kBE},
    {"VELDAN MACHINE", "TPX-5280", "TPX-5280", kBE},
    {"VELDAN MACHINE", "AnyDup Tower", "AnyDup Tower", kLE},
    {"VELDAN MACHINE", "TPX-5230", "TPX-5230", kBE},
    {"VELDAN MACHINE", "TPX-5430", "TPX-5430", kBE},
    {"PELLIGRAFIX     ", "Pebblework      ", "Pebblework", kLE},
    {"PELLIGRAFIX     ", "Cobalt 2", "Cobalt 2", kLE},
    {"RONDEL", "RX-Q4", "RX-Q4", kBE},
};

FirmwareModel Model(const HeadedRow& row, WordOrder order) {
  return {row.maker, row.model, 1, row.displayName, order};
}

void PrintTo(const HeadedRow& row, std::ostream* os) { *os << row.maker << "/" << row.model; }

WordOrder Other(WordOrder order) { return order == kBE ? kLE : kBE; }

class HeadedModel : public ::testing::TestWithParam<HeadedRow> {
 protected:
  std::int16_t Identify(const Bytes& bytes) { return binFile.IdentifyFirmware(dir.Write("h.BIN", bytes)); }
  TempDir dir;
  BinFile binFile;
};

TEST_P(HeadedModel, AcceptedWithItsNameWhenTheSumIsZeroInItsWordOrder) {
  const HeadedRow& row = GetParam();
  Bytes image = HeadedFirmwareImage(Model(row, row.wordOrder), 5, "1.20");
  ASSERT_NE(WordSum16(image, Other(row.wordOrder)), 0) << "the fixture must tell the orders apart";
  EXPECT_EQ(Identify(image), 0);
  EXPECT_EQ(binFile.kind, 1);
  EXPECT_EQ(binFile.modelName, row.displayName);
  EXPECT_EQ(binFile.imageSize, 5 * 2048);
  EXPECT_EQ(binFile.imageMemory, image);
  std::string version;
  EXPECT_TRUE(binFile.ReadVersion(dir.path() + "h.BIN", version));
  EXPECT_EQ(version, "1.20");
}

TEST_P(HeadedModel, SumZeroOnlyInTheOtherWordOrderIsWrong) {
  const HeadedRow& row = GetParam();
  Bytes image = HeadedFirmwareImage(Model(row, Other(row.wordOrder)), 5);
  ASSERT_NE(WordSum16(image, row.wordOrder), 0);
  EXPECT_EQ(Identify(image), -4);
  EXPECT_EQ(binFile.kind, 1);
  EXPECT_EQ(binFile.modelName, row.displayName);
}

TEST_P(HeadedModel, WrongSumOrSizeRejected) {
  const HeadedRow& row = GetParam();
  EXPECT_EQ(Identify(HeadedFirmwareImage(Model(row, row.wordOrder), 2, "1.0", true)), -4);
  Bytes image = HeadedFirmwareImage(Model(row, row.wordOrder), 2);
  image.resize(4095);  // not a whole number of sectors: no sum is taken
  EXPECT_EQ(Identify(image), -2);
  EXPECT_EQ(binFile.modelName, row.displayName);
}

std::string RowName(const ::testing::TestParamInfo<HeadedRow>& info) {
  std::string name = info.param.displayName;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(EveryRow, HeadedModel, ::testing::ValuesIn(kHeadedRows), RowName);

TEST(FirmwareModels, TableHoldsTheRawRowAndExactlyTheHeadedRows) {
  auto models = FirmwareModels();
  ASSERT_EQ(models.size(), std::size(kHeadedRows) + 1);
  EXPECT_EQ(models[0].maker, "ZN7300 ");
  EXPECT_EQ(models[0].kind, 0);
  for (std::size_t i = 0; i < std::size(kHeadedRows); ++i) {
    const FirmwareModel& m = models[i + 1];
    EXPECT_EQ(m.maker, kHeadedRows[i].maker);
    EXPECT_EQ(m.model, kHeadedRows[i].model);
    EXPECT_EQ(m.displayName, kHeadedRows[i].displayName);
    EXPECT_EQ(m.wordOrder, kHeadedRows[i].wordOrder);
    EXPECT_LE(kModelOffset + m.model.size(), kHeaderLength);
  }
}

// A header of 80 bytes: `maker` at byte 0, `model` at byte 32, rest zero.
Bytes Header(const char* maker, const char* model, std::size_t size) {
  Bytes bytes(size, 0);
  std::memcpy(bytes.data(), maker, std::strlen(maker));
  std::memcpy(bytes.data() + 32, model, std::strlen(model));
  return bytes;
}

TEST(IdentifyFirmware, ResultsAndWhatTheyLeave) {
  const Bytes raw = RawFirmwareImage();
  Bytes rawNoise = raw;
  std::memset(rawNoise.data() + 80, 0xA5, 1000);
  // The model field goes on after "TPX-590"; the sum is little-endian.
  Bytes longModel = HeadedFirmwareImage({"VELDAN MACHINE", "TPX-590Z", 1, "", kLE}, 1);
  Bytes longModelBE = HeadedFirmwareImage({"VELDAN MACHINE", "TPX-590Z", 1, "", kBE}, 1);
  struct Case {
    const char* name;
    Bytes file;
    std::int16_t result;
    std::uint8_t kind;  // 9: left as it was
    const char* modelName;  // "": left as it was
  };
  const Case cases[] = {
      {"raw", raw, 0, 0, "ZN7300"},
      {"raw with any content", rawNoise, 0, 0, "ZN7300"},
      {"raw one byte short", RawFirmwareImage("1.05", 131071), -2, 0, "ZN7300"},
      {"raw one byte long", RawFirmwareImage("1.05", 131073), -2, 0, "ZN7300"},
      {"ZN7300 without blank", Header("ZN7300_", "", 131072), -3, 3, ""},
      {"TPX-590 with longer model field", longModel, 0, 1, "QP7000"},
      {"TPX-590 summed big-endian", longModelBE, -4, 1, "QP7000"},
      {"unknown model of a known maker", Header("VELDAN MACHINE", "TPX-9999", 2048), -3, 3, ""},
      {"maker only in lower case", Header("rondel", "RX-Q4", 2048), -3, 3, ""},
      {"79 bytes", Bytes(raw.begin(), raw.begin() + 79), -2, 9, ""},
      {"empty", Bytes(), -2, 9, ""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    BinFile binFile;
    binFile.kind = 9;
    binFile.modelName = "earlier";
    EXPECT_EQ(binFile.IdentifyFirmware(dir.Write("f.BIN", c.file)), c.result) << c.name;
    EXPECT_EQ(binFile.kind, c.kind) << c.name;
    EXPECT_EQ(binFile.modelName, *c.modelName ? c.modelName : "earlier") << c.name;
  }
}

// Nothing is reset between identifications: a failure leaves what it reached.
TEST(IdentifyFirmware, NothingResetBetweenFiles) {
  TempDir dir;
  BinFile binFile;
  Bytes raw = RawFirmwareImage();
  ASSERT_EQ(binFile.IdentifyFirmware(dir.Write("raw.BIN", raw)), 0);
  EXPECT_EQ(binFile.IdentifyFirmware(dir.Write("short.BIN", Bytes(79, 'Z'))), -2);
  EXPECT_EQ(binFile.kind, 0);
  EXPECT_EQ(binFile.modelName, "ZN7300");
  EXPECT_EQ(binFile.imageSize, 131072);
  EXPECT_EQ(binFile.imageMemory, raw);
  EXPECT_EQ(binFile.IdentifyFirmware(dir.Write("unknown.BIN", Bytes(100, 'Q'))), -3);
  EXPECT_EQ(binFile.kind, 3);
  EXPECT_EQ(binFile.modelName, "ZN7300");
  EXPECT_EQ(binFile.imageMemory, raw);
}

}  // namespace
