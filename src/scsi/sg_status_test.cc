#include "scsi/sg_status.h"

#include <gtest/gtest.h>

#include "scsi/scsi_command.h"

namespace {

struct Case {
  const char* name;
  bool ioctlSucceeded;
  std::uint8_t scsiStatus;
  std::uint16_t host;
  std::uint16_t driver;
  std::uint8_t expected;
};

const Case kCases[] = {
    {"AllSayGood", true, 0x00, 0x00, 0x00, kStatusCompleted},
    {"SenseValidBitAloneIsNoFailure", true, 0x00, 0x00, 0x08, kStatusCompleted},
    {"CheckCondition", true, 0x02, 0x00, 0x08, kStatusError},
    {"Busy", true, 0x08, 0x00, 0x00, kStatusError},
    {"HostTimedOut", true, 0x00, 0x03, 0x00, kStatusTimedOut},
    {"DriverTimedOut", true, 0x00, 0x00, 0x06, kStatusTimedOut},
    {"NoConnection", true, 0x00, 0x01, 0x00, kStatusError},
    {"DriverError", true, 0x00, 0x00, 0x04, kStatusError},
    {"IoctlFailed", false, 0x00, 0x00, 0x00, kStatusError},
};

class SgStatusTest : public testing::TestWithParam<Case> {};

TEST_P(SgStatusTest, MapsTheOutcome) {
  const Case& c = GetParam();
  EXPECT_EQ(StatusFromSg(c.ioctlSucceeded, c.scsiStatus, c.host, c.driver),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, SgStatusTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
