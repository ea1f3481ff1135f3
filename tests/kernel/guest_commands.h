#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "scsi/scsi.h"
#include "scsi/sense.h"

// The time limits the recorder code gives its commands.
inline constexpr std::uint32_t kShortTimeoutMs = 30000;
inline constexpr std::uint32_t kLongTimeoutMs = 900000;

// What one command sent through SCSI came back with.
struct Reply {
  std::uint8_t status = 0;
  SenseCodes sense;                // as SCSI decoded it
  std::vector<std::uint8_t> data;  // the whole buffer after the command
};

// Sends `cdb` to adapter 0, `target` with a buffer of `length` bytes that
// starts as `out` (zero-filled beyond it).
Reply Send(SCSI& scsi, std::uint8_t target,
           const std::vector<std::uint8_t>& cdb, std::uint32_t length,
           const std::vector<std::uint8_t>& out = {},
           std::uint32_t timeoutMs = kShortTimeoutMs);

// READ(10) or WRITE(10) of `count` sectors at `lba`.
std::vector<std::uint8_t> Read10(std::uint32_t lba, std::uint16_t count);
std::vector<std::uint8_t> Write10(std::uint32_t lba, std::uint16_t count);

// "status 4, sense 5/21/00", for messages.
std::string Describe(const Reply& reply);
// "5/21/00".
std::string SenseText(const SenseCodes& sense);
