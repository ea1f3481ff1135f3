#include "scsi/sg_status.h"

#include "scsi/scsi_command.h"

namespace {
// Host and driver status values the Linux SCSI layer reports through sg.
constexpr std::uint16_t kHostTimedOut = 0x03;    // DID_TIME_OUT
constexpr std::uint16_t kDriverTimedOut = 0x06;  // DRIVER_TIMEOUT
constexpr std::uint16_t kDriverSense = 0x08;     // DRIVER_SENSE
constexpr std::uint16_t kDriverByteMask = 0x0F;  // high bits: suggestions
}  // namespace

std::uint8_t StatusFromSg(bool ioctlSucceeded, std::uint8_t scsiStatus,
                          std::uint16_t hostStatus,
                          std::uint16_t driverStatus) {
  if (!ioctlSucceeded) return kStatusError;
  if (hostStatus == kHostTimedOut ||
      (driverStatus & kDriverByteMask) == kDriverTimedOut) {
    return kStatusTimedOut;
  }
  if (scsiStatus == 0 && hostStatus == 0 &&
      (driverStatus & ~kDriverSense) == 0) {
    return kStatusCompleted;
  }
  return kStatusError;
}
