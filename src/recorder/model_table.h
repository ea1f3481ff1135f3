#pragma once
#include <array>
#include <cstdint>

// One row of the supported recorder table.
struct RecorderModel {
  std::array<char, 8> vendor{};    // blank-padded, no terminator
  std::array<char, 16> product{};  // blank-padded, no terminator
  std::uint8_t recorderType = 0;  // 1..9; 0 only in the row that ends the table
};

inline constexpr int kModelTableRows = 26;

// The supported recorders with their RecorderType; the last row (blanks,
// type 0) ends the table.
const std::array<RecorderModel, kModelTableRows>& SupportedRecorderModels();

// The row of `table` before its end row whose vendor and product equal the
// 8 + 16 bytes of an INQUIRY answer byte for byte; null when none does.
const RecorderModel* MatchModel(
    const std::array<RecorderModel, kModelTableRows>& table,
    const std::uint8_t* vendor, const std::uint8_t* product);
