#include "command_trace.h"

#include <gtest/gtest.h>

#include "scsi/scsi.h"

namespace {

TEST(ParseTrace, ReadsBackWhatTraceLineWrites) {
  ScsiCommand command;
  const std::uint8_t cdb[] = {0x2A, 0, 0, 0, 0x01, 0x2C, 0, 0, 8, 0};
  std::copy(std::begin(cdb), std::end(cdb), command.cdb);
  command.cdbLength = sizeof cdb;
  command.bufferLength = 16384;
  command.timeoutMs = 900000;
  command.sense[2] = 0x04;
  const std::string text =
      TraceLine(1, 7, command, 1) + "\n" + TraceLine(0, 3, command, 0) + "\nnot a command\n";
  const std::vector<TracedCommand> parsed = ParseTrace(text);
  ASSERT_EQ(parsed.size(), 3u);
  EXPECT_EQ(parsed[0].adapter, 1);
  EXPECT_EQ(parsed[0].target, 7);
  EXPECT_EQ(parsed[0].cdb, std::vector<std::uint8_t>(std::begin(cdb), std::end(cdb)));
  EXPECT_EQ(parsed[0].status, 1);
  EXPECT_EQ(parsed[1].status, 0);  // a sense field follows a failed status
  EXPECT_EQ(parsed[1].target, 3);
  EXPECT_TRUE(parsed[2].cdb.empty());
}

}  // namespace
