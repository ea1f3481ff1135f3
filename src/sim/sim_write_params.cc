#include "sim/sim_write_params.h"

#include <algorithm>

#include "core/big_endian.h"

namespace {

// Power-on values: savable page, buffer underrun protection on, packet
// writing of audio blocks. A recorder must be set up before it records data.
std::vector<std::uint8_t> DefaultPage(std::uint8_t pageLength) {
  std::vector<std::uint8_t> page(2u + pageLength, 0);
  page[0] = 0x80 | SimWriteParams::kPageCode;  // PS set
  page[1] = pageLength;
  page[2] = 0x40;  // BUFE, Test Write 0, Write Type 0 (packet)
  page[3] = 0x00;  // Multi-session 00b, Track Mode 0 (audio)
  page[4] = 0x00;  // Data Block Type 0 (raw 2352 bytes)
  page[5] = 7;     // link size
  WriteBE16(&page[14], 150);  // audio pause length
  return page;
}

bool ValidDataBlockType(std::uint8_t type) {
  return type <= 3 || (type >= 8 && type <= 13);
}

}  // namespace

SimWriteParams::SimWriteParams(std::uint8_t pageLength)
    : defaults_(DefaultPage(pageLength)), current_(defaults_) {}

std::vector<std::uint8_t> SimWriteParams::Page(std::uint8_t pc) const {
  switch (pc) {
    case 0:
      return current_;
    case 1: {
      std::vector<std::uint8_t> mask(current_.size(), 0xFF);
      mask[0] = current_[0];
      mask[1] = current_[1];
      return mask;
    }
    default:
      return defaults_;
  }
}

std::optional<SimSense> SimWriteParams::Check(
    std::span<const std::uint8_t> page) const {
  const bool valid =
      page.size() == current_.size() &&
      page[0] == kPageCode &&  // PS and SPF are reserved in MODE SELECT
      page[1] == current_[1] &&
      (page[2] & 0x0F) <= 3 &&             // write type
      (page[3] >> 6) != 2 &&               // multi-session 10b is reserved
      (page[3] & 0x0C) != 0x0C &&          // no four-channel data track
      ValidDataBlockType(page[4] & 0x0F) &&
      (page[8] == 0x00 || page[8] == 0x10 || page[8] == 0x20);
  if (!valid) return kSenseInvalidParameterField;
  return std::nullopt;
}

void SimWriteParams::Set(std::span<const std::uint8_t> page) {
  // Code and length stay: the page remains savable whatever was sent.
  std::copy(page.begin() + 2, page.end(), current_.begin() + 2);
}

bool SimWriteParams::TrackAtOnceData() const {
  return (current_[2] & 0x0F) == 1 && (current_[3] & 0x0F) == 4 &&
         (current_[4] & 0x0F) == 8;
}
