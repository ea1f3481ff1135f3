#pragma once
#include <QStyledItemDelegate>

// Draws list rows as the platform does, each of a fixed height in pixels.
class ItemHeight : public QStyledItemDelegate {
 public:
  ItemHeight(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(height_);
    return size;
  }

 private:
  int height_;
};
