#pragma once
#include <QString>
#include <QTreeWidget>

// A directory list box: the chain of open directories with the
// subdirectories of the last under it, always expanded, so it draws no
// expand and collapse marks.
class DirectoryList : public QTreeWidget {
 public:
  explicit DirectoryList(QWidget* parent = nullptr);

 protected:
  void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
};

// Fills `tree` as a directory list box shows a directory: the chain of
// directories from the volume's mount point `volume` down to `directory`,
// each open and indented under its parent, then the subdirectories of
// `directory` in name order. The item of `directory` is the current one.
void ShowDirectory(QTreeWidget& tree, const QString& volume, const QString& directory);

// The absolute path of the directory an item of ShowDirectory stands for.
QString DirectoryOf(const QTreeWidgetItem& item);
