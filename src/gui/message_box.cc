#include "gui/message_box.h"

#include <QMessageBox>

#include "app/messages.h"
#include "gui/qt_text.h"
#include "gui/window_font.h"

Answer ShowMessageBox(QWidget* parent, const std::string& text, Buttons buttons) {
  QMessageBox box(parent);
  box.setWindowTitle(ToQString(text::kCaption));
  box.setIcon(QMessageBox::NoIcon);
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQString(text));
  box.setFont(WindowFont());
  const bool ask = buttons == Buttons::OkCancel;
  box.setStandardButtons(ask ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(ask ? QMessageBox::Cancel : QMessageBox::Ok);
  box.exec();
  if (!ask) return Answer::Ok;
  // Anything but OK, a box closed by the application shutting down included.
  return box.clickedButton() == box.button(QMessageBox::Ok) ? Answer::Ok : Answer::Cancel;
}
