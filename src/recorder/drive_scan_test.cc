#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "recorder/drive.h"
#include "scsi/scripted_backend.h"

namespace {

struct Bus {
  explicit Bus(std::uint8_t adapters)
      : bus(std::make_shared<ScriptedBackend>(adapters)) {
    // No device anywhere unless a rule says otherwise.
    bus->SetDefault({.status = kStatusNoDevice});
    drive = std::make_unique<Drive>(ScriptedFactory(bus));
    drive->Initialize();
  }
  void Device(std::uint8_t adapter, std::uint8_t target, Bytes inquiry) {
    bus->On({.adapter = adapter, .target = target, .opcode = 0x12},
            {.data = std::move(inquiry)});
  }
  std::shared_ptr<ScriptedBackend> bus;
  std::unique_ptr<Drive> drive;
};

std::string Text(const FoundRecorder& row) {
  return std::string(row.vendor.begin(), row.vendor.end()) +
         std::string(row.product.begin(), row.product.end());
}

TEST(ScanBus, NoAdaptersSendsNothing) {
  Bus bus(0);
  FoundRecorder rows[8];
  rows[0].target = 99;
  EXPECT_EQ(bus.drive->ScanBus(rows, 8), 0);
  EXPECT_TRUE(bus.bus->Commands().empty());
  EXPECT_EQ(rows[0].target, 99);
}

TEST(ScanBus, ProbesEveryTargetWithOneInquiry) {
  Bus bus(2);
  bus.Device(1, 4, InquiryData("TEAC", "CD-W540E"));
  FoundRecorder rows[8];
  ASSERT_EQ(bus.drive->ScanBus(rows, 8), 1);
  EXPECT_EQ(Text(rows[0]), "TEAC    CD-W540E        ");
  EXPECT_EQ(rows[0].adapter, 1);
  EXPECT_EQ(rows[0].target, 4);
  EXPECT_EQ(bus.drive->foundTypes[1][4], 7);
  EXPECT_EQ(bus.drive->foundTypes[0][4], 0);

  const auto& sent = bus.bus->Commands();
  ASSERT_EQ(sent.size(), 16u);
  for (std::size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(sent[i].adapter, i / 8);
    EXPECT_EQ(sent[i].target, i % 8);
    EXPECT_EQ(sent[i].cdb, (Bytes{0x12, 0, 0, 0, 0x2C, 0}));
    EXPECT_EQ(sent[i].bufferLength, 128u);
    EXPECT_EQ(sent[i].timeoutMs, 30000u);
  }
  EXPECT_EQ(bus.drive->scsi.adapterId, 1);
  EXPECT_EQ(bus.drive->scsi.targetId, 7);
}

TEST(ScanBus, OnlyByteForByteEqualIdentificationsMatch) {
  struct Case {
    const char* name;
    Bytes inquiry;
  };
  const Case cases[] = {
      {"VendorPaddedWithZeros",
       InquiryData(std::string_view("TEAC\0\0\0\0", 8), "CD-W540E")},
      {"ProductPaddedWithZeros",
       InquiryData("TEAC", std::string_view("CD-W540E\0\0\0\0\0\0\0\0", 16))},
      {"OtherLetterCase", InquiryData("teac", "CD-W540E")},
      {"ProductOtherCase", InquiryData("TEAC", "cd-w540e")},
      {"BlankRowThatEndsTheTable", InquiryData("", "")},
      {"UnsupportedDevice", InquiryData("ATA", "Samsung SSD 870")},
  };
  for (const Case& c : cases) {
    Bus bus(1);
    bus.Device(0, 3, c.inquiry);
    FoundRecorder rows[8];
    EXPECT_EQ(bus.drive->ScanBus(rows, 8), 0) << c.name;
    EXPECT_EQ(bus.drive->foundTypes[0][3], 0) << c.name;
  }
}

TEST(ScanBus, TwoRecordersComeOutInProbeOrder) {
  Bus bus(2);
  bus.Device(1, 2, InquiryData("YAMAHA", "CRW2100E"));
  bus.Device(0, 5, InquiryData("PLEXTOR", "CD-R   PX-W1210A"));
  FoundRecorder rows[8];
  ASSERT_EQ(bus.drive->ScanBus(rows, 8), 2);
  EXPECT_EQ(rows[0].adapter, 0);
  EXPECT_EQ(rows[0].target, 5);
  EXPECT_EQ(Text(rows[0]), "PLEXTOR CD-R   PX-W1210A");
  EXPECT_EQ(rows[1].adapter, 1);
  EXPECT_EQ(rows[1].target, 2);
  EXPECT_EQ(Text(rows[1]), "YAMAHA  CRW2100E        ");
}

TEST(ScanBus, ShortAnswerIsNotTakenForThePreviousDevice) {
  Bus bus(1);
  bus.Device(0, 3, InquiryData("TEAC", "CD-W540E"));
  bus.Device(0, 4, Bytes{0x05, 0x80, 0x02, 0x02});  // completes, 4 bytes only
  FoundRecorder rows[8];
  EXPECT_EQ(bus.drive->ScanBus(rows, 8), 1);
  EXPECT_EQ(bus.drive->foundTypes[0][4], 0);
}

TEST(ScanBus, NeverStoresMoreRowsThanTheCallerHas) {
  Bus bus(2);
  bus.bus->SetDefault({.data = InquiryData("TEAC", "CD-W516EB")});
  FoundRecorder rows[10];
  rows[8].target = 99;
  ASSERT_EQ(bus.drive->ScanBus(rows, 8), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(rows[i].adapter, 0);
    EXPECT_EQ(rows[i].target, i);
  }
  EXPECT_EQ(rows[8].target, 99);
  EXPECT_EQ(bus.drive->foundTypes[1][7], 7);  // found, just not listed
  EXPECT_EQ(bus.drive->ScanBus(rows, 0), 0);
}

TEST(ScanBus, AdaptersBeyondEightAreNotProbed) {
  Bus bus(10);
  bus.bus->SetDefault({.data = InquiryData("TEAC", "CD-W24E")});
  FoundRecorder rows[8];
  EXPECT_EQ(bus.drive->ScanBus(rows, 8), 8);
  EXPECT_EQ(bus.bus->Commands().size(), 64u);
  for (const RecordedCommand& c : bus.bus->Commands()) EXPECT_LT(c.adapter, 8);
}

TEST(SelectRecorder, BindsTheTransportWhateverWasFound) {
  Bus bus(2);
  bus.Device(1, 4, InquiryData("TEAC", "CD-W540E"));
  FoundRecorder rows[8];
  bus.drive->ScanBus(rows, 8);
  EXPECT_EQ(bus.drive->SelectRecorder(1, 4), 7);
  EXPECT_EQ(bus.drive->recorderType, 7);
  EXPECT_EQ(bus.drive->targetId, 4);
  EXPECT_EQ(bus.drive->scsi.adapterId, 1);
  EXPECT_EQ(bus.drive->scsi.targetId, 4);

  EXPECT_EQ(bus.drive->SelectRecorder(0, 6), 0);
  EXPECT_EQ(bus.drive->scsi.targetId, 6);
  EXPECT_EQ(bus.drive->SelectRecorder(9, 200), 0);  // outside foundTypes
  EXPECT_EQ(bus.drive->scsi.adapterId, 9);
}

TEST(IsNotReady, AnyStatusButOneIsNotReady) {
  for (std::uint8_t status : {1, 0, 2, 4, 0x82}) {
    Bus bus(1);
    bus.bus->SetDefault({.status = status});
    EXPECT_EQ(bus.drive->IsNotReady(), status != 1);
    const RecordedCommand& c = bus.bus->Commands().at(0);
    EXPECT_EQ(c.cdb, (Bytes{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(c.bufferLength, 256u);
    EXPECT_EQ(c.timeoutMs, 30000u);
  }
}

TEST(Eject, ThrowsErrEjectUnlessCompleted) {
  Bus bus(1);
  bus.bus->SetDefault({});
  bus.drive->Eject();
  const RecordedCommand& c = bus.bus->Commands().at(0);
  EXPECT_EQ(c.cdb, (Bytes{0x1B, 0, 0, 0, 0x02, 0}));
  EXPECT_EQ(c.bufferLength, 0u);
  EXPECT_EQ(c.timeoutMs, 900000u);

  bus.bus->SetDefault({.status = 0});
  try {
    bus.drive->Eject();
    ADD_FAILURE() << "nothing thrown";
  } catch (FailureCode code) {
    EXPECT_EQ(code, ErrEject);
  }
}

TEST(Initialize, WritesTheTableEvenWhenTheLoadFails) {
  Drive drive(FailingFactory(ErrAspiEntry));
  drive.readLba = 7;
  try {
    drive.Initialize();
    ADD_FAILURE() << "nothing thrown";
  } catch (FailureCode code) {
    EXPECT_EQ(code, ErrAspiEntry);
  }
  EXPECT_EQ(drive.readLba, 0);
  EXPECT_EQ(drive.modelTable[0].recorderType, 1);
}

TEST(Trace, ShowsLengthAndLimitAsTheRecorderCodeSetThem) {
  Bus bus(1);
  bus.bus->SetDefault({});
  bus.bus->FailAt(1, 0);
  std::ostringstream trace;
  bus.drive->scsi.SetTrace(&trace);
  bus.drive->SelectRecorder(0, 3);
  bus.drive->IsNotReady();
  EXPECT_THROW(bus.drive->Eject(), FailureCode);
  EXPECT_EQ(trace.str(),
            "0:3 00 00 00 00 00 00 len=256 timeout=30000 status=1\n"
            "0:3 1B 00 00 00 02 00 len=0 timeout=900000 status=0 "
            "sense=0000000000000000000000000000\n");
}

}  // namespace
