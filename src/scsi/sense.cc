#include "scsi/sense.h"

SenseCodes DecodeSense(const std::uint8_t* sense, std::size_t length) {
  if (length < 4) return {};
  const std::uint8_t format = sense[0] & 0x7F;
  if (format == 0x72 || format == 0x73) {
    return {static_cast<std::uint8_t>(sense[1] & 0x0F), sense[2], sense[3]};
  }
  if ((format == 0x70 || format == 0x71) && length >= 14) {
    return {static_cast<std::uint8_t>(sense[2] & 0x0F), sense[12], sense[13]};
  }
  return {};
}
