#include "sim/sim_model.h"

#include <array>

namespace {

// Page lengths follow from the mode data length each family's firmware
// reports: 0x36 on the models whose page carries four vendor bytes more.
constexpr std::array<SimModel, 25> kModels = {{
    {"YAMAHA  ", "CDR100          ", 0x32, true},
    {"YAMAHA  ", "CDR400t         ", 0x36},
    {"YAMAHA  ", "CDR400c         ", 0x36},
    {"YAMAHA  ", "CRW4416S        ", 0x36},
    {"YAMAHA  ", "CRW4260         ", 0x36},
    {"MATSHITA", "CD-R   CW-7502  ", 0x36},
    {"PLEXTOR ", "CD-R   PX-R412C ", 0x32},
    {"PLEXTOR ", "CD-R   PX-R820T ", 0x32},
    {"MATSHITA", "UJDA310         ", 0x32},
    {"MATSHITA", "CD-RW  CW-7585  ", 0x32},
    {"GENERIC ", "CRD-BP1400P     ", 0x32},
    {"YAMAHA  ", "CRW2100E        ", 0x36},
    {"TEAC    ", "CD-W516EB       ", 0x32},
    {"TEAC    ", "CD-W512EB       ", 0x32},
    {"PLEXTOR ", "CD-R   PX-W1210A", 0x32},
    {"PLEXTOR ", "CD-R   PX-W2410A", 0x32},
    {"PLEXTOR ", "CD-R   PX-W1610A", 0x32},
    {"GENERIC ", "CRD-BP1500P     ", 0x32},
    {"TEAC    ", "CD-W524E        ", 0x32},
    {"TEAC    ", "CD-W24E         ", 0x32},
    {"TEAC    ", "CD-W28E         ", 0x32},
    {"PLEXTOR ", "CD-R   PX-S88T  ", 0x32},
    {"LITE-ON ", "LTR-52246S      ", 0x32},
    {"TEAC    ", "CD-W552E        ", 0x32},
    {"TEAC    ", "CD-W540E        ", 0x32},
}};

}  // namespace

std::span<const SimModel> SimModels() { return kModels; }

SimModel FindSimModel(std::string_view vendor, std::string_view product) {
  for (const SimModel& model : kModels) {
    if (model.vendor == vendor && model.product == product) return model;
  }
  return SimModel{};
}
