#include <algorithm>
#include <cstdio>
#include <string>

#include "scsi/scsi.h"

namespace {

void AppendHex(std::string& out, std::uint8_t byte) {
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02X", byte);
  out += digits;
}

}  // namespace

std::string TraceLine(std::uint8_t adapter, std::uint8_t target,
                      const ScsiCommand& command, std::uint8_t status) {
  std::string line = std::to_string(adapter) + ":" + std::to_string(target);
  const int cdbBytes = std::min<int>(command.cdbLength, sizeof command.cdb);
  for (int i = 0; i < cdbBytes; ++i) {
    line += ' ';
    AppendHex(line, command.cdb[i]);
  }
  line += " len=" + std::to_string(command.bufferLength);
  line += " timeout=" + std::to_string(command.timeoutMs);
  line += " status=" + std::to_string(status);
  if (status != kStatusCompleted) {
    line += " sense=";
    for (std::uint8_t byte : command.sense) AppendHex(line, byte);
  }
  return line;
}
