#include "recorder/model_table.h"

#include <algorithm>

namespace {

// The literal sizes make the compiler check every field's width.
constexpr RecorderModel Row(const char (&vendor)[9], const char (&product)[17],
                            std::uint8_t type) {
  RecorderModel row;
  std::copy_n(vendor, 8, row.vendor.begin());
  std::copy_n(product, 16, row.product.begin());
  row.recorderType = type;
  return row;
}

constexpr std::array<RecorderModel, kModelTableRows> kModels = {
    Row("YAMAHA  ", "CDR100          ", 1),
    Row("YAMAHA  ", "CDR400t         ", 5),
    Row("YAMAHA  ", "CDR400c         ", 5),
    Row("YAMAHA  ", "CRW4416S        ", 5),
    Row("YAMAHA  ", "CRW4260         ", 5),
    Row("MATSHITA", "CD-R   CW-7502  ", 3),
    Row("PLEXTOR ", "CD-R   PX-R412C ", 2),
    Row("PLEXTOR ", "CD-R   PX-R820T ", 2),
    Row("MATSHITA", "UJDA310         ", 6),
    Row("MATSHITA", "CD-RW  CW-7585  ", 7),
    Row("GENERIC ", "CRD-BP1400P     ", 9),
    Row("YAMAHA  ", "CRW2100E        ", 8),
    Row("TEAC    ", "CD-W516EB       ", 7),
    Row("TEAC    ", "CD-W512EB       ", 7),
    Row("PLEXTOR ", "CD-R   PX-W1210A", 6),
    Row("PLEXTOR ", "CD-R   PX-W2410A", 2),
    Row("PLEXTOR ", "CD-R   PX-W1610A", 2),
    Row("GENERIC ", "CRD-BP1500P     ", 9),
    Row("TEAC    ", "CD-W524E        ", 7),
    Row("TEAC    ", "CD-W24E         ", 7),
    Row("TEAC    ", "CD-W28E         ", 7),
    Row("PLEXTOR ", "CD-R   PX-S88T  ", 6),
    Row("LITE-ON ", "LTR-52246S      ", 6),
    Row("TEAC    ", "CD-W552E        ", 7),
    Row("TEAC    ", "CD-W540E        ", 7),
    Row("        ", "                ", 0),
};

}  // namespace

const std::array<RecorderModel, kModelTableRows>& SupportedRecorderModels() {
  return kModels;
}

const RecorderModel* MatchModel(
    const std::array<RecorderModel, kModelTableRows>& table,
    const std::uint8_t* vendor, const std::uint8_t* product) {
  for (const RecorderModel& row : table) {
    if (row.recorderType == 0) break;
    if (std::equal(row.vendor.begin(), row.vendor.end(), vendor,
                   [](char a, std::uint8_t b) {
                     return static_cast<std::uint8_t>(a) == b;
                   }) &&
        std::equal(row.product.begin(), row.product.end(), product,
                   [](char a, std::uint8_t b) {
                     return static_cast<std::uint8_t>(a) == b;
                   })) {
      return &row;
    }
  }
  return nullptr;
}
