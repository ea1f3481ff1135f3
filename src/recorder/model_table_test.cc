#include "recorder/model_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "recorder/drive.h"
#include "scsi/scripted_backend.h"

namespace {

struct Model {
  const char* vendor;
  const char* product;
  std::uint8_t type;
};

// The supported recorders exactly as they identify themselves.
const Model kModels[] = {
    {"YAMAHA  ", "CDR100          ", 1}, {"YAMAHA  ", "CDR400t         ", 5},
    {"YAMAHA  ", "CDR400c         ", 5}, {"YAMAHA  ", "CRW4416S        ", 5},
    {"YAMAHA  ", "CRW4260         ", 5}, {"MATSHITA", "CD-R   CW-7502  ", 3},
    {"PLEXTOR ", "CD-R   PX-R412C ", 2}, {"PLEXTOR ", "CD-R   PX-R820T ", 2},
    {"MATSHITA", "UJDA310         ", 6}, {"MATSHITA", "CD-RW  CW-7585  ", 7},
    {"GENERIC ", "CRD-BP1400P     ", 9}, {"YAMAHA  ", "CRW2100E        ", 8},
    {"TEAC    ", "CD-W516EB       ", 7}, {"TEAC    ", "CD-W512EB       ", 7},
    {"PLEXTOR ", "CD-R   PX-W1210A", 6}, {"PLEXTOR ", "CD-R   PX-W2410A", 2},
    {"PLEXTOR ", "CD-R   PX-W1610A", 2}, {"GENERIC ", "CRD-BP1500P     ", 9},
    {"TEAC    ", "CD-W524E        ", 7}, {"TEAC    ", "CD-W24E         ", 7},
    {"TEAC    ", "CD-W28E         ", 7}, {"PLEXTOR ", "CD-R   PX-S88T  ", 6},
    {"LITE-ON ", "LTR-52246S      ", 6}, {"TEAC    ", "CD-W552E        ", 7},
    {"TEAC    ", "CD-W540E        ", 7},
};

TEST(ModelTable, RowsInOrderEndedByABlankRow) {
  const auto& table = SupportedRecorderModels();
  for (int i = 0; i < 25; ++i) {
    const RecorderModel& row = table[i];
    EXPECT_EQ(std::string(row.vendor.begin(), row.vendor.end()),
              kModels[i].vendor)
        << "row " << i;
    EXPECT_EQ(std::string(row.product.begin(), row.product.end()),
              kModels[i].product)
        << "row " << i;
    EXPECT_EQ(row.recorderType, kModels[i].type) << "row " << i;
  }
  EXPECT_EQ(std::string(table[25].vendor.begin(), table[25].vendor.end()),
            std::string(8, ' '));
  EXPECT_EQ(std::string(table[25].product.begin(), table[25].product.end()),
            std::string(16, ' '));
  EXPECT_EQ(table[25].recorderType, 0);
}

TEST(ModelTable, EveryModelOnTheBusGetsItsType) {
  for (const Model& model : kModels) {
    auto bus = std::make_shared<ScriptedBackend>(1);
    bus->SetDefault({.status = kStatusNoDevice});
    bus->On({.target = 6}, {.data = InquiryData(model.vendor, model.product)});
    Drive drive(ScriptedFactory(bus));
    drive.Initialize();
    FoundRecorder rows[8];
    ASSERT_EQ(drive.ScanBus(rows, 8), 1) << model.product;
    EXPECT_EQ(drive.foundTypes[0][6], model.type) << model.product;
    EXPECT_EQ(drive.SelectRecorder(0, 6), model.type) << model.product;
  }
}

}  // namespace
