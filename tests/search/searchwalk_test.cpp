// The walk: order, subfolders, folder loops, mount points, unreadable
// headers and stopping.
#include "search/searchwalk.h"
#include "searchtesthelpers.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class SearchWalkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        WriteMovie(at("b.swf"));
        WriteMovie(at("A.swf"));
        WriteMovie(at("notes.txt"));
        WriteMovie(at("sub/c.swf"));
        WriteMovie(at("sub/deeper/d.swf"));
        WriteMovie(at("Sub2/e.swf"));
    }

    QString at(const char *relative) const { return m_dir.filePath(QString::fromUtf8(relative)); }

    // The paths found under the temporary folder, relative to it.
    QStringList walk(TWalkRules rules = {}, TSearchCriteria criteria = {}, const QString &start = QString())
    {
        QStringList found;
        TWalkHooks hooks;
        hooks.found = [&](const QString &path, const TSwfHeader &) { found << path.mid(m_dir.path().size() + 1); };
        hooks.stopRequested = [this] { return --m_entriesBeforeStop == 0; };
        TSearchWalk walk(criteria, rules, hooks);
        walk.SearchFolder(start.isEmpty() ? m_dir.path() : start);
        return found;
    }

    QTemporaryDir m_dir;
    int m_entriesBeforeStop = -1;
};

} // namespace

TEST_F(SearchWalkTest, FindsMoviesInListingOrderWithTheirSubfolders)
{
    EXPECT_EQ(walk(), QStringList({"A.swf", "b.swf", "sub/c.swf", "sub/deeper/d.swf", "Sub2/e.swf"}));
    TWalkRules flat;
    flat.subfolders = false;
    EXPECT_EQ(walk(flat), QStringList({"A.swf", "b.swf"}));
}

TEST_F(SearchWalkTest, TheStartFolderWithOrWithoutItsSlashGivesTheSamePaths)
{
    const QStringList expected = walk();
    EXPECT_EQ(walk({}, {}, m_dir.path() + QStringLiteral("/")), expected);
    EXPECT_TRUE(walk({}, {}, at("gone")).isEmpty());
}

TEST_F(SearchWalkTest, AFolderLoopIsEnteredOnce)
{
    ASSERT_TRUE(QFile::link(m_dir.path(), at("sub/deeper/back")));
    ASSERT_TRUE(QFile::link(at("sub"), at("zlink")));
    EXPECT_EQ(walk(), QStringList({"A.swf", "b.swf", "sub/c.swf", "sub/deeper/d.swf", "Sub2/e.swf"}));
}

TEST_F(SearchWalkTest, AMountPointIsEnteredOnlyWhenAllowed)
{
    TWalkRules rules;
    rules.mountPoints = {at("sub")};
    EXPECT_EQ(walk(rules), QStringList({"A.swf", "b.swf", "Sub2/e.swf"}));
    rules.enterableMounts = {at("sub")};
    EXPECT_EQ(walk(rules).size(), 5);
}

TEST_F(SearchWalkTest, UnreadableHeadersAndNonFilesArePassedOver)
{
    WriteBrokenMovie(at("broken.swf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe.swf")).constData(), 0600), 0);
    QDir(m_dir.path()).mkdir(QStringLiteral("folder.swf"));
    WriteMovie(at("folder.swf/inside.swf"));
    // A ".swf" file too short for a header takes part with an empty record.
    QFile tiny(at("tiny.swf"));
    ASSERT_TRUE(tiny.open(QIODevice::WriteOnly));
    tiny.close();
    EXPECT_EQ(walk(), QStringList({"A.swf", "b.swf", "folder.swf/inside.swf", "pipe.swf", "sub/c.swf",
                                   "sub/deeper/d.swf", "Sub2/e.swf", "tiny.swf"}));
}

TEST_F(SearchWalkTest, CriteriaApplyToEveryFile)
{
    WriteMovie(at("sub/fast.swf"), 6, 24);
    WriteMovie(at("quick.swf"), 6, 30);
    TSearchCriteria criteria;
    criteria.rateTest = true;
    criteria.sign = TRateSign::GreaterOrEqual;
    criteria.rate = 20;
    criteria.namePiece = QStringLiteral("a");
    EXPECT_EQ(walk({}, criteria), QStringList({"sub/fast.swf"}));
}

TEST_F(SearchWalkTest, AStopEndsTheFolderAndEveryFolderAbove)
{
    // Asked for after sub/c.swf, the stop ends "sub" and the start folder.
    m_entriesBeforeStop = 4;
    EXPECT_EQ(walk(), QStringList({"A.swf", "b.swf", "sub/c.swf"}));
}
