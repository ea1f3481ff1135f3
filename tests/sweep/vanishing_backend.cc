#include "vanishing_backend.h"

namespace {

// Target 7 of adapter 7 stays empty on every bus the sweep builds.
constexpr std::uint8_t kEmptyAdapter = 7;
constexpr std::uint8_t kEmptyTarget = 7;

}  // namespace

VanishingBackend::VanishingBackend(std::shared_ptr<SimBus> bus, std::uint8_t adapter,
                                   std::uint8_t target, std::size_t from)
    : bus_(std::move(bus)), adapter_(adapter), target_(target), from_(from) {}

std::uint8_t VanishingBackend::AdapterCount() { return bus_->AdapterCount(); }

CommandResult VanishingBackend::Run(std::uint8_t adapter, std::uint8_t target,
                                    ScsiCommand& command) {
  const bool gone = sent_++ >= from_ && adapter == adapter_ && target == target_;
  // The bus's own answer for an address where nothing is.
  if (gone) return bus_->Run(kEmptyAdapter, kEmptyTarget, command);
  return bus_->Run(adapter, target, command);
}
