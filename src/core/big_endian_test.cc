#include "core/big_endian.h"

#include <gtest/gtest.h>

#include "core/failure_code.h"

TEST(BigEndian, RoundTripsAndByteOrder) {
  std::uint8_t b[4] = {};
  WriteBE32(b, 0x0102A3F4);
  EXPECT_EQ(b[0], 0x01);
  EXPECT_EQ(b[3], 0xF4);
  EXPECT_EQ(ReadBE32(b), 0x0102A3F4u);
  WriteBE16(b, 0xBEEF);
  EXPECT_EQ(ReadBE16(b), 0xBEEF);
  EXPECT_EQ(ReadLE16(b), 0xEFBE);
}

TEST(FailureCode, ThrownAsTheBareValue) {
  try {
    throw ErrModeSense;
  } catch (FailureCode code) {
    EXPECT_EQ(code, 8);
    EXPECT_EQ(FailureCodeName(code), "ErrModeSense");
  }
  EXPECT_EQ(FailureCodeName(ErrAspiLoad), "ErrAspiLoad");
  EXPECT_EQ(FailureCodeName(ErrMemory), "ErrMemory");
  EXPECT_EQ(FailureCodeName(static_cast<FailureCode>(16)), "unknown");
}
