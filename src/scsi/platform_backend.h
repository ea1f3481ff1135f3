#pragma once
#include "scsi/backend.h"

// The factory of this platform's real SCSI backend (Linux: SG_IO).
BackendFactory PlatformBackendFactory();
