#include "scsi/direction.h"

#include <algorithm>

#include "core/big_endian.h"

namespace {

// What an opcode moves and where its CDB says how much.
struct OpcodeRule {
  std::uint8_t opcode;
  DataDirection direction;
  std::uint8_t lengthOffset;  // first byte of the length field in the CDB
  std::uint8_t lengthBytes;   // 0: no byte count in the CDB (e.g. blocks)
};

// The commands the recorder code sends, and a few common ones. Vendor
// command 0xE6 is sent without data: its CDB carries no length at all, the
// buffer it is given only still holds the previous MODE SELECT list, and
// guessing a direction would either send 240 undefined bytes to the
// recorder or overwrite that list.
constexpr OpcodeRule kRules[] = {
    {0x00, DataDirection::kNone, 0, 0},  // TEST UNIT READY
    {0x03, DataDirection::kIn, 4, 1},    // REQUEST SENSE
    {0x08, DataDirection::kIn, 0, 0},    // READ(6)
    {0x0A, DataDirection::kOut, 0, 0},   // WRITE(6)
    {0x12, DataDirection::kIn, 3, 2},    // INQUIRY
    {0x15, DataDirection::kOut, 4, 1},   // MODE SELECT(6)
    {0x1A, DataDirection::kIn, 4, 1},    // MODE SENSE(6)
    {0x1B, DataDirection::kNone, 0, 0},  // START STOP UNIT
    {0x1E, DataDirection::kNone, 0, 0},  // PREVENT ALLOW MEDIUM REMOVAL
    {0x25, DataDirection::kIn, 0, 0},    // READ CAPACITY
    {0x28, DataDirection::kIn, 0, 0},    // READ(10)
    {0x2A, DataDirection::kOut, 0, 0},   // WRITE(10)
    {0x35, DataDirection::kNone, 0, 0},  // SYNCHRONIZE CACHE
    {0x43, DataDirection::kIn, 7, 2},    // READ TOC
    {0x46, DataDirection::kIn, 7, 2},    // GET CONFIGURATION
    {0x4A, DataDirection::kIn, 7, 2},    // GET EVENT STATUS NOTIFICATION
    {0x51, DataDirection::kIn, 7, 2},    // READ DISC INFORMATION
    {0x52, DataDirection::kIn, 7, 2},    // READ TRACK INFORMATION
    {0x54, DataDirection::kOut, 7, 2},   // SEND OPC INFORMATION
    {0x55, DataDirection::kOut, 7, 2},   // MODE SELECT(10)
    {0x5A, DataDirection::kIn, 7, 2},    // MODE SENSE(10)
    {0x5B, DataDirection::kNone, 0, 0},  // CLOSE TRACK/SESSION
    {0x5C, DataDirection::kIn, 7, 2},    // READ BUFFER CAPACITY
    {0xA8, DataDirection::kIn, 0, 0},    // READ(12)
    {0xAA, DataDirection::kOut, 0, 0},   // WRITE(12)
    {0xBB, DataDirection::kNone, 0, 0},  // SET CD SPEED
    {0xBE, DataDirection::kIn, 0, 0},    // READ CD
    {0xE6, DataDirection::kNone, 0, 0},  // vendor: see above
    {0xE9, DataDirection::kNone, 0, 0},  // vendor: fixate
};

const OpcodeRule* RuleFor(std::uint8_t opcode) {
  for (const OpcodeRule& rule : kRules) {
    if (rule.opcode == opcode) return &rule;
  }
  return nullptr;
}

}  // namespace

DataDirection DirectionOf(const ScsiCommand& command) {
  if (command.bufferLength == 0) return DataDirection::kNone;
  const OpcodeRule* rule = RuleFor(command.cdb[0]);
  // An unknown opcode reads: filling the caller's buffer cannot harm the
  // disc, sending it might.
  return rule ? rule->direction : DataDirection::kIn;
}

std::uint32_t TransferLength(const ScsiCommand& command) {
  if (DirectionOf(command) == DataDirection::kNone) return 0;
  const OpcodeRule* rule = RuleFor(command.cdb[0]);
  if (!rule || rule->lengthBytes == 0 ||
      rule->lengthOffset + rule->lengthBytes > command.cdbLength) {
    return command.bufferLength;
  }
  const std::uint8_t* field = command.cdb + rule->lengthOffset;
  const std::uint32_t stated =
      rule->lengthBytes == 1 ? field[0] : ReadBE16(field);
  return std::min(command.bufferLength, stated);
}
