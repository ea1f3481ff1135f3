#include "recorder/strategy.h"

#include <iterator>

namespace {

using enum SetupFamily;
using enum WriteAddress;

// Indexed by RecorderType - 1.
constexpr Strategy kStrategies[] = {
    {kType1, kFieldZero, 0, false, Closing::kType1},  // 1
    {kMode6, kQueried, 64, true, Closing::kMmc},      // 2
    {kMode6, kTracked, 68, true, Closing::kMmc},      // 3
    {kMode6, kTracked, 64, false, Closing::kMmc},     // 4
    {kMode6, kQueried, 68, true, Closing::kMmc},      // 5
    {kMode10, kQueried, 60, true, Closing::kMmc},     // 6
    {kMode10, kTracked, 60, true, Closing::kMmc},     // 7
    {kMode10, kQueried, 64, true, Closing::kMmc},     // 8
    {kMode10, kTracked, 60, false, Closing::kMmc},    // 9
};

}  // namespace

const Strategy* StrategyFor(std::uint8_t recorderType) {
  if (recorderType < 1 || recorderType > std::size(kStrategies)) return nullptr;
  return &kStrategies[recorderType - 1];
}
