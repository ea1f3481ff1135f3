#pragma once
#include <cstdint>

// Where MODE SENSE puts the Write Parameters page (05h).
enum class ModeLayout : std::uint8_t {
  kSixByte,  // 4-byte header and 8-byte block descriptor: page at byte 12
  kTenByte,  // 8-byte header, no block descriptor: page at byte 8
};

// Edits mode data of the Write Parameters page in place for the disc this
// program writes: track at once, no test write, no next session, a data
// track of Mode 1 sectors of 2048 bytes, CD-ROM session format. Every other
// byte keeps what the recorder returned.
void EditWriteParameters(std::uint8_t* modeData, ModeLayout layout);
