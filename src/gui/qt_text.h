#pragma once
#include <QString>
#include <string_view>

// The controller's texts are UTF-8 (paths as the file system spells them).
inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
