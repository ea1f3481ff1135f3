#pragma once
#include <cstddef>
#include <cstdint>

// Sense key, additional sense code and qualifier of a sense block.
struct SenseCodes {
  std::uint8_t key = 0;
  std::uint8_t asc = 0;
  std::uint8_t ascq = 0;
};

// Decodes fixed (70h/71h) and descriptor (72h/73h) format sense data; all
// zero for anything else or when the bytes end too soon.
SenseCodes DecodeSense(const std::uint8_t* sense, std::size_t length);
