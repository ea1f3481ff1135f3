#include "image/firmware_models.h"

#include <array>

namespace {

constexpr WordOrder kBE = WordOrder::kBigEndian;
constexpr WordOrder kLE = WordOrder::kLittleEndian;

constexpr std::array<FirmwareModel, 18> kModels = {{
    {"ZN7300 ", "", 0, "ZN7300", WordOrder::kNone},
    {"VELDAN MACHINE", "TPX-5810", 1, "TPX-5810", kBE},
    {"VELDAN MACHINE", "TPX-5110", 1, "TPX-5110", kLE},
    {"VELDAN MACHINE", "TPX-5610", 1, "TPX-5610", kBE},
    {"VELDAN MACHINE", "GoBurner", 1, "GoBurner", kLE},
    {"VELDAN MACHINE", "TPX-5210", 1, "TPX-5210", kBE},
    {"VELDAN MACHINE", "Fennimor", 1, "Fennimor", kLE},
    {"VELDAN MACHINE", "TPX-5310", 1, "TPX-5310", kBE},
    {"VELDAN MACHINE", "RWQ-32", 1, "RWQ-32", kBE},
    {"VELDAN MACHINE", "TPX-590", 1, "QP7000", kLE},
    {"VELDAN MACHINE", "TPX-5410", 1, "TPX-5410", kBE},
    {"VELDAN MACHINE", "TPX-5280", 1, "TPX-5280", kBE},
    {"VELDAN MACHINE", "AnyDup Tower", 1, "AnyDup Tower", kLE},
    {"VELDAN MACHINE", "TPX-5230", 1, "TPX-5230", kBE},
    {"VELDAN MACHINE", "TPX-5430", 1, "TPX-5430", kBE},
    {"PELLIGRAFIX     ", "Pebblework      ", 1, "Pebblework", kLE},
    {"PELLIGRAFIX     ", "Cobalt 2", 1, "Cobalt 2", kLE},
    {"RONDEL", "RX-Q4", 1, "RX-Q4", kBE},
}};

}  // namespace

std::span<const FirmwareModel> FirmwareModels() { return kModels; }
