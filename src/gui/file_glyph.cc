#include "gui/file_glyph.h"

#include <QApplication>
#include <QStyle>

QIcon FileGlyph::icon(IconType) const {
  return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

QIcon FileGlyph::icon(const QFileInfo&) const { return icon(File); }
