#include "gui/file_list_model.h"

FileListModel::FileListModel(QObject* parent) : QSortFilterProxyModel(parent) {
  files_.setIconProvider(&glyph_);
  files_.setFilter(QDir::Files | QDir::NoDotAndDotDot);
  files_.setNameFilters({"*.BIN"});  // matched regardless of case
  files_.setNameFilterDisables(false);
  setSourceModel(&files_);
}

QModelIndex FileListModel::SetDirectory(const QString& directory) {
  directory_ = files_.setRootPath(directory);
  invalidateFilter();
  return mapFromSource(directory_);
}

QString FileListModel::Directory() const { return files_.rootPath(); }

QString FileListModel::FilePath(const QModelIndex& index) const {
  return files_.filePath(mapToSource(index));
}

bool FileListModel::filterAcceptsRow(int row, const QModelIndex& parent) const {
  // Above the listed directory lie only the directories leading to it.
  if (parent != directory_) return true;
  return !files_.isDir(files_.index(row, 0, parent));
}
