// Every command of a whole disc, for every RecorderType, and what each of
// those commands failing does.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "recorder/drive.h"
#include "scsi/scripted_backend.h"

namespace {

struct Expected {
  Bytes cdb;
  std::uint32_t bufferLength;
  std::uint32_t timeoutMs;
  FailureCode failure;
};
using Sequence = std::vector<Expected>;

constexpr std::uint32_t kShort = 30000;
constexpr std::uint32_t kLong = 900000;

const Expected kType1Select = {
    {0x15, 0x10, 0, 0, 0x10, 0}, 256, kShort, ErrWriteSpeed};
const Expected kVendorE6 = {
    {0xE6, 0, 0, 0, 0, 0, 0x01, 0, 0, 0}, 256, kShort, ErrBlockLen};
const Expected kDiscInfo10 = {
    {0x51, 0, 0, 0, 0, 0, 0, 0, 0x60, 0}, 96, kShort, ErrDiscInfo};
const Expected kDiscInfo12 = {
    {0x51, 0, 0, 0, 0, 0, 0, 0, 0x60, 0, 0, 0}, 96, kShort, ErrDiscInfo};
const Expected kTrackInfo10 = {
    {0x52, 0, 0, 0, 0, 0xFF, 0, 0, 0x60, 0}, 96, kShort, ErrTrackInfo};
const Expected kTrackInfo12 = {
    {0x52, 0, 0, 0, 0, 0xFF, 0, 0, 0x60, 0, 0, 0}, 96, kShort, ErrTrackInfo};
const Expected kSpeed = {{0xBB, 0, 0x01, 0x61, 0x01, 0x61, 0, 0, 0, 0, 0, 0},
                         0,
                         kShort,
                         ErrWriteSpeed};
const Expected kOpc = {
    {0x54, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}, 0, kLong, ErrSendOPC};
const Expected kSync = {
    {0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, kLong, ErrSyncCache};
const Expected kFixE9 = {
    {0xE9, 0, 0, 0, 0, 0, 0, 0, 0x09, 0}, 0, kLong, ErrFixSession};
const Expected kCloseTrack = {
    {0x5B, 0, 0x01, 0, 0, 0x01, 0, 0, 0, 0}, 0, kLong, ErrFixTrack};
const Expected kCloseSession = {
    {0x5B, 0, 0x02, 0, 0, 0x01, 0, 0, 0, 0}, 0, kLong, ErrFixSession};
const Expected kAskAddress = {
    {0x52, 0, 0, 0, 0, 0x01, 0, 0, 0x1C, 0}, 32, kShort, ErrTrackInfo};

Expected ModeSense6(std::uint8_t l) {
  return {{0x1A, 0, 0x05, 0, l, 0}, 96, kShort, ErrModeSense};
}
Expected ModeSelect6(std::uint8_t l) {
  return {{0x15, 0x10, 0, 0, l, 0}, 96, kShort, ErrModeSelect};
}
Expected ModeSense10(std::uint8_t l) {
  return {{0x5A, 0, 0x05, 0, 0, 0, 0, 0, l, 0}, 96, kShort, ErrModeSense};
}
Expected ModeSelect10(std::uint8_t l) {
  return {{0x55, 0x10, 0, 0, 0, 0, 0, 0, l, 0}, 96, kShort, ErrModeSelect};
}
Expected Write6(std::uint8_t n) {
  return {{0x0A, 0, 0, 0, n, 0}, n * 2048u, kLong, ErrWrite};
}
Expected Write10(std::uint32_t lba, std::uint8_t n) {
  return {{0x2A, 0, static_cast<std::uint8_t>(lba >> 24),
           static_cast<std::uint8_t>(lba >> 16),
           static_cast<std::uint8_t>(lba >> 8), static_cast<std::uint8_t>(lba),
           0, 0, n, 0},
          n * 2048u,
          kLong,
          ErrWrite};
}
Expected Read10(std::uint8_t lba, std::uint8_t n) {
  return {{0x28, 0, 0, 0, 0, lba, 0, 0, n, 0}, n * 2048u, kShort, ErrRead};
}

// Every READ TRACK INFORMATION answers with Next Writable Address 0xFC.
constexpr std::uint32_t kRecorderAddress = 0xFC;

enum class Addressing { kWrite6, kQueried, kTracked };

struct TypeCase {
  std::uint8_t type;
  Sequence prepare;
  Addressing addressing;
  bool closesWithE9;
};

const std::vector<TypeCase>& TypeCases() {
  static const std::vector<TypeCase> cases = {
      {1, {kType1Select, kVendorE6}, Addressing::kWrite6, true},
      {2,
       {ModeSense6(64), ModeSelect6(64), kSpeed, kOpc},
       Addressing::kQueried,
       false},
      {3,
       {kDiscInfo10, kTrackInfo10, ModeSense6(68), ModeSelect6(68), kSpeed,
        kOpc},
       Addressing::kTracked,
       false},
      {4,
       {kDiscInfo10, kTrackInfo10, ModeSense6(64), ModeSelect6(64), kSpeed},
       Addressing::kTracked,
       false},
      {5,
       {ModeSense6(68), ModeSelect6(68), kSpeed, kOpc},
       Addressing::kQueried,
       false},
      {6,
       {ModeSense10(60), ModeSelect10(60), kOpc},
       Addressing::kQueried,
       false},
      {7,
       {kDiscInfo12, kTrackInfo12, ModeSense10(60), ModeSelect10(60), kOpc},
       Addressing::kTracked,
       false},
      {8,
       {ModeSense10(64), ModeSelect10(64), kOpc},
       Addressing::kQueried,
       false},
      {9,
       {kDiscInfo12, kTrackInfo12, ModeSense10(60), ModeSelect10(60)},
       Addressing::kTracked,
       false},
  };
  return cases;
}

// The disc every case records: set-up, 8 sectors, 3 sectors, the closing
// (37 groups of 8 zero sectors and the closing commands), then the read-back
// of 8 sectors at 0 and 8 at 8.
Sequence WholeDisc(const TypeCase& c) {
  Sequence all = c.prepare;
  std::uint32_t next = kRecorderAddress;
  auto write = [&](std::uint8_t n) {
    switch (c.addressing) {
      case Addressing::kWrite6:
        all.push_back(Write6(n));
        break;
      case Addressing::kQueried:
        all.push_back(kAskAddress);
        all.push_back(Write10(kRecorderAddress, n));
        break;
      case Addressing::kTracked:
        all.push_back(Write10(next, n));
        next += n;
        break;
    }
  };
  write(8);
  write(3);
  for (int i = 0; i < 37; ++i) write(8);
  if (c.closesWithE9) {
    all.insert(all.end(), {kSync, kFixE9});
  } else {
    all.insert(all.end(), {kSync, kCloseTrack, kCloseSession});
  }
  all.push_back(Read10(0, 8));
  all.push_back(Read10(8, 8));
  return all;
}

struct Disc {
  explicit Disc(std::uint8_t type) : bus(std::make_shared<ScriptedBackend>()) {
    Bytes track(28, 0);
    track[15] = kRecorderAddress;
    bus->On({.opcode = 0x52}, {.data = track});
    drive = std::make_unique<Drive>(ScriptedFactory(bus));
    drive->Initialize();
    drive->foundTypes[0][2] = type;
    drive->SelectRecorder(0, 2);
  }
  // Records the disc; the first failure escapes.
  void Record() {
    std::vector<std::uint8_t> data(8 * 2048);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = i * 7 + 1;
    drive->PrepareDisc();
    drive->WriteSectors(data.data(), 8);
    drive->WriteSectors(data.data(), 3 + 256);  // only the low 8 bits count
    drive->CloseDisc();
    drive->ResetReadLba(0);
    drive->ReadSectors(data.data(), 8);
    drive->ReadSectors(data.data(), 8);
  }
  std::shared_ptr<ScriptedBackend> bus;
  std::unique_ptr<Drive> drive;
};

class DiscSequenceTest : public testing::TestWithParam<TypeCase> {};

TEST_P(DiscSequenceTest, SendsExactlyTheTypesCommands) {
  Disc disc(GetParam().type);
  disc.Record();
  const Sequence expected = WholeDisc(GetParam());
  const auto& sent = disc.bus->Commands();
  ASSERT_EQ(sent.size(), expected.size());
  for (std::size_t i = 0; i < sent.size(); ++i) {
    SCOPED_TRACE("command " + std::to_string(i));
    EXPECT_EQ(sent[i].cdb, expected[i].cdb);
    EXPECT_EQ(sent[i].cdbLength, expected[i].cdb.size());
    EXPECT_EQ(sent[i].bufferLength, expected[i].bufferLength);
    EXPECT_EQ(sent[i].timeoutMs, expected[i].timeoutMs);
    EXPECT_EQ(sent[i].adapter, 0);
    EXPECT_EQ(sent[i].target, 2);
  }
  EXPECT_EQ(disc.drive->readLba, 16);
}

TEST_P(DiscSequenceTest, WritesTheCallersDataAndZerosAtTheClose) {
  Disc disc(GetParam().type);
  disc.Record();
  std::vector<const RecordedCommand*> writes;
  for (const RecordedCommand& c : disc.bus->Commands()) {
    if (c.cdb[0] == 0x0A || c.cdb[0] == 0x2A) writes.push_back(&c);
  }
  ASSERT_EQ(writes.size(), 39u);
  EXPECT_EQ(writes[0]->buffer[0], 1);
  EXPECT_EQ(writes[0]->buffer[16383], static_cast<std::uint8_t>(16383 * 7 + 1));
  EXPECT_EQ(writes[1]->buffer.size(), 3u * 2048);
  for (std::size_t i = 2; i < writes.size(); ++i) {
    EXPECT_EQ(writes[i]->buffer, Bytes(16384, 0)) << "zero group " << i - 2;
  }
}

TEST_P(DiscSequenceTest, AFailingCommandThrowsItsCodeAndEndsTheSequence) {
  const Sequence expected = WholeDisc(GetParam());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    Disc disc(GetParam().type);
    // Time-outs and device errors alike.
    disc.bus->FailAt(i, i % 2 == 0 ? 0 : 4);
    try {
      disc.Record();
      ADD_FAILURE() << "command " << i << ": nothing thrown";
    } catch (FailureCode code) {
      EXPECT_EQ(code, expected[i].failure) << "command " << i;
    }
    EXPECT_EQ(disc.bus->Commands().size(), i + 1) << "command " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(RecorderTypes, DiscSequenceTest,
                         testing::ValuesIn(TypeCases()), [](const auto& info) {
                           return "Type" + std::to_string(info.param.type);
                         });

}  // namespace
