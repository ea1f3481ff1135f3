#pragma once
// The bytes the SimBus fuzzer reads, and make_fuzz_seeds writes from a
// real recording: the bus's faults, then one record per command.
//
//   header  noDisc(1) failureCount(1) {opcode(1) occurrence(1) status(1)}
//           corruptCount(1) {lba(4)}
//   record  address(1: adapter << 3 | target) cdbLength(1)
//           cdb(min(cdbLength, 16)) bufferLength(4) dataLength(2) data
//
// Counts are taken modulo 4 and buffer lengths modulo kMaxBufferLength + 1,
// so that any bytes decode; the buffer holds `data` and then zeros. A failure
// status of 1 decodes as 4, as the command line's options allow no other.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/sim_options.h"

// Twice what any command of a recording moves (8 sectors), small enough
// that thousands of commands stay fast.
inline constexpr std::uint32_t kMaxBufferLength = 32768;

struct StreamCommand {
  std::uint8_t adapter = 0;
  std::uint8_t target = 0;
  std::uint8_t cdbLength = 0;  // as sent: may exceed the 16 bytes of cdb
  std::uint8_t cdb[16] = {};
  std::uint32_t bufferLength = 0;
  std::vector<std::uint8_t> data;  // the first bytes of the buffer
};

struct CommandStream {
  SimOptions options;  // failures, corruptLbas and noDiscTests only
  std::vector<StreamCommand> commands;
};

// Decodes any bytes; a record cut short by the end is dropped.
CommandStream DecodeCommandStream(const std::uint8_t* bytes, std::size_t size);
// Encodes a stream so that DecodeCommandStream gives it back (at most 3
// failures and 3 corrupt LBAs, occurrences up to 255).
std::vector<std::uint8_t> EncodeCommandStream(const CommandStream& stream);
