#include "fuzz_bus.h"

#include "sim/sim_model.h"

std::vector<SimRecorderSlot> FuzzBusRecorders() {
  std::vector<SimRecorderSlot> slots;
  auto place = [&slots](std::string_view vendor, std::string_view product) {
    const auto index = static_cast<std::uint8_t>(slots.size());
    slots.push_back({static_cast<std::uint8_t>(index / 8), static_cast<std::uint8_t>(index % 8),
                     std::string(vendor), std::string(product)});
  };
  for (const SimModel& model : SimModels()) place(model.vendor, model.product);
  place("ACME    ", "CD-R GENERIC    ");
  return slots;
}
