#include "scsi/scripted_backend.h"

#include <gtest/gtest.h>

namespace {

ScsiCommand Command(std::uint8_t opcode, std::uint8_t* buffer,
                    std::uint32_t length) {
  ScsiCommand command;
  command.cdb[0] = opcode;
  command.cdbLength = 10;
  command.buffer = buffer;
  command.bufferLength = length;
  command.timeoutMs = 30000;
  return command;
}

TEST(ScriptedBackend, RecordsEveryCommand) {
  ScriptedBackend bus;
  std::uint8_t data[4] = {1, 2, 3, 4};
  ScsiCommand write = Command(0x2A, data, 4);
  write.cdb[8] = 1;
  write.cdb[12] = 0x99;  // beyond cdbLength: not recorded
  bus.Run(0, 6, write);
  ASSERT_EQ(bus.Commands().size(), 1u);
  const RecordedCommand& c = bus.Commands()[0];
  EXPECT_EQ(c.target, 6);
  EXPECT_EQ(c.cdb, (Bytes{0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(c.cdbLength, 10);
  EXPECT_EQ(c.bufferLength, 4u);
  EXPECT_EQ(c.timeoutMs, 30000u);
  EXPECT_EQ(c.buffer, (Bytes{1, 2, 3, 4}));
}

TEST(ScriptedBackend, NewestMatchingRuleWithUsesLeftAnswers) {
  ScriptedBackend bus(2);
  bus.On({.adapter = 1, .opcode = 0x12}, {.data = {7, 8, 9}})
      .On({.opcode = 0x12}, {.status = 4}, 1)
      .FailAt(3, 0x82)
      .SetDefault({.status = 2});
  std::uint8_t buffer[2] = {};
  ScsiCommand inquiry = Command(0x12, buffer, 2);
  EXPECT_EQ(bus.Run(1, 0, inquiry).status, 4);  // the one-shot rule
  EXPECT_EQ(bus.Run(1, 0, inquiry).status, 1);  // then the adapter rule
  EXPECT_EQ(buffer[0], 7);
  EXPECT_EQ(buffer[1], 8);                      // never more than bufferLength
  EXPECT_EQ(bus.Run(0, 0, inquiry).status, 2);  // default
  EXPECT_EQ(bus.Run(1, 0, inquiry).status, 0x82);  // FailAt overrides
  EXPECT_EQ(bus.Run(1, 0, inquiry).status, 1);
}

TEST(ScriptedBackend, FailAtCountsEveryCommand) {
  ScriptedBackend bus;
  bus.FailAt(2, 0);
  ScsiCommand ready = Command(0x00, nullptr, 0);
  EXPECT_EQ(bus.Run(0, 0, ready).status, 1);
  EXPECT_EQ(bus.Run(0, 0, ready).status, 1);
  bus.ClearCommands();
  EXPECT_EQ(bus.Run(0, 0, ready).status, 0);
  EXPECT_EQ(bus.Commands().size(), 1u);
}

TEST(ScriptedBackend, SenseIsWrittenEveryTime) {
  ScriptedBackend bus;
  bus.On({.index = 0}, {.status = 4, .sense = {0x70, 0, 2}}, 1);
  ScsiCommand ready = Command(0x00, nullptr, 0);
  bus.Run(0, 0, ready);
  EXPECT_EQ(ready.sense[2], 2);
  bus.Run(0, 0, ready);
  EXPECT_EQ(ready.sense[2], 0);
}

TEST(InquiryData, FieldsPaddedWithBlanksAndZerosKept) {
  const Bytes data = InquiryData("TEAC", std::string_view("CD\0W", 4));
  ASSERT_EQ(data.size(), 36u);
  EXPECT_EQ(std::string(data.begin() + 8, data.begin() + 16), "TEAC    ");
  EXPECT_EQ(std::string(data.begin() + 16, data.begin() + 32),
            std::string("CD\0W            ", 16));
  const Bytes cut = InquiryData("VENDORLONG", "PRODUCT-FAR-TOO-LONG");
  EXPECT_EQ(std::string(cut.begin() + 8, cut.begin() + 32),
            "VENDORLOPRODUCT-FAR-TOO-");
}

}  // namespace
