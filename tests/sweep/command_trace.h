#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One line of the transport's trace: "A:T HH HH ... len=N timeout=MS status=S".
struct TracedCommand {
  std::uint8_t adapter = 0;
  std::uint8_t target = 0;
  std::vector<std::uint8_t> cdb;
  int status = -1;

  std::uint8_t opcode() const { return cdb.empty() ? 0 : cdb[0]; }
};

// Every command of a trace, in order; a line that is not a command line
// comes back with an empty cdb.
std::vector<TracedCommand> ParseTrace(const std::string& text);
