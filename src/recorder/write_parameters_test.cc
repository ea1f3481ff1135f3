#include "recorder/write_parameters.h"

#include <gtest/gtest.h>

#include <memory>

#include "recorder/drive.h"
#include "scsi/scripted_backend.h"

namespace {

// MODE SENSE answered with every bit set: what MODE SELECT sends back.
struct AllBitsCase {
  std::uint8_t type;
  std::uint8_t modeSelect;
  Bytes expectedStart;  // the rest stays 0xFF
};

const AllBitsCase kAllBits[] = {
    {2,
     0x15,
     {0x00, 0x00, 0xFF, 0xFF,                          // header
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x08, 0x00,  // block descriptor
      0x7F, 0xFF, 0xE1, 0x34, 0xF8, 0xFF, 0xFF, 0xFF, 0x00}},
    {6,
     0x55,
     {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // header
      0x7F, 0xFF, 0xE1, 0x34, 0xF8, 0xFF, 0xFF, 0xFF, 0x00}},
};

TEST(WriteParameters, PageWithEveryBitSetThroughTheDrive) {
  for (const AllBitsCase& c : kAllBits) {
    auto bus = std::make_shared<ScriptedBackend>();
    bus->On({.opcode = c.type == 2 ? std::uint8_t{0x1A} : std::uint8_t{0x5A}},
            {.data = Bytes(96, 0xFF)});
    Drive drive(ScriptedFactory(bus));
    drive.Initialize();
    drive.recorderType = c.type;
    drive.PrepareDisc();
    const RecordedCommand& select = bus->Commands().at(1);
    ASSERT_EQ(select.cdb[0], c.modeSelect);
    Bytes expected = c.expectedStart;
    expected.resize(96, 0xFF);
    EXPECT_EQ(select.buffer, expected) << "type " << int{c.type};
  }
}

TEST(WriteParameters, ChosenFieldsChangeAndTheFlagsAroundThemStay) {
  std::uint8_t data[96] = {};
  data[1] = 0x05;                                    // medium type
  data[3] = 0x08;                                    // block descriptor length
  data[4] = 0x12;                                    // density code
  data[5] = 0x00, data[6] = 0x01, data[7] = 0x00;    // number of blocks
  data[9] = 0x00, data[10] = 0x02, data[11] = 0x00;  // block length 512
  std::uint8_t* page = data + 12;
  page[0] = 0x85;  // PS, page 05h
  page[1] = 0x32;
  page[2] = 0x40 | 0x10 | 0x02;         // BUFE, Test Write, Write Type 2
  page[3] = 0xC0 | 0x20 | 0x10 | 0x07;  // multi-session 11b, FP, Copy, mode 7
  page[4] = 0x0A;                       // data block type 10
  page[8] = 0x20;                       // session format
  EditWriteParameters(data, ModeLayout::kSixByte);
  EXPECT_EQ(data[1], 0x00);
  EXPECT_EQ(data[3], 0x08);
  EXPECT_EQ(data[4], 0x12);
  EXPECT_EQ(data[6], 0x01);
  EXPECT_EQ(data[10], 0x08);
  EXPECT_EQ(page[0], 0x05);
  EXPECT_EQ(page[1], 0x32);
  EXPECT_EQ(page[2], 0x41);  // BUFE kept, Test Write 0, Write Type 1
  EXPECT_EQ(page[3], 0x34);  // FP and Copy kept, no next session, mode 4
  EXPECT_EQ(page[4], 0x08);
  EXPECT_EQ(page[8], 0x00);
}

TEST(WriteParameters, TenByteLayoutKeepsTheMediumType) {
  std::uint8_t data[96] = {};
  data[0] = 0x00, data[1] = 0x3A;
  data[2] = 0x05;
  data[8] = 0xC5;
  EditWriteParameters(data, ModeLayout::kTenByte);
  EXPECT_EQ(data[1], 0x00);
  EXPECT_EQ(data[2], 0x05);
  EXPECT_EQ(data[8], 0x45);  // PS cleared, bit 6 as returned
}

}  // namespace
