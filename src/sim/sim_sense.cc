#include "sim/sim_sense.h"

#include <algorithm>
#include <iterator>

void WriteFixedSense(const SimSense& code, std::uint8_t (&sense)[14]) {
  std::fill(std::begin(sense), std::end(sense), 0);
  sense[0] = 0x70;
  sense[2] = code.key;
  sense[7] = 10;  // additional length of the full 18-byte block
  sense[12] = code.asc;
  sense[13] = code.ascq;
}
