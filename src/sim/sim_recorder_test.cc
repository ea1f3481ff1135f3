// Every refusal of a simulated recorder, with the sense a real one gives.
#include "sim/sim_recorder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "sim/sim_bus.h"
#include "sim/sim_test_support.h"

namespace {

constexpr const char* kMmc10[] = {"TEAC    ", "CD-W540E        "};    // type 7
constexpr const char* kMmc6[] = {"PLEXTOR ", "CD-R   PX-W1610A"};     // type 2
constexpr const char* kVendor[] = {"YAMAHA  ", "CDR100          "};   // type 1

constexpr SimSense kNoSense{0, 0, 0};

// The state a refusal is tried from.
using Setup = std::function<void(BusProbe&, std::vector<std::uint8_t>&)>;

void Nothing(BusProbe&, std::vector<std::uint8_t>&) {}

Setup Prepared(int type) {
  return [type](BusProbe& probe, std::vector<std::uint8_t>&) {
    FamilyDriver(probe, type).Prepare();
  };
}

// Prepared, with two sectors written; then `closing` of the MMC closing
// commands (0, 1 track, 2 track and session) or, for type 1, fixation.
Setup Written(int type, int closing = 0) {
  return [type, closing](BusProbe& probe, std::vector<std::uint8_t>&) {
    FamilyDriver driver(probe, type);
    driver.Prepare();
    const auto data = PatternSectors(2, 1);
    driver.Write(data.data(), 2);
    if (type == 1 && closing > 0) {
      probe.Expect({0xE9, 0, 0, 0, 0, 0, 0, 0, 0x09, 0});
      return;
    }
    if (closing >= 1) probe.Expect({0x5B, 0, 0x01, 0, 0, 0x01, 0, 0, 0, 0});
    if (closing >= 2) probe.Expect({0x5B, 0, 0x02, 0, 0, 0x01, 0, 0, 0, 0});
  };
}

void Ejected(BusProbe& probe, std::vector<std::uint8_t>&) {
  probe.Expect({0x1B, 0, 0, 0, 0x02, 0});
}

// Leaves the model's current Write Parameters mode data in the buffer,
// edited for track at once, ready for MODE SELECT(10) with length 60.
void SensedPage10(BusProbe& probe, std::vector<std::uint8_t>& buffer) {
  probe.Expect({0x5A, 0, 0x05, 0, 0, 0, 0, 0, 60, 0}, buffer);
  buffer[0] = buffer[1] = 0;
  buffer[8] &= 0x7F;
  buffer[10] = 0x01;
  buffer[11] = 0x04;
  buffer[12] = 0x08;
}

Setup SensedPage10With(std::size_t at, std::uint8_t value) {
  return [at, value](BusProbe& probe, std::vector<std::uint8_t>& buffer) {
    SensedPage10(probe, buffer);
    buffer[at] = value;
  };
}

// The 6-byte mode data of a PX-W1610A (64 bytes), edited, then one byte set.
Setup SensedPage6With(std::size_t at, std::uint8_t value) {
  return [at, value](BusProbe& probe, std::vector<std::uint8_t>& buffer) {
    probe.Expect({0x1A, 0, 0x05, 0, 64, 0}, buffer);
    buffer[0] = 0;
    buffer[12] &= 0x7F;
    buffer[at] = value;
  };
}

// The type-1 parameter list with one byte changed.
Setup VendorListWith(std::size_t at, std::uint8_t value) {
  return [at, value](BusProbe&, std::vector<std::uint8_t>& buffer) {
    const std::uint8_t list[16] = {0, 0, 0, 8, 0, 0, 0, 0,
                                   0, 0, 8, 0, 0x31, 2, 0, 0x10};
    std::copy(std::begin(list), std::end(list), buffer.begin());
    buffer[at] = value;
  };
}

// The type-1 parameter list sent with MODE SELECT(6), and nothing more.
void VendorSelected(BusProbe& probe, std::vector<std::uint8_t>& buffer) {
  VendorListWith(0, 0)(probe, buffer);
  probe.Expect({0x15, 0x10, 0, 0, 0x10, 0}, buffer);
}

struct Refusal {
  const char* name;
  const char* const* model;
  Setup setup;
  std::initializer_list<std::uint8_t> cdb;
  std::size_t bufferLength;
  SimSense sense;  // all zero: no sense, the data did not fit
};

const Refusal kRefusals[] = {
    // Readiness and identity.
    {"no disc after eject", kMmc10, Ejected, {0, 0, 0, 0, 0, 0}, 0, kSenseNoMedium},
    {"inquiry of vital product data", kMmc10, Nothing, {0x12, 1, 0x80, 0, 44, 0}, 128,
     kSenseInvalidCdbField},
    {"unknown opcode", kMmc10, Nothing, {0xC5, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0,
     kSenseInvalidOpcode},
    {"unknown group-0 opcode", kMmc10, Nothing, {0x01, 0, 0, 0, 0, 0}, 0,
     kSenseInvalidOpcode},
    {"CDB shorter than its opcode", kMmc10, Prepared(7), {0x2A, 0, 0, 0, 0, 0}, 2048,
     kNoSense},
    // Mode pages.
    {"mode sense of another page", kMmc6, Nothing, {0x1A, 0, 0x2A, 0, 64, 0}, 96,
     kSenseInvalidCdbField},
    {"mode sense(10) of another page", kMmc10, Nothing,
     {0x5A, 0, 0x0E, 0, 0, 0, 0, 0, 60, 0}, 96, kSenseInvalidCdbField},
    {"mode sense of page 05h on the vendor model", kVendor, Nothing,
     {0x1A, 0, 0x05, 0, 64, 0}, 96, kSenseInvalidCdbField},
    {"mode select without PF", kMmc10, SensedPage10,
     {0x55, 0x00, 0, 0, 0, 0, 0, 0, 60, 0}, 96, kSenseInvalidCdbField},
    {"mode select(10) of another model's length", kMmc10, SensedPage10,
     {0x55, 0x10, 0, 0, 0, 0, 0, 0, 64, 0}, 96, kSenseParameterListLength},
    {"mode select(6) of another model's length", kMmc6, SensedPage6With(1, 0),
     {0x15, 0x10, 0, 0, 68, 0}, 96, kSenseParameterListLength},
    {"mode select list shorter than its header", kMmc10, SensedPage10,
     {0x55, 0x10, 0, 0, 0, 0, 0, 0, 6, 0}, 96, kSenseParameterListLength},
    {"mode select list longer than the buffer", kMmc10, SensedPage10,
     {0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, 40, kNoSense},
    {"mode select with the savable bit", kMmc10, SensedPage10With(8, 0x85),
     {0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, 96, kSenseInvalidParameterField},
    {"mode select with mode data length", kMmc10, SensedPage10With(1, 58),
     {0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, 96, kSenseInvalidParameterField},
    {"mode select with a wrong page length byte", kMmc10, SensedPage10With(9, 0x36),
     {0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, 96, kSenseInvalidParameterField},
    {"mode select of write type 5", kMmc10, SensedPage10With(10, 0x05),
     {0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, 96, kSenseInvalidParameterField},
    {"mode select of data block type 4", kMmc10, SensedPage10With(12, 0x04),
     {0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, 96, kSenseInvalidParameterField},
    {"mode select of session format 0x30", kMmc10, SensedPage10With(16, 0x30),
     {0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, 96, kSenseInvalidParameterField},
    {"mode select of block length 768", kMmc6, SensedPage6With(10, 0x03),
     {0x15, 0x10, 0, 0, 64, 0}, 96, kSenseInvalidParameterField},
    {"mode select of page 31h on an MMC model", kMmc6, VendorListWith(0, 0),
     {0x15, 0x10, 0, 0, 16, 0}, 256, kSenseInvalidParameterField},
    {"mode select of page 05h on the vendor model", kVendor, VendorListWith(12, 0x05),
     {0x15, 0x10, 0, 0, 16, 0}, 256, kSenseInvalidParameterField},
    // Writing on MMC models.
    {"write before the mode is set", kMmc10, Nothing,
     {0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0}, 2048, kSenseSequenceError},
    {"write away from the next writable address", kMmc10, Prepared(7),
     {0x2A, 0, 0, 0, 0, 5, 0, 0, 1, 0}, 2048, kSenseInvalidWriteAddress},
    {"write over written sectors", kMmc10, Written(7),
     {0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0}, 2048, kSenseInvalidWriteAddress},
    {"write longer than the buffer", kMmc10, Prepared(7),
     {0x2A, 0, 0, 0, 0, 0, 0, 0, 2, 0}, 2048, kNoSense},
    {"write after the track was closed", kMmc10, Written(7, 1),
     {0x2A, 0, 0, 0, 0, 2, 0, 0, 1, 0}, 2048, kSenseInvalidWriteAddress},
    {"write on a closed disc", kMmc10, Written(7, 2),
     {0x2A, 0, 0, 0, 0, 2, 0, 0, 1, 0}, 2048, kSenseLbaOutOfRange},
    {"write without a disc", kMmc10, Ejected,
     {0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0}, 2048, kSenseNoMedium},
    {"write(6) on an MMC model", kMmc6, Prepared(2), {0x0A, 0, 0, 0, 1, 0}, 2048,
     kSenseInvalidOpcode},
    {"vendor write mode on an MMC model", kMmc6, Nothing,
     {0xE6, 0, 0, 0, 0, 0, 1, 0, 0, 0}, 256, kSenseInvalidOpcode},
    {"vendor fixation on an MMC model", kMmc10, Written(7),
     {0xE9, 0, 0, 0, 0, 0, 0, 0, 9, 0}, 0, kSenseInvalidOpcode},
    // Reading.
    {"read of an unwritten sector", kMmc10, Written(7),
     {0x28, 0, 0, 0, 0, 1, 0, 0, 2, 0}, 4096, kSenseLbaOutOfRange},
    {"read of a blank disc", kMmc6, Nothing, {0x28, 0, 0, 0, 0, 0, 0, 0, 1, 0}, 2048,
     kSenseLbaOutOfRange},
    {"read longer than the buffer", kMmc10, Written(7),
     {0x28, 0, 0, 0, 0, 0, 0, 0, 2, 0}, 2047, kNoSense},
    // Track and disc information.
    {"track information of track 2", kMmc10, Nothing,
     {0x52, 1, 0, 0, 0, 2, 0, 0, 28, 0}, 32, kSenseInvalidCdbField},
    {"track information of the invisible track of a closed disc", kMmc10,
     Written(7, 2), {0x52, 1, 0, 0, 0, 0xFF, 0, 0, 28, 0}, 32, kSenseInvalidCdbField},
    {"track information beyond the disc", kMmc10, Nothing,
     {0x52, 0, 0, 0x05, 0x7E, 0x40, 0, 0, 28, 0}, 32, kSenseLbaOutOfRange},
    {"track information by session", kMmc10, Nothing,
     {0x52, 2, 0, 0, 0, 1, 0, 0, 28, 0}, 32, kSenseInvalidCdbField},
    {"disc information of another data type", kMmc10, Nothing,
     {0x51, 1, 0, 0, 0, 0, 0, 0, 34, 0}, 34, kSenseInvalidCdbField},
    {"track information without a disc", kMmc10, Ejected,
     {0x52, 0, 0, 0, 0, 1, 0, 0, 28, 0}, 32, kSenseNoMedium},
    // Closing.
    {"close session of a blank disc", kMmc10, Prepared(7),
     {0x5B, 0, 0x02, 0, 0, 1, 0, 0, 0, 0}, 0, kSenseSequenceError},
    {"close session with the track open", kMmc10, Written(7),
     {0x5B, 0, 0x02, 0, 0, 1, 0, 0, 0, 0}, 0, kSenseIncompleteTrack},
    {"close session twice", kMmc10, Written(7, 2),
     {0x5B, 0, 0x02, 0, 0, 1, 0, 0, 0, 0}, 0, kSenseSequenceError},
    {"close track 2", kMmc10, Written(7), {0x5B, 0, 0x01, 0, 0, 2, 0, 0, 0, 0}, 0,
     kSenseInvalidCdbField},
    {"close function 3", kMmc10, Written(7), {0x5B, 0, 0x03, 0, 0, 1, 0, 0, 0, 0}, 0,
     kSenseInvalidCdbField},
    {"synchronize cache without a disc", kMmc10, Ejected,
     {0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, kSenseNoMedium},
    {"calibration without a disc", kMmc10, Ejected,
     {0x54, 1, 0, 0, 0, 0, 0, 0, 0, 0}, 0, kSenseNoMedium},
    // The vendor-command model.
    {"vendor write mode before its mode select", kVendor, Nothing,
     {0xE6, 0, 0, 0, 0, 0, 1, 0, 0, 0}, 256, kSenseSequenceError},
    {"vendor write mode other than data", kVendor, VendorSelected,
     {0xE6, 0, 0, 0, 0, 0, 2, 0, 0, 0}, 256, kSenseInvalidCdbField},
    {"write(6) before the vendor write mode", kVendor, Nothing,
     {0x0A, 0, 0, 0, 1, 0}, 2048, kSenseSequenceError},
    {"write(6) with an address", kVendor, Prepared(1), {0x0A, 0, 0, 5, 1, 0}, 2048,
     kSenseInvalidCdbField},
    {"write(6) of 256 sectors from a short buffer", kVendor, Prepared(1),
     {0x0A, 0, 0, 0, 0, 0}, 16384, kNoSense},
    {"write(6) on a fixated disc", kVendor, Written(1, 1), {0x0A, 0, 0, 0, 1, 0}, 2048,
     kSenseLbaOutOfRange},
    {"fixation of a blank disc", kVendor, Prepared(1),
     {0xE9, 0, 0, 0, 0, 0, 0, 0, 9, 0}, 0, kSenseSequenceError},
    {"write(10) on the vendor model", kVendor, Prepared(1),
     {0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0}, 2048, kSenseInvalidOpcode},
    {"set speed on the vendor model", kVendor, Nothing,
     {0xBB, 0, 1, 0x61, 1, 0x61, 0, 0, 0, 0, 0, 0}, 0, kSenseInvalidOpcode},
    {"close track on the vendor model", kVendor, Written(1),
     {0x5B, 0, 0x01, 0, 0, 1, 0, 0, 0, 0}, 0, kSenseInvalidOpcode},
    {"track information on the vendor model", kVendor, Nothing,
     {0x52, 0, 0, 0, 0, 1, 0, 0, 28, 0}, 32, kSenseInvalidOpcode},
};

TEST(SimRecorder, RefusesWhatARealRecorderRefuses) {
  for (const Refusal& r : kRefusals) {
    SCOPED_TRACE(r.name);
    SimBus bus({{0, 1, r.model[0], r.model[1]}});
    BusProbe probe(bus, 0, 1);
    std::vector<std::uint8_t> buffer(std::max<std::size_t>(r.bufferLength, 96), 0);
    r.setup(probe, buffer);
    buffer.resize(r.bufferLength);
    const SimDisc* before = bus.Recorder(0, 1)->Disc();
    const std::size_t written = before ? before->Sectors().size() : 0;
    const std::vector<std::uint8_t> sent = buffer;

    const CommandResult result = probe.Send(r.cdb, buffer);
    EXPECT_EQ(result.status, 4);
    EXPECT_EQ(result.resid, r.bufferLength);
    EXPECT_EQ(probe.LastSense(), r.sense)
        << std::hex << int{probe.LastSense().key} << "/"
        << int{probe.LastSense().asc} << "/" << int{probe.LastSense().ascq};
    const SimDisc* after = bus.Recorder(0, 1)->Disc();
    EXPECT_EQ(after ? after->Sectors().size() : 0, written);
    // A refused command sends nothing out; what a refused data-in command
    // leaves in the buffer is stale (SimBus.FailedDataInLeavesStaleBytes).
    const std::uint8_t opcode = *r.cdb.begin();
    if (opcode != 0x28 && opcode != 0x52 && opcode != 0x51 && opcode != 0x5A &&
        opcode != 0x1A && opcode != 0x12) {
      EXPECT_EQ(buffer, sent);
    }
  }
}

TEST(SimRecorder, RefusedModeSelectChangesNothing) {
  SimBus bus({{0, 0, kMmc10[0], kMmc10[1]}});
  BusProbe probe(bus, 0, 0);
  std::vector<std::uint8_t> buffer(96, 0);
  SensedPage10(probe, buffer);
  buffer[16] = 0x30;  // bad session format, after valid write settings
  EXPECT_EQ(probe.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, buffer).status, 4);
  EXPECT_EQ(probe.Send({0x2A, 0, 0, 0, 0, 0, 0, 0, 0, 0}).status, 4);
  EXPECT_EQ(probe.LastSense(), kSenseSequenceError);
}

TEST(SimRecorder, SenseIsFixedFormat) {
  SimBus bus({{0, 0, kMmc10[0], kMmc10[1]}});
  BusProbe probe(bus, 0, 0);
  probe.Send({0x2A, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  const std::uint8_t expected[14] = {0x70, 0, 0x05, 0, 0, 0, 0,
                                     10,   0, 0,    0, 0, 0x2C, 0};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected),
                         probe.LastSenseBytes()));
  probe.Expect({0x12, 0, 0, 0, 36, 0});  // clears it again
  EXPECT_EQ(probe.LastSenseBytes()[0], 0);
}

TEST(SimRecorder, ClosingAnEmptyTrackDoesNothing) {
  SimBus bus({{0, 0, kMmc10[0], kMmc10[1]}});
  BusProbe probe(bus, 0, 0);
  probe.Expect({0x5B, 0, 0x01, 0, 0, 1, 0, 0, 0, 0});
  EXPECT_EQ(bus.Recorder(0, 0)->Disc()->State(), SimDiscState::kBlank);
}

TEST(SimRecorder, InquiryIdentifiesTheModel) {
  SimBus bus({{0, 0, kMmc6[0], kMmc6[1]}});
  BusProbe probe(bus, 0, 0);
  std::vector<std::uint8_t> data(128, 0xEE);
  const CommandResult r = probe.Send({0x12, 0, 0, 0, 0x2C, 0}, data);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.resid, 128u - 36u);
  EXPECT_EQ(data[0], 0x05);
  EXPECT_EQ(std::string(data.begin() + 8, data.begin() + 32),
            "PLEXTOR CD-R   PX-W1610A");
  EXPECT_EQ(data[36], 0xEE);
  EXPECT_EQ(probe.Send({0x12, 0, 0, 0, 10, 0}, data).resid, 118u);
}

}  // namespace
