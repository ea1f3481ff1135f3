#pragma once
#include <cstdint>

// Sense key, additional sense code and qualifier with which a simulated
// recorder refuses a command.
struct SimSense {
  std::uint8_t key = 0;
  std::uint8_t asc = 0;
  std::uint8_t ascq = 0;

  friend bool operator==(const SimSense&, const SimSense&) = default;
};

inline constexpr SimSense kSenseNoMedium{0x02, 0x3A, 0x00};
inline constexpr SimSense kSenseParameterListLength{0x05, 0x1A, 0x00};
inline constexpr SimSense kSenseInvalidOpcode{0x05, 0x20, 0x00};
inline constexpr SimSense kSenseLbaOutOfRange{0x05, 0x21, 0x00};
inline constexpr SimSense kSenseInvalidWriteAddress{0x05, 0x21, 0x02};
inline constexpr SimSense kSenseInvalidCdbField{0x05, 0x24, 0x00};
inline constexpr SimSense kSenseInvalidParameterField{0x05, 0x26, 0x00};
inline constexpr SimSense kSenseSequenceError{0x05, 0x2C, 0x00};
inline constexpr SimSense kSenseIncompleteTrack{0x05, 0x72, 0x03};
// What an injected failure reports: the recorder broke down.
inline constexpr SimSense kSenseInternalFailure{0x04, 0x44, 0x00};

// Writes `code` as fixed-format sense data (response code 70h) into the 14
// bytes a command record carries.
void WriteFixedSense(const SimSense& code, std::uint8_t (&sense)[14]);
