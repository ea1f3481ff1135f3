#include "recorder/commands.h"

#include <algorithm>

ScsiCommand MakeCommand(std::uint8_t cdbLength,
                        std::initializer_list<std::uint8_t> leading,
                        std::uint32_t timeoutMs, std::uint8_t* buffer,
                        std::uint32_t bufferLength) {
  ScsiCommand command;
  std::copy_n(leading.begin(), std::min<std::size_t>(leading.size(), cdbLength),
              command.cdb);
  command.cdbLength = cdbLength;
  command.timeoutMs = timeoutMs;
  command.buffer = buffer;
  command.bufferLength = bufferLength;
  return command;
}
