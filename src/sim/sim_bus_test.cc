#include "sim/sim_bus.h"

#include <gtest/gtest.h>

#include <string>

#include "core/big_endian.h"
#include "sim/sim_test_support.h"

namespace {

std::vector<SimRecorderSlot> DefaultBus() {
  return ParseSimBus(kDefaultSimBus).value;
}

TEST(SimBus, AnswersOnlyWhereARecorderIs) {
  SimBus bus(DefaultBus());
  EXPECT_EQ(bus.AdapterCount(), 2);
  std::string found;
  for (std::uint8_t a = 0; a < 9; ++a) {
    for (std::uint8_t t = 0; t < 9; ++t) {
      BusProbe probe(bus, a, t);
      std::vector<std::uint8_t> data(128, 0);
      const CommandResult r = probe.Send({0x12, 0, 0, 0, 0x2C, 0}, data);
      if (r.status == 1) {
        found += std::to_string(a) + ":" + std::to_string(t) + "=" +
                 std::string(data.begin() + 8, data.begin() + 32) + ";";
      } else {
        EXPECT_EQ(r.status, kStatusNoDevice);
        EXPECT_EQ(r.resid, 128u);
        EXPECT_EQ(probe.LastSense(), SimSense{});
        EXPECT_EQ(bus.Recorder(a, t), nullptr);
      }
    }
  }
  EXPECT_EQ(found,
            "0:3=YAMAHA  CRW2100E        ;0:5=TEAC    CD-W540E        ;"
            "1:2=PLEXTOR CD-R   PX-W1610A;");
}

TEST(SimBus, AdapterCountIsTheHighestAdapterInUsePlusOne) {
  EXPECT_EQ(SimBus({}).AdapterCount(), 0);
  EXPECT_EQ(SimBus({{2, 7, "TEAC    ", "CD-W540E        "}}).AdapterCount(), 3);
  EXPECT_THROW(SimBus({{8, 0, "TEAC    ", "CD-W540E        "}}),
               std::out_of_range);
}

TEST(SimBus, FailsTheKthCommandOfAnOpcodeAcrossTheBus) {
  SimOptions options;
  options.failures = {{0x2A, 2, 4}, {0x35, 1, 0}};
  SimBus bus({{0, 0, "TEAC    ", "CD-W540E        "},
              {0, 1, "TEAC    ", "CD-W540E        "}},
             options);
  BusProbe first(bus, 0, 0);
  BusProbe second(bus, 0, 1);
  FamilyDriver one(first, 7);
  FamilyDriver two(second, 7);
  one.Prepare();
  two.Prepare();
  const std::vector<std::uint8_t> data = PatternSectors(1, 2);
  one.Write(data.data(), 1);  // the first WRITE(10) on the bus

  std::vector<std::uint8_t> sector = data;
  const CommandResult failed =
      second.Send({0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0}, sector);
  EXPECT_EQ(failed.status, 4);
  EXPECT_EQ(failed.resid, 2048u);
  EXPECT_EQ(second.LastSense(), kSenseInternalFailure);
  EXPECT_TRUE(bus.Recorder(0, 1)->Disc()->Sectors().empty());
  second.Expect({0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0}, sector);  // the third passes

  const CommandResult timedOut = first.Send({0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(timedOut.status, 0);
  EXPECT_EQ(first.LastSense(), SimSense{});
  first.Expect({0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0});
}

TEST(SimBus, TimedOutCommandDoesNothing) {
  SimOptions options;
  options.failures = {{0x1B, 1, 0}};
  SimBus bus({{0, 0, "TEAC    ", "CD-W540E        "}}, options);
  BusProbe probe(bus, 0, 0);
  EXPECT_EQ(probe.Send({0x1B, 0, 0, 0, 0x02, 0}).status, 0);
  EXPECT_FALSE(bus.Recorder(0, 0)->TrayOpen());
}

TEST(SimBus, ReportsNoDiscForTheFirstReadinessTests) {
  SimOptions options;
  options.noDiscTests = 2;
  SimBus bus({{0, 0, "TEAC    ", "CD-W540E        "},
              {0, 1, "TEAC    ", "CD-W540E        "}},
             options);
  BusProbe first(bus, 0, 0);
  BusProbe second(bus, 0, 1);
  EXPECT_EQ(first.Send({0, 0, 0, 0, 0, 0}).status, 4);
  EXPECT_EQ(first.LastSense(), kSenseNoMedium);
  EXPECT_EQ(second.Send({0, 0, 0, 0, 0, 0}).status, 4);
  EXPECT_EQ(second.LastSense(), kSenseNoMedium);
  first.Expect({0, 0, 0, 0, 0, 0});
  second.Expect({0, 0, 0, 0, 0, 0});
}

TEST(SimBus, CorruptsOneByteOfWhatAnLbaReadsBack) {
  SimOptions options;
  options.corruptLbas = {3};
  SimBus bus({{0, 0, "YAMAHA  ", "CDR100          "}}, options);
  BusProbe probe(bus, 0, 0);
  FamilyDriver driver(probe, 1);
  driver.Prepare();
  const std::vector<std::uint8_t> data = PatternSectors(8, 4);
  driver.Write(data.data(), 8);

  const std::vector<std::uint8_t> run = driver.Read(0, 8);
  std::size_t differing = 0;
  for (std::size_t i = 0; i < run.size(); ++i) {
    if (run[i] != data[i]) {
      ++differing;
      EXPECT_EQ(i / SectorSize, 3u);
    }
  }
  EXPECT_EQ(differing, 1u);
  EXPECT_NE(driver.Read(3, 1), std::vector(data.begin() + 3 * SectorSize,
                                           data.begin() + 4 * SectorSize));
  EXPECT_EQ(driver.Read(4, 1), std::vector(data.begin() + 4 * SectorSize,
                                           data.begin() + 5 * SectorSize));
  EXPECT_TRUE(std::equal(bus.Recorder(0, 0)->Disc()->Sectors()[3].begin(),
                         bus.Recorder(0, 0)->Disc()->Sectors()[3].end(),
                         data.begin() + 3 * SectorSize));
}

TEST(SimBus, TransferTimeFollowsTheSpeed) {
  EXPECT_EQ(SimTransferTime(2048, 706, 0).count(), 0);
  EXPECT_EQ(SimTransferTime(7060, 706, 1).count(), 10000);
  EXPECT_EQ(SimTransferTime(7060, 353, 0.5).count(), 10000);
}

// Arbitrary commands, lengths and buffers: every one gets a status, and no
// byte beyond bufferLength is touched (run it under AddressSanitizer too).
// Now and then a recorder is set up properly and writes aim at the next
// writable address, so that the deeper paths are reached as well.
TEST(SimBus, SurvivesArbitraryCommands) {
  SimOptions options;
  options.failures = {{0x2A, 3, 0}};
  options.corruptLbas = {0, 1};
  SimBus bus({{0, 0, "YAMAHA  ", "CDR100          "},
              {0, 1, "TEAC    ", "CD-W540E        "},
              {0, 2, "PLEXTOR ", "CD-R   PX-W1610A"}},
             options);
  const int types[] = {1, 7, 2};
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  const std::uint8_t opcodes[] = {0x00, 0x12, 0x15, 0x1A, 0x1B, 0x28, 0x2A,
                                  0x35, 0x51, 0x52, 0x54, 0x55, 0x5A, 0x5B,
                                  0xBB, 0x0A, 0xE6, 0xE9, 0x03, 0xFF};
  const std::uint32_t lengths[] = {0, 1, 4, 16, 28, 60, 96, 256, 2048, 4096, 16384};
  const std::uint8_t cdbLengths[] = {0, 6, 10, 12, 16, 20};
  constexpr std::size_t kGuard = 64;
  std::size_t completed = 0;
  for (int i = 0; i < 4000; ++i) {
    const std::uint8_t target = static_cast<std::uint8_t>(next() % 4);
    if (i % 200 == 0 && target < 3) {
      BusProbe probe(bus, 0, target);
      probe.Expect({0x1B, 0, 0, 0, 0x03, 0});
      FamilyDriver(probe, types[target]).Prepare();
    }
    ScsiCommand command;
    for (std::uint8_t& b : command.cdb) b = static_cast<std::uint8_t>(next());
    std::uint8_t& opcode = command.cdb[0];
    opcode = opcodes[next() % std::size(opcodes)];
    // Small values in the flag, length and address fields reach further.
    if (next() % 2) command.cdb[1] &= 0x13;
    if (next() % 2) std::fill(command.cdb + 2, command.cdb + 8, 0);
    if (next() % 2) command.cdb[4] = command.cdb[8] = static_cast<std::uint8_t>(next() % 9);
    if (opcode == 0x1A || opcode == 0x5A) command.cdb[2] = next() % 2 ? 0x05 : 0x31;
    if (opcode == 0x1B) command.cdb[4] = next() % 4 ? 0x03 : 0x02;  // mostly load
    std::uint32_t length = lengths[next() % std::size(lengths)];
    const SimRecorder* recorder = bus.Recorder(0, target);
    const bool sectors = opcode == 0x2A || opcode == 0x0A || opcode == 0x28;
    if (sectors && recorder && recorder->Disc() && next() % 2) {
      const auto written = static_cast<std::uint32_t>(recorder->Disc()->Sectors().size());
      const std::uint8_t count = static_cast<std::uint8_t>(1 + next() % 8);
      if (opcode != 0x28) opcode = target == 0 ? 0x0A : 0x2A;  // its own write
      WriteBE32(command.cdb + 2, opcode == 0x28 ? next() % (written + 2) : written);
      command.cdb[7] = 0;
      command.cdb[8] = count;
      if (opcode == 0x0A) {
        command.cdb[1] = command.cdb[2] = command.cdb[3] = 0;
        command.cdb[4] = count;
      }
      if (next() % 2) length = count * 2048u;
    }
    command.cdbLength = next() % 4 ? (opcode >= 0xA0 ? 12 : opcode >= 0x20 ? 10 : 6)
                                   : cdbLengths[next() % std::size(cdbLengths)];
    std::vector<std::uint8_t> memory(length + kGuard, 0xA5);
    for (std::size_t b = 0; b < length; ++b) memory[b] = static_cast<std::uint8_t>(next());
    command.buffer = length == 0 && next() % 2 ? nullptr : memory.data();
    command.bufferLength = length;

    const CommandResult r = bus.Run(0, target, command);
    ASSERT_TRUE(r.status == 0 || r.status == 1 || r.status == 4 || r.status == kStatusNoDevice)
        << i;
    ASSERT_LE(r.resid, length) << i;
    for (std::size_t g = length; g < memory.size(); ++g) {
      ASSERT_EQ(memory[g], 0xA5) << "command " << i << " wrote past the buffer";
    }
    if (r.status == 1 && (opcode == 0x2A || opcode == 0x0A || opcode == 0x28)) {
      ++completed;
    }
  }
  EXPECT_GT(completed, 20u);  // the loop did reach the sector paths
}

}  // namespace

// The Linux sg driver hands a failed data-in command its buffer back holding
// the node's previous answer; code above the transport must never read it.
TEST(SimBus, FailedDataInLeavesStaleBytes) {
  SimBus bus({{0, 0, "TEAC    ", "CD-W540E        "}});
  BusProbe probe(bus, 0, 0);
  std::vector<std::uint8_t> inquiry(36, 0);
  ASSERT_EQ(probe.Send({0x12, 0, 0, 0, 36, 0}, inquiry).status, 1);
  std::vector<std::uint8_t> sector(2048, 0);
  const CommandResult past = probe.Send({0x28, 0, 0, 0, 0, 9, 0, 0, 1, 0}, sector);
  EXPECT_EQ(past.status, 4);
  EXPECT_TRUE(std::equal(inquiry.begin(), inquiry.end(), sector.begin()));
}
