#include "gui/directory_tree.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "gui/gui_tests.h"

class DirectoryTreeTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // The chain from the volume down, each under its parent, then the subdirectories.
  void showsTheChainAndTheSubdirectories() {
    QTemporaryDir volume;
    const QString root = QDir(volume.path()).canonicalPath();
    QDir(root).mkpath("a/b/zeta");
    QDir(root).mkpath("a/b/Alpha");
    QDir(root).mkpath("a/other");
    QFile(root + "/a/b/file.BIN").open(QIODevice::WriteOnly);
    QTreeWidget tree;
    ShowDirectory(tree, root, root + "/a/b");

    QCOMPARE(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* item = tree.topLevelItem(0);
    QCOMPARE(item->text(0), root);
    QCOMPARE(DirectoryOf(*item), root);
    QCOMPARE(item->childCount(), 1);
    item = item->child(0);
    QCOMPARE(item->text(0), QString("a"));
    QCOMPARE(item->childCount(), 1);  // "other" is not on the way
    item = item->child(0);
    QCOMPARE(item->text(0), QString("b"));
    QCOMPARE(tree.currentItem(), item);
    QCOMPARE(item->childCount(), 2);
    QCOMPARE(item->child(0)->text(0), QString("Alpha"));
    QCOMPARE(item->child(1)->text(0), QString("zeta"));
    QCOMPARE(DirectoryOf(*item->child(1)), root + "/a/b/zeta");
    QVERIFY(item->isExpanded());
  }

  // The volume itself shows as the one open item with its subdirectories.
  void volumeRootStandsAlone() {
    QTemporaryDir volume;
    const QString root = QDir(volume.path()).canonicalPath();
    QDir(root).mkpath("x");
    QTreeWidget tree;
    ShowDirectory(tree, root, root);
    QCOMPARE(tree.topLevelItemCount(), 1);
    QCOMPARE(tree.currentItem(), tree.topLevelItem(0));
    QCOMPARE(tree.topLevelItem(0)->childCount(), 1);
  }
};
GUI_TEST(DirectoryTreeTest);

#include "directory_tree_test.moc"
