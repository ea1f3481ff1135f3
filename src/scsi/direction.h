#pragma once
#include <cstdint>

#include "scsi/scsi_command.h"

// Which way a command's data moves. The callers never say; a platform that
// needs it derives it from the opcode.
enum class DataDirection { kNone, kIn, kOut };

// The direction the opcode implies; kNone when bufferLength is 0.
DataDirection DirectionOf(const ScsiCommand& command);

// How many bytes of the buffer should move: 0 for a command without data,
// else bufferLength clipped to the CDB's own allocation or parameter list
// length where the opcode has one (some bridges fail a longer transfer).
std::uint32_t TransferLength(const ScsiCommand& command);
