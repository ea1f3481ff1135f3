#pragma once
#include <QFileSystemModel>
#include <QPersistentModelIndex>
#include <QSortFilterProxyModel>

#include "gui/file_glyph.h"

// The *.BIN files of one directory, for the file list. A QFileSystemModel
// does the listing and watching; this keeps out the subdirectories, which
// it shows again, filters or not, once one was opened.
class FileListModel : public QSortFilterProxyModel {
 public:
  explicit FileListModel(QObject* parent);

  // Lists `directory`; returns the index the view takes as its root.
  QModelIndex SetDirectory(const QString& directory);
  // The directory listed.
  QString Directory() const;
  // The full path of the file at `index`.
  QString FilePath(const QModelIndex& index) const;
  // The model that lists the files.
  QFileSystemModel& Files() { return files_; }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

 private:
  FileGlyph glyph_;  // outlives files_, which draws with it
  QFileSystemModel files_;
  QPersistentModelIndex directory_;
};
