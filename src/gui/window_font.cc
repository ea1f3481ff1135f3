#include "gui/window_font.h"

#include <QApplication>

namespace {
// The controls are laid out in pixels for rows of 18 and edits of 26.
constexpr int kPixelSize = 12;
}  // namespace

QFont WindowFont() {
  QFont font = QApplication::font();
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kPixelSize);
  return font;
}
