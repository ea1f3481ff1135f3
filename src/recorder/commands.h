#pragma once
#include <cstdint>
#include <initializer_list>

#include "scsi/scsi_command.h"

// Time limits of the recorder commands.
inline constexpr std::uint32_t kShortTimeoutMs =
    30000;  // inquiries, modes, reads
inline constexpr std::uint32_t kLongTimeoutMs =
    900000;  // writes, calibration, closing

// A command of cdbLength bytes whose first bytes are `leading` (the rest 0).
ScsiCommand MakeCommand(std::uint8_t cdbLength,
                        std::initializer_list<std::uint8_t> leading,
                        std::uint32_t timeoutMs, std::uint8_t* buffer = nullptr,
                        std::uint32_t bufferLength = 0);
