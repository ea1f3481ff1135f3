#pragma once
#include <vector>

#include "sim/sim_options.h"

// The bus the SimBus fuzzer runs on: every model the simulator knows, model
// i at adapter i / 8, target i % 8, then one recorder that no table knows.
std::vector<SimRecorderSlot> FuzzBusRecorders();
