// The folder tree: read from "/" only once shown or asked for its choice, with the folder
// it was given before then selected, open down to it.
#include "platform/folder_tree.h"

#include <QDir>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using qv::FolderTree;

class FolderTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        for (const char* sotto : {"/uno/due/tre", "/altra"})
            ASSERT_TRUE(QDir().mkpath(root.path() + QLatin1String(sotto)));
    }
    QString cartella(const char* sotto) const {
        return root.path() + QLatin1String(sotto) + QLatin1Char('/');
    }
    // Every folder above the selected one is open.
    static void apertaFinoAllaScelta(const FolderTree& tree) {
        const QModelIndex scelta = tree.currentIndex();
        ASSERT_TRUE(scelta.isValid());
        for (QModelIndex su = scelta.parent(); su.isValid(); su = su.parent())
            EXPECT_TRUE(tree.isExpanded(su)) << tree.folders()->filePath(su).toStdString();
    }

    QTemporaryDir root;
};

TEST_F(FolderTreeTest, ATreeNotYetShownHoldsNoFolder) {
    FolderTree tree;
    tree.showFolder(cartella("/uno/due/tre"));
    EXPECT_EQ(tree.folders()->rowCount(), 0);
    EXPECT_FALSE(tree.currentIndex().isValid());
}

TEST_F(FolderTreeTest, TheFolderGivenBeforeItShowsIsSelectedWhenItIsReadAndNoChoiceIsSaid) {
    // Read by being shown, or by being asked for its choice.
    for (const bool mostrato : {true, false}) {
        SCOPED_TRACE(mostrato);
        FolderTree tree;
        QSignalSpy scelte(&tree, &FolderTree::folderChosen);
        tree.showFolder(cartella("/altra"));
        tree.showFolder(cartella("/uno/due/tre"));
        if (mostrato) tree.show();
        EXPECT_EQ(tree.chosenFolder(), cartella("/uno/due/tre"));
        EXPECT_EQ(tree.folders()->filePath(tree.currentIndex()) + QLatin1Char('/'),
                  cartella("/uno/due/tre"));
        apertaFinoAllaScelta(tree);
        EXPECT_EQ(scelte.count(), 0);
    }
}

TEST_F(FolderTreeTest, AMissingFolderGivenBeforeItShowsLeavesTheOneGivenBefore) {
    FolderTree tree;
    tree.showFolder(cartella("/altra"));
    tree.showFolder(cartella("/mancante"));
    tree.showFolder(QString());
    tree.show();
    EXPECT_EQ(tree.chosenFolder(), cartella("/altra"));
}

TEST_F(FolderTreeTest, AChoiceMadeBeforeItShowsStandsOverTheFolderGivenBefore) {
    FolderTree tree;
    QSignalSpy scelte(&tree, &FolderTree::folderChosen);
    tree.showFolder(cartella("/altra"));
    tree.setCurrentIndex(tree.folders()->index(QDir::cleanPath(cartella("/uno/due"))));
    EXPECT_EQ(scelte.count(), 1);
    tree.show();
    EXPECT_EQ(tree.chosenFolder(), cartella("/uno/due"));
    EXPECT_EQ(scelte.count(), 1);
}

TEST_F(FolderTreeTest, OnceReadAFolderIsSelectedAtOnceShownOrNot) {
    FolderTree tree;
    EXPECT_EQ(tree.chosenFolder(), QString()); // read now, nothing chosen
    tree.showFolder(cartella("/uno/due/tre"));
    EXPECT_EQ(tree.folders()->filePath(tree.currentIndex()) + QLatin1Char('/'),
              cartella("/uno/due/tre"));
    apertaFinoAllaScelta(tree);
}

} // namespace
