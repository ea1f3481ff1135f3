#include "scsi/sg_sysfs.h"

#include <gtest/gtest.h>

#include "scsi/fake_sysfs.h"

namespace {

TEST(ParseScsiAddress, AcceptsOnlyFourNumbers) {
  EXPECT_EQ(ParseScsiAddress("2:0:4:0"), (ScsiAddress{2, 0, 4, 0}));
  EXPECT_EQ(ParseScsiAddress("10:1:15:3"), (ScsiAddress{10, 1, 15, 3}));
  for (const char* bad : {"", "2:0:4", "2:0:4:0:1", "a:0:0:0", "2:0:4:0x",
                          "2::4:0", "host2", "-1:0:0:0"}) {
    EXPECT_FALSE(ParseScsiAddress(bad)) << bad;
  }
}

TEST(ReadSysfs, ReadsTheGenericNodesInSgOrder) {
  FakeSysfs tree;
  tree.MountSysfs();
  tree.LoadSgDriver();
  tree.AddSg("sg10", "3:0:1:0", 5, true, "TEAC", "CD-W540E", "sr1");
  tree.AddSg("sg2", "0:0:0:0", 0, true, "ATA", "SSD");
  const SysfsScan scan = ReadSysfs(tree.sys());
  EXPECT_TRUE(scan.sysfsPresent);
  EXPECT_TRUE(scan.sgDriverPresent);
  ASSERT_EQ(scan.nodes.size(), 2u);
  EXPECT_EQ(scan.nodes[0].name, "sg2");
  EXPECT_EQ(scan.nodes[0].type, 0);
  EXPECT_EQ(scan.nodes[0].blockName, "");
  const SgNode& cd = scan.nodes[1];
  EXPECT_EQ(cd.name, "sg10");
  EXPECT_EQ(cd.address, (ScsiAddress{3, 0, 1, 0}));
  EXPECT_EQ(cd.type, 5);
  EXPECT_EQ(cd.vendor, "TEAC");
  EXPECT_EQ(cd.model, "CD-W540E");
  EXPECT_EQ(cd.blockName, "sr1");
  EXPECT_EQ(scan.opticalDevices, std::vector<std::string>{"3:0:1:0"});
}

TEST(ReadSysfs, TellsMissingSysfsFromMissingDriver) {
  FakeSysfs tree;
  SysfsScan scan = ReadSysfs(tree.sys());
  EXPECT_FALSE(scan.sysfsPresent);
  EXPECT_FALSE(scan.sgDriverPresent);

  tree.MountSysfs();
  tree.AddDevice("1:0:0:0", 5);
  scan = ReadSysfs(tree.sys());
  EXPECT_TRUE(scan.sysfsPresent);
  EXPECT_FALSE(scan.sgDriverPresent);
  EXPECT_TRUE(scan.nodes.empty());
  EXPECT_EQ(scan.opticalDevices, std::vector<std::string>{"1:0:0:0"});
}

TEST(NumberAdapters, DistinctHostChannelPairsInAscendingOrder) {
  const AdapterPlan plan = NumberAdapters({
      {5, 0, 3, 0},  // adapter 2
      {1, 0, 0, 0},  // adapter 0
      {5, 0, 4, 0},  // adapter 2
      {1, 1, 2, 0},  // adapter 1: another channel of host 1
      {2, 0, 8, 0},  // id beyond 7: not addressed, no adapter of its own
      {1, 0, 5, 1},  // LUN 1: not addressed
  });
  using Pairs = std::vector<std::pair<int, int>>;
  EXPECT_EQ(plan.adapters, (Pairs{{1, 0}, {1, 1}, {5, 0}}));
  using Place = std::optional<std::pair<std::uint8_t, std::uint8_t>>;
  const std::vector<Place> expected = {
      std::pair<std::uint8_t, std::uint8_t>{2, 3},
      std::pair<std::uint8_t, std::uint8_t>{0, 0},
      std::pair<std::uint8_t, std::uint8_t>{2, 4},
      std::pair<std::uint8_t, std::uint8_t>{1, 2},
      std::nullopt,
      std::nullopt};
  EXPECT_EQ(plan.places, expected);
}

TEST(NumberAdapters, AtMostEightAdapters) {
  std::vector<ScsiAddress> addresses;
  for (int host = 10; host > 0; --host) addresses.push_back({host, 0, 1, 0});
  const AdapterPlan plan = NumberAdapters(addresses);
  ASSERT_EQ(plan.adapters.size(), 8u);
  EXPECT_EQ(plan.adapters.front(), std::make_pair(1, 0));
  EXPECT_EQ(plan.adapters.back(), std::make_pair(8, 0));
  EXPECT_FALSE(plan.places[0]);  // host 10
  EXPECT_FALSE(plan.places[1]);  // host 9
  EXPECT_EQ(plan.places[2], std::make_pair(std::uint8_t{7}, std::uint8_t{1}));
}

}  // namespace
