#include <gtest/gtest.h>

#include <sstream>

#include "scsi/scripted_backend.h"
#include "scsi/scsi.h"

namespace {

ScsiCommand Command(std::initializer_list<std::uint8_t> cdb,
                    std::uint32_t length, std::uint32_t timeout) {
  ScsiCommand command;
  std::copy(cdb.begin(), cdb.end(), command.cdb);
  command.cdbLength = static_cast<std::uint8_t>(cdb.size());
  command.bufferLength = length;
  command.timeoutMs = timeout;
  return command;
}

TEST(TraceLine, Format) {
  ScsiCommand inquiry = Command({0x12, 0, 0, 0, 0x2C, 0}, 128, 30000);
  inquiry.cdb[6] = 0xAB;  // beyond cdbLength: not shown
  EXPECT_EQ(TraceLine(1, 4, inquiry, 1),
            "1:4 12 00 00 00 2C 00 len=128 timeout=30000 status=1");

  ScsiCommand speed =
      Command({0xBB, 0, 1, 0x61, 1, 0x61, 0, 0, 0, 0, 0, 0}, 0, 30000);
  EXPECT_EQ(TraceLine(0, 0, speed, 1),
            "0:0 BB 00 01 61 01 61 00 00 00 00 00 00 len=0 timeout=30000 "
            "status=1");
}

TEST(TraceLine, FailureAddsTheFourteenSenseBytes) {
  ScsiCommand write =
      Command({0x2A, 0, 0, 0, 0, 0xFC, 0, 0, 8, 0}, 16384, 900000);
  const std::uint8_t sense[14] = {0x70, 0, 0x03, 0, 0, 0,    0,
                                  0x0A, 0, 0,    0, 0, 0x0C, 0xab};
  std::copy(std::begin(sense), std::end(sense), write.sense);
  EXPECT_EQ(TraceLine(10, 7, write, 4),
            "10:7 2A 00 00 00 00 FC 00 00 08 00 len=16384 timeout=900000 "
            "status=4 sense=700003000000000A000000000CAB");
  EXPECT_EQ(TraceLine(0, 1, write, 0).substr(0, 9), "0:1 2A 00");
  EXPECT_NE(TraceLine(0, 1, write, 0).find("status=0 sense=70"),
            std::string::npos);
}

TEST(Trace, OneLinePerCommandInOrderAsTheCallerSetIt) {
  auto bus = std::make_shared<ScriptedBackend>(2);
  bus->FailAt(1, 4);
  std::ostringstream trace;
  SCSI scsi(ScriptedFactory(bus));
  scsi.Load();
  scsi.SetTrace(&trace);

  ScsiCommand ready = Command({0, 0, 0, 0, 0, 0}, 256, 30000);
  std::uint8_t buffer[256];
  ready.buffer = buffer;
  scsi.adapterId = 1;
  scsi.targetId = 3;
  scsi.Execute(ready);
  ScsiCommand eject = Command({0x1B, 0, 0, 0, 2, 0}, 0, 900000);
  scsi.Execute(eject);
  scsi.SetTrace(nullptr);
  scsi.Execute(eject);

  EXPECT_EQ(trace.str(),
            "1:3 00 00 00 00 00 00 len=256 timeout=30000 status=1\n"
            "1:3 1B 00 00 00 02 00 len=0 timeout=900000 status=4 "
            "sense=0000000000000000000000000000\n");
}

}  // namespace
