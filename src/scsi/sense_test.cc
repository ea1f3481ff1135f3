#include "scsi/sense.h"

#include <gtest/gtest.h>

namespace {

TEST(DecodeSense, FixedAndDescriptorFormats) {
  // ILLEGAL REQUEST, INVALID FIELD IN CDB (24h/00h), fixed format.
  const std::uint8_t fixed[14] = {0x70, 0, 0x05, 0, 0, 0,    0,
                                  10,   0, 0,    0, 0, 0x24, 0x00};
  SenseCodes codes = DecodeSense(fixed, sizeof fixed);
  EXPECT_EQ(codes.key, 0x05);
  EXPECT_EQ(codes.asc, 0x24);
  EXPECT_EQ(codes.ascq, 0x00);

  // NOT READY, MEDIUM NOT PRESENT (3Ah/01h), descriptor format, deferred.
  const std::uint8_t descriptor[14] = {0x73, 0x02, 0x3A, 0x01};
  codes = DecodeSense(descriptor, sizeof descriptor);
  EXPECT_EQ(codes.key, 0x02);
  EXPECT_EQ(codes.asc, 0x3A);
  EXPECT_EQ(codes.ascq, 0x01);
}

TEST(DecodeSense, NothingFromOtherFormatsOrShortData) {
  const std::uint8_t none[14] = {};
  EXPECT_EQ(DecodeSense(none, sizeof none).key, 0);
  const std::uint8_t shortFixed[14] = {0xF0, 0, 0x03};
  EXPECT_EQ(DecodeSense(shortFixed, 3).key, 0);
}

}  // namespace
