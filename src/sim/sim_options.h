#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One recorder on the simulated bus.
struct SimRecorderSlot {
  std::uint8_t adapter = 0;  // 0..7
  std::uint8_t target = 0;   // 0..7
  std::string vendor;        // 8 characters, blank padded
  std::string product;       // 16 characters, blank padded
};

// Fails the occurrence-th command with this opcode that reaches a recorder,
// counted across the whole bus; the command is not carried out.
struct SimFailure {
  std::uint8_t opcode = 0;
  std::uint32_t occurrence = 1;  // 1 is the first
  std::uint8_t status = 4;       // 0: timed out
};

// Faults and pacing of the whole bus.
struct SimOptions {
  std::vector<SimFailure> failures;
  // Reads of these LBAs come back with one byte changed; the disc keeps the
  // right data.
  std::vector<std::uint32_t> corruptLbas;
  // The first this many TEST UNIT READY commands find no disc.
  std::uint32_t noDiscTests = 0;
  // Each sector written or read waits its time at the set speed times this
  // factor; 0 does not wait.
  double delayFactor = 0;
};

// A parsed option value, or what is wrong with the text.
template <class T>
struct SimParsed {
  T value{};
  std::string error;  // empty when value holds the result
};

// The bus that --simulate uses when none is given.
inline constexpr std::string_view kDefaultSimBus =
    "0:3=YAMAHA/CRW2100E;0:5=TEAC/CD-W540E;1:2=PLEXTOR/CD-R   PX-W1610A";

// "A:T=VENDOR/PRODUCT;..." with names blank padded to 8 and 16 characters;
// the empty text is a bus without recorders.
SimParsed<std::vector<SimRecorderSlot>> ParseSimBus(std::string_view text);
// "OP[@K][:STATUS]": hexadecimal opcode (0x optional), 1-based count
// (default 1), decimal status other than 1 (default 4; 0 is a time-out).
SimParsed<SimFailure> ParseSimFailure(std::string_view text);
// A decimal LBA on the disc.
SimParsed<std::uint32_t> ParseSimCorrupt(std::string_view text);
// A decimal count of readiness tests.
SimParsed<std::uint32_t> ParseSimNoDisc(std::string_view text);
