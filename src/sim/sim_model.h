#pragma once
#include <cstdint>
#include <span>
#include <string_view>

// How one recorder model behaves where models differ.
struct SimModel {
  std::string_view vendor;   // 8 characters, blank padded
  std::string_view product;  // 16 characters, blank padded
  // Page length byte of its Write Parameters page (0x32 or 0x36).
  std::uint8_t writePageLength = 0x32;
  // Records through its own vendor commands (MODE SELECT of page 31h, E6h,
  // WRITE(6), E9h) instead of the MMC recording commands.
  bool vendorCommands = false;
};

// Every model the simulator knows by name.
std::span<const SimModel> SimModels();

// The model with this identity; for an unknown one a generic MMC recorder
// (empty names, page length 0x32, no vendor commands).
SimModel FindSimModel(std::string_view vendor, std::string_view product);
