// The folder tree over a temporary directory tree: Path read and write,
// hidden folders, vanished folders, lazy listing, order and renaming.
#include "shell/shellfoldermodel.h"
#include "shell/shelltreeview.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ShellTreeViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char *folder : {"beta", "Alpha/deep/deeper", "gamma/sub", ".hid/inner", "empty"})
            ASSERT_TRUE(QDir(m_dir.path()).mkpath(folder));
        QFile file(at("file.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        connect();
    }

    void connect()
    {
        QObject::connect(&m_tree, &TShellTreeView::changed, [this] { ++m_changes; });
    }

    QString at(const QString &relative) const { return QDir::cleanPath(m_dir.path() + '/' + relative); }
    TShellFolderModel *model() const { return qobject_cast<TShellFolderModel *>(m_tree.model()); }

    // The node of `relative`, selected through Path.
    QModelIndex select(const QString &relative)
    {
        m_tree.setPath(at(relative));
        return m_tree.currentIndex();
    }

    QStringList childNames(const QModelIndex &parent) const
    {
        QStringList names;
        for (int row = 0; row < model()->rowCount(parent); ++row)
            names << model()->index(row, 0, parent).data().toString();
        return names;
    }

    QTemporaryDir m_dir;
    TShellTreeView m_tree;
    int m_changes = 0;
};

TEST_F(ShellTreeViewTest, NewTreeShowsTheRootExpandedAndSelected)
{
    TShellTreeView tree;
    const QModelIndex root = tree.model()->index(0, 0);
    EXPECT_EQ(tree.model()->rowCount(), 1);
    EXPECT_EQ(root.data().toString(), "/");
    EXPECT_TRUE(tree.isExpanded(root));
    EXPECT_EQ(tree.Path(), "/");
    EXPECT_EQ(tree.objectTypes(), TShellTreeView::otFolders);
}

TEST_F(ShellTreeViewTest, WritingPathSelectsTheFolderAndExpandsItsAncestors)
{
    const struct {
        const char *written;
        const char *read;
    } cases[] = {
        {"Alpha/deep/", "Alpha/deep"},
        {"Alpha/deep/deeper", "Alpha/deep/deeper"},
        {"Alpha/./deep/../", "Alpha"},
        {"gamma//sub", "gamma/sub"},
    };
    for (const auto &c : cases) {
        m_changes = 0;
        m_tree.setPath(m_dir.path() + '/' + c.written);
        EXPECT_EQ(m_tree.Path(), at(c.read)) << c.written;
        EXPECT_EQ(m_changes, 1) << c.written;
        for (QModelIndex up = m_tree.currentIndex().parent(); up.isValid(); up = up.parent())
            EXPECT_TRUE(m_tree.isExpanded(up)) << up.data().toString().toStdString();
    }
}

TEST_F(ShellTreeViewTest, RootAndItsOldDriveNameAreTheSameNode)
{
    select("Alpha");
    m_tree.setPath("c:\\");
    EXPECT_EQ(m_tree.Path(), "/");
    m_changes = 0;
    m_tree.setPath("/");
    EXPECT_EQ(m_changes, 0);
}

TEST_F(ShellTreeViewTest, WritingTheSelectedPathAgainChangesNothing)
{
    select("Alpha/deep");
    m_changes = 0;
    m_tree.setPath(at("Alpha/deep") + '/');
    EXPECT_EQ(m_changes, 0);
}

TEST_F(ShellTreeViewTest, InvalidPathRaisesAndLeavesTheSelection)
{
    select("beta");
    ASSERT_TRUE(QDir(at("Alpha/deep/deeper")).removeRecursively());
    m_changes = 0;
    for (const QString &bad : {at("Alpha/deep/deeper"), QString("Alpha"), QString(), QString("d:\\films")})
        EXPECT_THROW(m_tree.setPath(bad), EInvalidPath) << bad.toStdString();
    EXPECT_EQ(m_tree.Path(), at("beta"));
    EXPECT_EQ(m_changes, 0);
}

TEST_F(ShellTreeViewTest, HiddenFolderWithoutHiddenTypeClearsTheSelection)
{
    select("beta");
    m_changes = 0;
    m_tree.setPath(at(".hid/inner"));
    EXPECT_EQ(m_tree.Path(), "");
    EXPECT_EQ(m_changes, 1);
    // A file is no folder the tree shows either.
    select("beta");
    m_tree.setPath(at("file.txt"));
    EXPECT_EQ(m_tree.Path(), "");
}

TEST_F(ShellTreeViewTest, HiddenTypeShowsHiddenFoldersAndRebuildsFromTheRoot)
{
    select("beta");
    m_changes = 0;
    m_tree.setObjectTypes(TShellTreeView::otFolders | TShellTreeView::otHidden);
    EXPECT_EQ(m_tree.Path(), "/");
    EXPECT_EQ(m_changes, 1);
    select(".hid/inner");
    EXPECT_EQ(m_tree.Path(), at(".hid/inner"));
}

TEST_F(ShellTreeViewTest, ChildrenAreFoldersSortedByNameWithoutRegardToCase)
{
    m_tree.expand(select(""));
    EXPECT_EQ(childNames(m_tree.currentIndex()), (QStringList{"Alpha", "beta", "empty", "gamma"}));
    m_tree.setObjectTypes(TShellTreeView::otFolders | TShellTreeView::otHidden);
    m_tree.expand(select(""));
    EXPECT_EQ(childNames(m_tree.currentIndex()), (QStringList{".hid", "Alpha", "beta", "empty", "gamma"}));
}

TEST_F(ShellTreeViewTest, FoldersAreListedOnceAndOnlyWhenNeeded)
{
    const QModelIndex alpha = select("Alpha");
    const QModelIndex top = alpha.parent();
    const QModelIndex gamma = model()->index(3, 0, top);
    ASSERT_EQ(gamma.data().toString(), "gamma");
    EXPECT_TRUE(model()->isListed(top));
    EXPECT_FALSE(model()->isListed(gamma));
    EXPECT_TRUE(model()->hasChildren(gamma));
    EXPECT_FALSE(model()->hasChildren(model()->index(2, 0, top))); // "empty"

    // Created after its parent was listed: not seen, nothing watches.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("latecomer"));
    EXPECT_EQ(childNames(top), (QStringList{"Alpha", "beta", "empty", "gamma"}));
    m_tree.setPath(at("latecomer"));
    EXPECT_EQ(m_tree.Path(), "");

    // Created before its parent is first expanded: seen.
    ASSERT_TRUE(QDir(at("gamma")).mkdir("another"));
    m_tree.expand(gamma);
    EXPECT_TRUE(model()->isListed(gamma));
    EXPECT_EQ(childNames(gamma), (QStringList{"another", "sub"}));
}

TEST_F(ShellTreeViewTest, RenamingALabelRenamesTheFolderOnDisk)
{
    const QModelIndex deep = select("Alpha/deep");
    ASSERT_TRUE(model()->setData(deep, "renamed"));
    EXPECT_EQ(deep.data().toString(), "renamed");
    EXPECT_EQ(m_tree.Path(), at("Alpha/renamed"));
    EXPECT_TRUE(QFileInfo(at("Alpha/renamed/deeper")).isDir());
    select("Alpha/renamed/deeper");
    EXPECT_EQ(m_tree.Path(), at("Alpha/renamed/deeper"));
}

TEST_F(ShellTreeViewTest, FailedRenameKeepsTheOldNameAndSaysWhy)
{
    const QModelIndex beta = select("beta");
    for (const char *taken : {"Alpha", "empty", "a/b", ".."}) {
        try {
            model()->renameFolder(beta, taken);
            ADD_FAILURE() << "renamed to " << taken;
        } catch (const ERenameFailed &error) {
            EXPECT_EQ(std::string(error.what()), std::string("Rename to ") + taken + " failed");
        }
    }
    EXPECT_EQ(beta.data().toString(), "beta");
    EXPECT_TRUE(QFileInfo(at("beta")).isDir());
    EXPECT_TRUE(QFileInfo(at("empty")).isDir());
    EXPECT_THROW(model()->renameFolder(model()->rootIndex(), "root"), ERenameFailed);
}

TEST_F(ShellTreeViewTest, FailedLabelEditRaisesFromTheEventLoop)
{
    const QModelIndex beta = select("beta");
    EXPECT_FALSE(model()->setData(beta, "Alpha"));
    EXPECT_EQ(beta.data().toString(), "beta");
    try {
        QCoreApplication::sendPostedEvents(&m_tree);
        ADD_FAILURE() << "no error raised";
    } catch (const ERenameFailed &error) {
        EXPECT_STREQ(error.what(), "Rename to Alpha failed");
    }
}

TEST_F(ShellTreeViewTest, RightClickSelectsTheFolderUnderTheMouse)
{
    const QModelIndex beta = select("beta");
    select("Alpha");
    m_tree.resize(400, 600);
    m_tree.show();
    QApplication::processEvents();
    m_tree.scrollTo(beta);
    const QPoint at = m_tree.visualRect(beta).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, m_tree.viewport()->mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    m_changes = 0;
    QApplication::sendEvent(m_tree.viewport(), &press);
    EXPECT_EQ(m_tree.Path(), this->at("beta"));
    EXPECT_EQ(m_changes, 1);
}

} // namespace
