#pragma once
#include <cstdint>
#include <span>
#include <string_view>

// How the 16-bit words of a headed firmware image are read for its sum.
enum class WordOrder : std::uint8_t { kNone, kBigEndian, kLittleEndian };

// One row of the firmware model table. Rows of one maker are adjacent; an
// empty `model` is not compared (the raw firmware image).
struct FirmwareModel {
  std::string_view maker;        // compared at header byte 0
  std::string_view model;        // compared at header byte 32
  std::uint8_t kind;             // 0 raw, 1 headed
  std::string_view displayName;  // becomes modelName
  WordOrder wordOrder;
};

// Every supported firmware model, in the order they are tried.
std::span<const FirmwareModel> FirmwareModels();
