#pragma once
#include <QAbstractFileIconProvider>

// The glyph before each name of the file list: the style's file icon, which
// every platform has, where an icon theme may have none.
class FileGlyph : public QAbstractFileIconProvider {
 public:
  QIcon icon(IconType type) const override;
  QIcon icon(const QFileInfo& info) const override;
};
