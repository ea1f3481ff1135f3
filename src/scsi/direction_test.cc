#include "scsi/direction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

namespace {

struct Case {
  const char* name;
  std::initializer_list<std::uint8_t> cdb;
  std::uint32_t bufferLength;
  DataDirection direction;
  std::uint32_t transfer;
};

const Case kCases[] = {
    {"TestUnitReadyGivenABufferMovesNothing",
     {0x00, 0, 0, 0, 0, 0},
     256,
     DataDirection::kNone,
     0},
    {"InquiryClippedToItsAllocationLength",
     {0x12, 0, 0, 0, 0x2C, 0},
     128,
     DataDirection::kIn,
     44},
    {"InquiryNeverBeyondTheBuffer",
     {0x12, 0, 0, 0, 0xFF, 0},
     128,
     DataDirection::kIn,
     128},
    {"InquiryWithoutBufferMovesNothing",
     {0x12, 0, 0, 0, 0x2C, 0},
     0,
     DataDirection::kNone,
     0},
    {"ModeSelect6ClippedToTheListLength",
     {0x15, 0x10, 0, 0, 0x10, 0},
     256,
     DataDirection::kOut,
     16},
    {"ModeSense6", {0x1A, 0, 0x05, 0, 64, 0}, 96, DataDirection::kIn, 64},
    {"ModeSense10",
     {0x5A, 0, 0x05, 0, 0, 0, 0, 0, 60, 0},
     96,
     DataDirection::kIn,
     60},
    {"ModeSelect10",
     {0x55, 0x10, 0, 0, 0, 0, 0, 0, 64, 0},
     96,
     DataDirection::kOut,
     64},
    {"ReadTrackInformation",
     {0x52, 0, 0, 0, 0, 1, 0, 0, 0x1C, 0},
     32,
     DataDirection::kIn,
     28},
    {"ReadDiscInformation12",
     {0x51, 0, 0, 0, 0, 0, 0, 0, 0x60, 0, 0, 0},
     96,
     DataDirection::kIn,
     96},
    {"Write10HasNoByteCount",
     {0x2A, 0, 0, 0, 0, 0, 0, 0, 8, 0},
     16384,
     DataDirection::kOut,
     16384},
    {"Write6", {0x0A, 0, 0, 0, 3, 0}, 6144, DataDirection::kOut, 6144},
    {"Read10",
     {0x28, 0, 0, 0, 1, 0x2C, 0, 0, 8, 0},
     16384,
     DataDirection::kIn,
     16384},
    {"VendorE6MovesNothing",
     {0xE6, 0, 0, 0, 0, 0, 1, 0, 0, 0},
     256,
     DataDirection::kNone,
     0},
    {"SetCdSpeed",
     {0xBB, 0, 1, 0x61, 1, 0x61, 0, 0, 0, 0, 0, 0},
     0,
     DataDirection::kNone,
     0},
    {"SendOpcWithoutListMovesNothing",
     {0x54, 1, 0, 0, 0, 0, 0, 0, 0, 0},
     96,
     DataDirection::kOut,
     0},
    {"UnknownOpcodeReads", {0xC0, 0, 0, 0, 0, 0}, 10, DataDirection::kIn, 10},
    {"LengthFieldBeyondTheCdbIsNotRead",
     {0x5A, 0, 0x05, 0, 0, 0},
     96,
     DataDirection::kIn,
     96},
};

class DirectionTest : public testing::TestWithParam<Case> {};

TEST_P(DirectionTest, DirectionAndTransferLength) {
  const Case& c = GetParam();
  ScsiCommand command;
  std::copy(c.cdb.begin(), c.cdb.end(), command.cdb);
  command.cdbLength = static_cast<std::uint8_t>(c.cdb.size());
  std::uint8_t buffer[16384];
  command.buffer = buffer;
  command.bufferLength = c.bufferLength;
  EXPECT_EQ(DirectionOf(command), c.direction);
  EXPECT_EQ(TransferLength(command), c.transfer);
}

INSTANTIATE_TEST_SUITE_P(Opcodes, DirectionTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
