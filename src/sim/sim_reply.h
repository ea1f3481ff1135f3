#pragma once
#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>

#include "sim/sim_sense.h"

// How a simulated recorder ended one command.
struct SimReply {
  enum class Kind : std::uint8_t {
    kGood,            // completed without error
    kCheckCondition,  // refused with sense
    kTransferError,   // the data did not fit the caller's buffer; the device
                      // gave no sense, as after a host adapter overrun
  };
  Kind kind = Kind::kGood;
  SimSense sense;           // kCheckCondition only
  std::uint32_t moved = 0;  // bytes of the buffer that moved, kGood only
};

inline SimReply Good(std::uint32_t moved = 0) {
  return {SimReply::Kind::kGood, {}, moved};
}
inline SimReply Check(const SimSense& sense) {
  return {SimReply::Kind::kCheckCondition, sense, 0};
}
inline SimReply TransferError() { return {SimReply::Kind::kTransferError, {}, 0}; }

// The caller's data buffer. Every byte a command moves goes through here,
// so nothing reaches past bufferLength.
class SimBuffer {
 public:
  // A null data pointer counts as an empty buffer.
  SimBuffer(std::uint8_t* data, std::uint32_t length)
      : bytes_(data, data ? length : 0) {}

  // Data in: copies as much of `bytes` as `limit` (the allocation length)
  // and the buffer allow.
  SimReply Give(std::span<const std::uint8_t> bytes, std::uint32_t limit) const {
    const std::size_t n = std::min({bytes.size(), std::size_t{limit}, bytes_.size()});
    std::copy_n(bytes.begin(), n, bytes_.begin());
    return Good(static_cast<std::uint32_t>(n));
  }
  // Data out: the first n bytes the caller sent; nothing when it holds fewer.
  std::optional<std::span<const std::uint8_t>> Take(std::size_t n) const {
    if (n > bytes_.size()) return std::nullopt;
    return bytes_.first(n);
  }
  // Data in of a fixed size: room for exactly n bytes, or nothing.
  std::optional<std::span<std::uint8_t>> Room(std::size_t n) const {
    if (n > bytes_.size()) return std::nullopt;
    return bytes_.first(n);
  }

 private:
  std::span<std::uint8_t> bytes_;
};
