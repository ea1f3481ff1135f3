#include "app/image_selection.h"

#include "app/messages.h"
#include "core/failure_code.h"
#include "image/bin_file.h"

namespace {

Selection Identify(BinFile& binFile, const std::string& path) {
  Selection s;
  s.fileName = path;
  if (binFile.IdentifyFirmware(path) == 0) {
    binFile.ReadVersion(path, s.fileVersion);
    // The raw image's layout reads the version again from this stored path.
    binFile.SetFilePath(path);
    s.fileType = binFile.modelName;
    s.imageKind = kFirmwareImage;
    s.accepted = true;
    return s;
  }
  if (binFile.IdentifyRecorderFirmware(path) == 0) {
    s.fileVersion = binFile.recorderVersion;
    s.fileType = binFile.recorderVendor + binFile.recorderProduct;
    s.imageKind = kRecorderFirmware;
    s.accepted = true;
    return s;
  }
  const std::int16_t result = binFile.IdentifyDiscImage(path);
  if (result == 0) {
    binFile.ReadVersion(path, s.fileVersion);
    s.fileType = binFile.modelName;
    s.imageKind = kDiscImage;
    s.accepted = true;
    return s;
  }
  return Selection{.message = std::string(RejectionText(result))};
}

}  // namespace

Selection SelectImage(BinFile& binFile, const std::string& path) {
  try {
    return Identify(binFile, path);
  } catch (FailureCode code) {
    if (code != ErrMemory) throw;
    return Selection{.message = std::string(text::kMemoryError)};
  }
}
