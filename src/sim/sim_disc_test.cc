#include "sim/sim_disc.h"

#include <gtest/gtest.h>

namespace {

TEST(SimDisc, TakesNothingBeyondItsCapacity) {
  SimDisc disc;
  EXPECT_EQ(disc.CheckWrite(0, SimDisc::kCapacity), std::nullopt);
  EXPECT_EQ(disc.CheckWrite(0, SimDisc::kCapacity + 1), kSenseLbaOutOfRange);
  EXPECT_EQ(disc.CheckWrite(0, 0xFFFFFFFF), kSenseLbaOutOfRange);
}

TEST(SimDisc, MovesThroughItsStates) {
  SimDisc disc;
  EXPECT_EQ(disc.CloseSession(true), kSenseSequenceError);
  const std::vector<std::uint8_t> data(3 * SectorSize, 7);
  disc.Append(data);
  EXPECT_EQ(disc.State(), SimDiscState::kWriting);
  EXPECT_EQ(disc.CheckWrite(3, 1), std::nullopt);
  EXPECT_EQ(disc.CheckWrite(2, 1), kSenseInvalidWriteAddress);
  EXPECT_EQ(disc.CloseSession(true), kSenseIncompleteTrack);
  EXPECT_EQ(disc.CloseTrack(1), std::nullopt);
  EXPECT_EQ(disc.State(), SimDiscState::kTrackClosed);
  EXPECT_EQ(disc.CheckWrite(3, 1), kSenseInvalidWriteAddress);
  EXPECT_EQ(disc.CloseSession(false), std::nullopt);
  EXPECT_EQ(disc.State(), SimDiscState::kClosed);
  EXPECT_FALSE(disc.Finalized());
  // Left open for a next session, which this disc does not emulate.
  EXPECT_EQ(disc.DiscInformation()[2], 0x01);
  EXPECT_EQ(disc.DiscInformation()[4], 2);
  EXPECT_EQ(disc.CheckWrite(3, 1), kSenseLbaOutOfRange);
}

}  // namespace
