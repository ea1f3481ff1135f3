#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "recorder/drive.h"
#include "scsi/scripted_backend.h"

namespace {

struct Bench {
  explicit Bench(std::uint8_t type) : bus(std::make_shared<ScriptedBackend>()) {
    drive = std::make_unique<Drive>(ScriptedFactory(bus));
    drive->Initialize();
    drive->recorderType = type;
  }
  std::shared_ptr<ScriptedBackend> bus;
  std::unique_ptr<Drive> drive;
  std::vector<std::uint8_t> data = std::vector<std::uint8_t>(8 * 2048);
};

TEST(DriveSectors, TypesOutsideOneToNineSendNothing) {
  for (std::uint8_t type : {0, 10, 255}) {
    Bench bench(type);
    Drive& drive = *bench.drive;
    drive.PrepareDisc();
    drive.WriteSectors(bench.data.data(), 8);
    drive.ReadSectors(bench.data.data(), 8);
    drive.CloseDisc();
    drive.ResetReadLba(42);
    EXPECT_TRUE(bench.bus->Commands().empty()) << int{type};
    EXPECT_EQ(drive.readLba, 42);
  }
}

TEST(DriveSectors, TrackedAddressCarriesThroughAllFourBytes) {
  Bench bench(9);
  bench.drive->nextWritable = {0x00, 0xFF, 0xFF, 0xFC};
  bench.drive->WriteSectors(bench.data.data(), 8);
  EXPECT_EQ(bench.bus->Commands()[0].cdb,
            (Bytes{0x2A, 0, 0x00, 0xFF, 0xFF, 0xFC, 0, 0, 8, 0}));
  EXPECT_EQ(bench.drive->nextWritable,
            (std::array<std::uint8_t, 4>{0x01, 0x00, 0x00, 0x04}));
}

TEST(DriveSectors, AFailedWriteKeepsTheTrackedAddress) {
  Bench bench(3);
  bench.drive->nextWritable = {0, 0, 0x01, 0x04};
  bench.bus->FailAt(0);
  EXPECT_THROW(bench.drive->WriteSectors(bench.data.data(), 8), FailureCode);
  EXPECT_EQ(bench.drive->nextWritable,
            (std::array<std::uint8_t, 4>{0, 0, 0x01, 0x04}));
}

TEST(DriveSectors, QueriedAddressIsTakenFromTheTrackInformation) {
  Bench bench(6);
  Bytes track(28, 0xEE);
  track[12] = 0x12;
  track[13] = 0x34;
  track[14] = 0x56;
  track[15] = 0x78;
  bench.bus->On({.opcode = 0x52}, {.data = track});
  bench.drive->WriteSectors(bench.data.data(), 2);
  ASSERT_EQ(bench.bus->Commands().size(), 2u);
  EXPECT_EQ(bench.bus->Commands()[1].cdb,
            (Bytes{0x2A, 0, 0x12, 0x34, 0x56, 0x78, 0, 0, 2, 0}));
  EXPECT_EQ(bench.drive->nextWritable, (std::array<std::uint8_t, 4>{}));
}

TEST(DriveSectors, ReadAddressFromReadLbaAndKeptOnFailure) {
  Bench bench(5);
  bench.drive->ResetReadLba(300);
  bench.drive->ReadSectors(bench.data.data(), 1);
  EXPECT_EQ(bench.bus->Commands()[0].cdb,
            (Bytes{0x28, 0, 0x00, 0x00, 0x01, 0x2C, 0, 0, 1, 0}));
  EXPECT_EQ(bench.drive->readLba, 301);
  bench.bus->FailAt(1, 0);
  try {
    bench.drive->ReadSectors(bench.data.data(), 8);
    ADD_FAILURE() << "nothing thrown";
  } catch (FailureCode code) {
    EXPECT_EQ(code, ErrRead);
  }
  EXPECT_EQ(bench.drive->readLba, 301);
}

TEST(DriveSectors, ReadFillsTheCallersBuffer) {
  Bench bench(1);
  bench.bus->On({.opcode = 0x28}, {.data = Bytes(2048, 0x5A)});
  bench.drive->ReadSectors(bench.data.data(), 1);
  EXPECT_EQ(bench.data[0], 0x5A);
  EXPECT_EQ(bench.data[2047], 0x5A);
  EXPECT_EQ(bench.data[2048], 0x00);
}

}  // namespace
