#pragma once
#include <cstdint>
#include <string_view>

// A failure below the operator dialogue. Thrown as the bare value
// (`throw ErrWrite;`, caught as `catch (FailureCode code)`), never wrapped.
enum FailureCode : std::uint16_t {
  ErrAspiLoad = 0,     // the platform SCSI layer is missing
  ErrAspiEntry = 1,    // the platform SCSI layer is present but unusable
  ErrWriteSpeed = 2,
  ErrBlockLen = 3,
  ErrWrite = 4,
  ErrSyncCache = 5,
  ErrFixSession = 6,
  ErrSendOPC = 7,
  ErrModeSense = 8,
  ErrModeSelect = 9,
  ErrTrackInfo = 10,
  ErrFixTrack = 11,
  ErrEject = 12,
  ErrDiscInfo = 13,
  ErrRead = 14,
  ErrMemory = 15,
};

inline constexpr int kFailureCodeCount = 16;

// The code's name as written in the source ("ErrWrite"); "unknown" outside 0..15.
std::string_view FailureCodeName(FailureCode code);
