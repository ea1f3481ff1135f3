#include "gui/directory_tree.h"

#include <QApplication>
#include <QDir>
#include <QStyle>
#include <QTreeWidget>

#include "gui/item_height.h"

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kIndent = 12;
constexpr int kItemHeight = 18;

QTreeWidgetItem* AddItem(QTreeWidget& tree, QTreeWidgetItem* parent, const QString& text,
                         const QString& path, QStyle::StandardPixmap icon) {
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(&tree);
  item->setText(0, text);
  item->setData(0, kPathRole, path);
  item->setIcon(0, tree.style()->standardIcon(icon));
  return item;
}

// The directories from `volume` down to `directory`, both included.
QStringList Chain(const QString& volume, const QString& directory) {
  QStringList chain{volume};
  const QString rest = QDir(volume).relativeFilePath(directory);
  if (rest == "." || rest.isEmpty() || rest.startsWith("..")) return chain;
  QString path = volume;
  for (const QString& name : rest.split('/', Qt::SkipEmptyParts)) {
    path = QDir(path).filePath(name);
    chain << path;
  }
  return chain;
}

}  // namespace

DirectoryList::DirectoryList(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setIndentation(kIndent);
  setUniformRowHeights(true);
  setItemDelegate(new ItemHeight(kItemHeight, this));
}

void ShowDirectory(QTreeWidget& tree, const QString& volume, const QString& directory) {
  tree.clear();
  QTreeWidgetItem* item = nullptr;
  for (const QString& path : Chain(volume, directory)) {
    const QString name = item ? QDir(path).dirName() : path;
    item = AddItem(tree, item, name, path, QStyle::SP_DirOpenIcon);
  }
  QTreeWidgetItem* current = item;
  const QDir dir(DirectoryOf(*current));
  const QStringList children =
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& name : children) {
    AddItem(tree, current, name, dir.filePath(name), QStyle::SP_DirClosedIcon);
  }
  tree.expandAll();
  tree.setCurrentItem(current);
  tree.scrollToItem(current, QAbstractItemView::PositionAtCenter);
}

QString DirectoryOf(const QTreeWidgetItem& item) { return item.data(0, kPathRole).toString(); }
