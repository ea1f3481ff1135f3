#pragma once
#include <cstdint>

// The one command record handed to the transport. The caller owns it and
// the buffer it points to.
struct ScsiCommand {
  std::uint8_t cdb[16] = {};    // only the first cdbLength bytes are sent
  std::uint8_t cdbLength = 0;   // 6, 10 or 12
  std::uint8_t sense[14] = {};  // written back after every command sent
  std::uint32_t timeoutMs = 0;
  std::uint8_t* buffer = nullptr;  // need not be set when bufferLength is 0
  std::uint32_t bufferLength = 0;  // 0 for a command without data
};

// Execute's status: 1 is the one value meaning "completed without error";
// 0 means the command was still pending at its time limit.
inline constexpr std::uint8_t kStatusCompleted = 1;
inline constexpr std::uint8_t kStatusTimedOut = 0;
// Further failure values, as ASPI reports them.
inline constexpr std::uint8_t kStatusNotSent = 2;  // nothing was sent
inline constexpr std::uint8_t kStatusError = 4;    // the command failed
inline constexpr std::uint8_t kStatusInvalidCommand = 0x80;  // malformed record
inline constexpr std::uint8_t kStatusInvalidAdapter = 0x81;  // no such adapter
inline constexpr std::uint8_t kStatusNoDevice = 0x82;  // nothing usable there
