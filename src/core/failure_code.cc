#include "core/failure_code.h"

#include <array>

std::string_view FailureCodeName(FailureCode code) {
  static constexpr std::array<std::string_view, kFailureCodeCount> kNames = {
      "ErrAspiLoad",  "ErrAspiEntry", "ErrWriteSpeed", "ErrBlockLen",
      "ErrWrite",     "ErrSyncCache", "ErrFixSession", "ErrSendOPC",
      "ErrModeSense", "ErrModeSelect", "ErrTrackInfo", "ErrFixTrack",
      "ErrEject",     "ErrDiscInfo",  "ErrRead",       "ErrMemory",
  };
  return code < kNames.size() ? kNames[code] : "unknown";
}
