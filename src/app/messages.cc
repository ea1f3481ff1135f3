#include "app/messages.h"

std::string_view StartupFailureText(FailureCode code) {
  switch (code) {
    case ErrAspiLoad: return text::kAspiLoad;
    case ErrAspiEntry: return text::kAspiEntry;
    default: return text::kSystemError;
  }
}

RecordingFailure RecordingFailureFor(FailureCode code) {
  switch (code) {
    case ErrWriteSpeed: return {"no recovery error. (WriteSpeed)", false};
    case ErrBlockLen: return {"no recovery error. (BlockLen)", false};
    case ErrWrite: return {"recovery error. (Write)", true};
    case ErrSyncCache: return {"recovery error. (SyncCache)", true};
    case ErrFixSession: return {"recovery error. (FixSession)", true};
    case ErrSendOPC: return {"recovery error. (SendOPC)", true};
    case ErrModeSense: return {"no recovery error. (ModeSence)", false};
    case ErrModeSelect: return {"no recovery error. (ModeSelect)", false};
    case ErrTrackInfo: return {"no recovery error. (TrackInfo)", false};
    case ErrFixTrack: return {"recovery error. (FixTrack)", true};
    case ErrEject: return {"recovery error. (Eject)", true};
    case ErrDiscInfo: return {"no recovery error. (DiscInfo)", false};
    case ErrRead: return {"recovery error. (Read)", true};
    default: return {"no recovery error. (others)", false};
  }
}

std::string_view RejectionText(int discImageResult) {
  switch (discImageResult) {
    case -1: return text::kFileOpenError;
    case -2: return text::kFileSizeError;
    case -3: return text::kFileFormatError;
    case -4: return text::kSumCheckError;
    default: return text::kFileError;
  }
}
