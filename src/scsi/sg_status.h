#pragma once
#include <cstdint>

// The status Execute reports for one SG_IO call: 1 only when the ioctl
// succeeded and the SCSI, host and driver status all say success (the
// driver's sense-valid bit aside); 0 when the command timed out; 4 (a
// device error, as ASPI reports it) for anything else.
std::uint8_t StatusFromSg(bool ioctlSucceeded, std::uint8_t scsiStatus,
                          std::uint16_t hostStatus, std::uint16_t driverStatus);
