#pragma once
#include <cstdint>
#include <memory>

#include "scsi/backend.h"
#include "sim/sim_bus.h"

// A simulated bus from which one recorder disappears, as when its cable is
// pulled: from the command numbered `from` (counted from 0 over the whole
// bus) on, that address answers as an empty one does.
class VanishingBackend : public Backend {
 public:
  VanishingBackend(std::shared_ptr<SimBus> bus, std::uint8_t adapter, std::uint8_t target,
                   std::size_t from);

  std::uint8_t AdapterCount() override;
  CommandResult Run(std::uint8_t adapter, std::uint8_t target, ScsiCommand& command) override;

 private:
  std::shared_ptr<SimBus> bus_;
  std::uint8_t adapter_;
  std::uint8_t target_;
  std::size_t from_;
  std::size_t sent_ = 0;
};
