#pragma once
#include <QDialog>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

// The modal recorder selection dialog "Drive Select": one line per
// supported recorder found, the first selected, OK the default button.
class TSelectDrive : public QDialog {
  Q_OBJECT

 public:
  explicit TSelectDrive(const std::vector<std::string>& lines, QWidget* parent = nullptr);

  // Shows the dialog modally: the line chosen with OK, or nothing when the
  // dialog was closed otherwise.
  std::optional<std::size_t> Choose();

  QPushButton* OKBtn;
  QListWidget* DriveList;
  QLabel* Label1;

 private:
  // Takes the selected line and closes the dialog; without one it stays open.
  void OKBtnClick();

  std::optional<std::size_t> chosen_;
};
