#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "guest_report.h"

// The Linux backend checked through SCSI against the guest's drives:
// numbering, INQUIRY, readiness, READ(10) data against `medium` (the image
// file's bytes), the commands the drive refuses, the trace lines.
void RunTransportChecks(Report& report,
                        const std::vector<std::uint8_t>& medium);
// Eject of the type-7 drive refused while its sr node is open, then eject
// and load while it is claimed as a recording claims it; run last, since it
// leaves the tray as it found it only when the load works.
void RunEjectChecks(Report& report);
// The names of the checks of both, in the order they report.
std::vector<std::string> TransportCheckNames();
