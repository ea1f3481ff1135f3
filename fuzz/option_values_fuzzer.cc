// The command line's values for the simulated bus, on any text: every parser
// either gives a value that keeps its promises or says what is wrong, and a
// value it gave parses again to itself.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "sim/sim_bus.h"
#include "sim/sim_disc.h"
#include "sim/sim_options.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// What byte 0 of the input chooses; the rest is the text.
enum class Value : std::uint8_t { kBus, kFailure, kCorrupt, kNoDisc };
constexpr int kValues = 4;

void CheckBus(std::string_view text) {
  const auto parsed = ParseSimBus(text);
  if (!parsed.error.empty()) {
    Require(parsed.value.empty());
    return;
  }
  std::set<std::pair<int, int>> addresses;
  for (const SimRecorderSlot& slot : parsed.value) {
    Require(slot.adapter <= 7 && slot.target <= 7);
    Require(slot.vendor.size() == 8 && slot.product.size() == 16);
    Require(addresses.emplace(slot.adapter, slot.target).second);
  }
  SimBus bus(parsed.value);  // every accepted bus can be built
}

void CheckFailure(std::string_view text) {
  const auto parsed = ParseSimFailure(text);
  if (!parsed.error.empty()) return;
  const SimFailure& f = parsed.value;
  Require(f.occurrence >= 1 && f.status != 1);
  char again[32];
  std::snprintf(again, sizeof again, "%X@%u:%u", f.opcode, f.occurrence, f.status);
  const auto reparsed = ParseSimFailure(again);
  Require(reparsed.error.empty() && reparsed.value.opcode == f.opcode &&
          reparsed.value.occurrence == f.occurrence && reparsed.value.status == f.status);
}

void CheckCorrupt(std::string_view text) {
  const auto parsed = ParseSimCorrupt(text);
  if (!parsed.error.empty()) return;
  Require(parsed.value < SimDisc::kCapacity);
  Require(ParseSimCorrupt(std::to_string(parsed.value)).value == parsed.value);
}

void CheckNoDisc(std::string_view text) {
  const auto parsed = ParseSimNoDisc(text);
  if (!parsed.error.empty()) return;
  Require(ParseSimNoDisc(std::to_string(parsed.value)).value == parsed.value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(input) + 1, size - 1);
  switch (static_cast<Value>(input[0] % kValues)) {
    case Value::kBus: CheckBus(text); break;
    case Value::kFailure: CheckFailure(text); break;
    case Value::kCorrupt: CheckCorrupt(text); break;
    case Value::kNoDisc: CheckNoDisc(text); break;
  }
  return 0;
}
