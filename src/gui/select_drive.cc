#include "gui/select_drive.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/messages.h"
#include "gui/item_height.h"
#include "gui/qt_text.h"
#include "gui/window_font.h"

namespace {
constexpr int kClientWidth = 384;
constexpr int kClientHeight = 156;
constexpr int kItemHeight = 18;
}  // namespace

TSelectDrive::TSelectDrive(const std::vector<std::string>& lines, QWidget* parent)
    : QDialog(parent),
      OKBtn(new QPushButton(this)),
      DriveList(new QListWidget(this)),
      Label1(new QLabel(this)) {
  setObjectName("SelectDrive");
  setWindowTitle(ToQString(text::kDialogTitle));
  setFont(WindowFont());
  setFixedSize(kClientWidth, kClientHeight);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  Label1->setObjectName("Label1");
  Label1->setTextFormat(Qt::PlainText);
  Label1->setText(ToQString(text::kDialogLabel));
  Label1->setGeometry(8, 0, 138, 18);

  DriveList->setObjectName("DriveList");
  DriveList->setGeometry(0, 16, 321, 137);
  DriveList->setSelectionMode(QAbstractItemView::SingleSelection);
  DriveList->setItemDelegate(new ItemHeight(kItemHeight, DriveList));
  for (const auto& line : lines) DriveList->addItem(ToQString(line));
  if (DriveList->count() > 0) DriveList->setCurrentRow(0);

  OKBtn->setObjectName("OKBtn");
  OKBtn->setText("OK");
  OKBtn->setGeometry(328, 128, 55, 25);
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &TSelectDrive::OKBtnClick);

  setTabOrder(OKBtn, DriveList);
  OKBtn->setFocus();
}

std::optional<std::size_t> TSelectDrive::Choose() {
  chosen_.reset();
  exec();
  return chosen_;
}

void TSelectDrive::OKBtnClick() {
  const QList<QListWidgetItem*> selected = DriveList->selectedItems();
  if (selected.isEmpty()) return;
  chosen_ = static_cast<std::size_t>(DriveList->row(selected.front()));
  accept();
}
