#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/sim_sense.h"

// The Write Parameters mode page (05h) of one recorder.
class SimWriteParams {
 public:
  static constexpr std::uint8_t kPageCode = 0x05;

  // pageLength: the page length byte this model reports (0x32 or 0x36).
  explicit SimWriteParams(std::uint8_t pageLength);

  // Bytes the page takes, its code and length bytes included.
  std::size_t Size() const { return current_.size(); }
  // The page as MODE SENSE returns it for page control pc (0 current,
  // 1 changeable, 2 default, 3 saved: nothing is ever saved).
  std::vector<std::uint8_t> Page(std::uint8_t pc) const;
  // Why MODE SELECT may not set this page, or nothing when it may.
  std::optional<SimSense> Check(std::span<const std::uint8_t> page) const;
  // Takes a page that Check accepted.
  void Set(std::span<const std::uint8_t> page);

  // Track at once, data track recorded uninterrupted, Mode 1 blocks.
  bool TrackAtOnceData() const;
  // Test Write: the laser stays off and nothing is recorded.
  bool TestWrite() const { return (current_[2] & 0x10) != 0; }
  // Multi-session 00b: closing the session finalizes the disc.
  bool FinalizeOnClose() const { return (current_[3] & 0xC0) == 0; }

 private:
  std::vector<std::uint8_t> defaults_;
  std::vector<std::uint8_t> current_;
};
