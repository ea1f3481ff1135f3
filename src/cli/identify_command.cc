#include "cli/identify_command.h"

#include <nlohmann/json.hpp>

#include "app/image_selection.h"
#include "image/bin_file.h"

int RunIdentify(const std::string& path, bool json, std::ostream& out) {
  BinFile binFile;
  const Selection s = SelectImage(binFile, path);
  if (json) {
    nlohmann::ordered_json j;
    j["accepted"] = s.accepted;
    j["imageKind"] = s.accepted ? nlohmann::ordered_json(static_cast<int>(s.imageKind))
                                : nlohmann::ordered_json(nullptr);
    j["fileName"] = s.fileName;
    j["fileVersion"] = s.fileVersion;
    j["fileType"] = s.fileType;
    j["message"] = s.message;
    // Texts come from the file itself: never let a stray byte break the line.
    out << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else if (s.accepted) {
    static const char* const kKindNames[] = {"firmware image", "recorder firmware file",
                                             "disc image"};
    out << "File name:    " << s.fileName << '\n'
        << "File version: " << s.fileVersion << '\n'
        << "File Type:    " << s.fileType << '\n'
        << "Image kind:   " << static_cast<int>(s.imageKind) << " ("
        << kKindNames[s.imageKind] << ")\n";
  } else {
    out << s.message << '\n';
  }
  return s.accepted ? 0 : 1;
}
