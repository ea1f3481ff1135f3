// Whole recordings driven by the raw command sequences of each recorder
// family, on every model the simulator knows.
#include <gtest/gtest.h>

#include <string>

#include "core/big_endian.h"
#include "sim/sim_bus.h"
#include "sim/sim_test_support.h"

namespace {

struct ModelCase {
  const char* vendor;
  const char* product;
  int recorderType;
};

// Every supported model with the type whose command sequence it gets, plus
// an unknown identity driven by the generic sequences.
const ModelCase kModels[] = {
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
    {"TEAC    ", "CD-W540E        ", 7}, {"ACME    ", "CD WRITER 4X    ", 4},
    {"ACME    ", "CD WRITER 4X    ", 9},
};

TEST(SimRecording, EveryModelRecordsAndReadsBackItsWholeSequence) {
  for (const ModelCase& m : kModels) {
    SCOPED_TRACE(std::string(m.vendor) + m.product + " type " +
                 std::to_string(m.recorderType));
    SimBus bus({{0, 4, m.vendor, m.product}});
    BusProbe probe(bus, 0, 4);
    FamilyDriver driver(probe, m.recorderType);
    driver.Prepare();
    // A lead-in of single sectors, then runs of 8 and a shorter last run.
    const std::vector<std::uint8_t> data = PatternSectors(19, 5);
    for (int i = 0; i < 3; ++i) driver.Write(&data[i * SectorSize], 1);
    driver.Write(&data[3 * SectorSize], 8);
    driver.Write(&data[11 * SectorSize], 8);
    driver.Close();

    const SimDisc* disc = bus.Recorder(0, 4)->Disc();
    ASSERT_NE(disc, nullptr);
    EXPECT_EQ(disc->Sectors().size(), 19u + 296u);
    EXPECT_EQ(disc->State(), SimDiscState::kClosed);
    EXPECT_TRUE(disc->Finalized());
    EXPECT_EQ(driver.Read(0, 8), std::vector(data.begin(), data.begin() + 8 * SectorSize));
    EXPECT_EQ(driver.Read(8, 8),
              std::vector(data.begin() + 8 * SectorSize, data.begin() + 16 * SectorSize));
    EXPECT_EQ(driver.Read(16, 3), std::vector(data.begin() + 16 * SectorSize, data.end()));
    EXPECT_EQ(driver.Read(314, 1), std::vector<std::uint8_t>(SectorSize, 0));
  }
}

TEST(SimRecording, TrackAndDiscInformationFollowTheDisc) {
  SimBus bus({{0, 0, "TEAC    ", "CD-W540E        "}});
  BusProbe probe(bus, 0, 0);
  FamilyDriver driver(probe, 7);
  std::vector<std::uint8_t> info(96, 0xEE);
  auto readTrack = [&] {
    std::fill(info.begin(), info.end(), 0xEE);
    probe.Expect({0x52, 0x01, 0, 0, 0, 0xFF, 0, 0, 0x60, 0}, info);
  };
  auto discStatus = [&] {
    std::fill(info.begin(), info.end(), 0xEE);
    probe.Expect({0x51, 0, 0, 0, 0, 0, 0, 0, 0x60, 0}, info);
    return info[2];
  };

  EXPECT_EQ(discStatus(), 0x00);  // blank disc, empty session
  readTrack();
  EXPECT_EQ(info[7] & 0x01, 0x01);  // next writable address valid
  EXPECT_EQ(ReadBE32(&info[8]), 0u);
  EXPECT_EQ(ReadBE32(&info[12]), 0u);
  EXPECT_EQ(ReadBE32(&info[16]), 360000u);
  EXPECT_EQ(info[36], 0xEE);  // 36 bytes of track information, no more

  driver.Prepare();
  const std::vector<std::uint8_t> data = PatternSectors(8, 1);
  driver.Write(data.data(), 8);
  driver.Write(data.data(), 2);
  EXPECT_EQ(discStatus(), 0x05);  // incomplete session, appendable disc
  readTrack();
  EXPECT_EQ(ReadBE32(&info[12]), 10u);
  EXPECT_EQ(ReadBE32(&info[16]), 359990u);
  EXPECT_EQ(ReadBE32(&info[28]), 9u);  // last recorded address

  driver.Close();
  EXPECT_EQ(discStatus(), 0x0E);  // complete session, finalized disc
  probe.Expect({0x52, 0, 0, 0, 0, 1, 0, 0, 0x60, 0}, info);
  EXPECT_EQ(info[7] & 0x01, 0);  // nothing writable any more
  EXPECT_EQ(ReadBE32(&info[24]), 306u);  // track size
}

TEST(SimRecording, AnswersAtMostTheAllocationLengthAndTheBuffer) {
  SimBus bus({{0, 0, "PLEXTOR ", "CD-R   PX-W1610A"}});
  BusProbe probe(bus, 0, 0);
  struct Case {
    std::uint8_t allocation;
    std::size_t buffer;
    std::uint32_t moved;
  };
  for (const Case c : {Case{28, 32, 28}, Case{96, 20, 20}, Case{0, 32, 0}}) {
    std::vector<std::uint8_t> info(c.buffer, 0xEE);
    const CommandResult r =
        probe.Send({0x52, 0, 0, 0, 0, 1, 0, 0, c.allocation, 0}, info);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.resid, c.buffer - c.moved);
    EXPECT_EQ(std::count(info.begin(), info.end(), 0xEE),
              static_cast<long>(c.buffer - c.moved));
  }
  // MODE SENSE reports the full mode data length even when cut short.
  std::vector<std::uint8_t> mode(96, 0);
  const CommandResult r = probe.Send({0x1A, 0, 0x05, 0, 8, 0}, mode);
  EXPECT_EQ(r.resid, 88u);
  EXPECT_EQ(mode[0], 63);  // 64 bytes of mode data follow
  EXPECT_EQ(mode[3], 8);   // one block descriptor
  EXPECT_EQ(ReadBE32(&mode[4]) & 0xFFFFFF, 0u);
}

TEST(SimRecording, TestWriteRecordsNothing) {
  SimBus bus({{0, 0, "YAMAHA  ", "CRW2100E        "}});
  BusProbe probe(bus, 0, 0);
  std::vector<std::uint8_t> mode(96, 0);
  probe.Expect({0x5A, 0, 0x05, 0, 0, 0, 0, 0, 64, 0}, mode);
  mode[0] = mode[1] = 0;
  mode[8] &= 0x7F;
  mode[10] = 0x11;  // Test Write, track at once
  mode[11] = 0x04;
  mode[12] = 0x08;
  probe.Expect({0x55, 0x10, 0, 0, 0, 0, 0, 0, 64, 0}, mode);
  std::vector<std::uint8_t> data = PatternSectors(2, 3);
  probe.Expect({0x2A, 0, 0, 0, 0, 0, 0, 0, 2, 0}, data);
  EXPECT_TRUE(bus.Recorder(0, 0)->Disc()->Sectors().empty());
  EXPECT_EQ(bus.Recorder(0, 0)->Disc()->State(), SimDiscState::kBlank);
}

TEST(SimRecording, EjectHandsOverTheDiscAndLoadingBringsABlank) {
  SimBus bus({{1, 6, "MATSHITA", "CD-R   CW-7502  "}});
  BusProbe probe(bus, 1, 6);
  std::vector<std::vector<SimSector>> ejected;
  bus.SetEjectHandler([&](std::uint8_t a, std::uint8_t t,
                          const std::vector<SimSector>& sectors) {
    EXPECT_EQ(a, 1);
    EXPECT_EQ(t, 6);
    ejected.push_back(sectors);
  });
  FamilyDriver driver(probe, 3);
  driver.Prepare();
  const std::vector<std::uint8_t> data = PatternSectors(4, 9);
  driver.Write(data.data(), 4);
  driver.Close();

  probe.Expect({0x1B, 0, 0, 0, 0x02, 0});  // eject
  ASSERT_EQ(ejected.size(), 1u);
  ASSERT_EQ(ejected[0].size(), 300u);
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + SectorSize,
                         ejected[0][0].begin()));
  EXPECT_TRUE(bus.Recorder(1, 6)->TrayOpen());
  EXPECT_EQ(bus.Recorder(1, 6)->Disc(), nullptr);
  EXPECT_EQ(probe.Send({0, 0, 0, 0, 0, 0}).status, 4);
  EXPECT_EQ(probe.LastSense(), kSenseNoMedium);
  probe.Expect({0x1B, 0, 0, 0, 0x02, 0});  // the tray is already open
  EXPECT_EQ(ejected.size(), 1u);

  probe.Expect({0x1B, 0, 0, 0, 0x03, 0});  // load
  probe.Expect({0, 0, 0, 0, 0, 0});
  EXPECT_FALSE(bus.Recorder(1, 6)->TrayOpen());
  EXPECT_EQ(bus.Recorder(1, 6)->Disc()->State(), SimDiscState::kBlank);
  // The recorder kept its set-up; the next disc records the same way.
  FamilyDriver again(probe, 3);
  again.Prepare();
  again.Write(data.data(), 4);
  EXPECT_EQ(bus.Recorder(1, 6)->Disc()->Sectors().size(), 4u);
}

}  // namespace
