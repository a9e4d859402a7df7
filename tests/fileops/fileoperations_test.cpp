// The file routines: whole replacement through a temporary file, the
// source never lost, the same file never truncated, rename on one file
// system and copy-check-delete across two.
#include "fileops/fileoperations.h"
#include "fileopstesthelpers.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileOperationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("target"));
        WriteBytes(source(), MovieBytes("source"));
    }
    QString at(const QString &relative) const { return m_dir.filePath(relative); }
    QString source() const { return at(QStringLiteral("movie.swf")); }
    QString target() const { return at(QStringLiteral("target/movie.swf")); }

    QTemporaryDir m_dir;
};

ino_t InodeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

TEST(TargetPath, OneSeparatorBetweenFolderAndName)
{
    const struct {
        const char *folder;
        const char *expected;
    } cases[] = {{"/movies", "/movies/intro.swf"}, {"/movies/", "/movies/intro.swf"}, {"/", "/intro.swf"}};
    for (const auto &c : cases)
        EXPECT_EQ(TargetPathIn(QString::fromUtf8(c.folder), QStringLiteral("/from/intro.swf")),
                  QString::fromUtf8(c.expected));
}

TEST_F(FileOperationsTest, CopyReplacesALongerTargetWholeAndLeavesNoTemporaryFile)
{
    WriteBytes(target(), QByteArray(5000, 'x'));
    const TFileResult result = CopyFileWhole(source(), target());
    EXPECT_EQ(result.outcome, TFileOutcome::Done);
    EXPECT_EQ(ReadBytes(target()), MovieBytes("source"));
    EXPECT_EQ(ReadBytes(source()), MovieBytes("source"));
    EXPECT_EQ(EntriesOf(at(QStringLiteral("target"))), QStringList{QStringLiteral("movie.swf")});
}

TEST_F(FileOperationsTest, CopyKeepsPermissionsAndModificationTime)
{
    QFile(source()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1000000000);
    {
        QFile file(source());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    ASSERT_EQ(CopyFileWhole(source(), target()).outcome, TFileOutcome::Done);
    EXPECT_EQ(QFileInfo(target()).permissions(), QFileInfo(source()).permissions());
    EXPECT_EQ(QFileInfo(target()).lastModified(), stamp);
}

TEST_F(FileOperationsTest, CopyOrMoveOntoTheSourceItselfChangesNothing)
{
    ASSERT_TRUE(QFile::link(source(), at(QStringLiteral("link.swf"))));
    ASSERT_EQ(::link(QFile::encodeName(source()).constData(),
                     QFile::encodeName(at(QStringLiteral("hard.swf"))).constData()),
              0);
    const QString sameNames[] = {source(), m_dir.path() + QStringLiteral("//movie.swf"),
                                 at(QStringLiteral("target/../movie.swf")), at(QStringLiteral("link.swf")),
                                 at(QStringLiteral("hard.swf"))};
    for (const QString &same : sameNames) {
        SCOPED_TRACE(same.toStdString());
        EXPECT_EQ(CopyFileWhole(source(), same).outcome, TFileOutcome::SameFile);
        EXPECT_EQ(MoveFileWhole(source(), same).outcome, TFileOutcome::SameFile);
        EXPECT_EQ(ReadBytes(source()), MovieBytes("source"));
    }
}

TEST_F(FileOperationsTest, FailingCopyOrMoveKeepsTheSourceAndLeavesNoTrace)
{
    // A folder of the file's name stands where the copy would go.
    QDir(m_dir.path()).mkpath(QStringLiteral("target/movie.swf"));
    const TFileResult copy = CopyFileWhole(source(), target());
    EXPECT_EQ(copy.outcome, TFileOutcome::Failed);
    EXPECT_FALSE(copy.reason.isEmpty());
    const TFileResult move = MoveFileWhole(source(), target());
    EXPECT_EQ(move.outcome, TFileOutcome::Failed);
    EXPECT_EQ(ReadBytes(source()), MovieBytes("source"));
    EXPECT_EQ(EntriesOf(at(QStringLiteral("target"))), QStringList{QStringLiteral("movie.swf")});
    EXPECT_TRUE(QFileInfo(target()).isDir());
}

TEST_F(FileOperationsTest, AReadOnlyTargetFolderFailsAndKeepsTheSource)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    const QString folder = at(QStringLiteral("target"));
    ASSERT_TRUE(QFile(folder).setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_EQ(CopyFileWhole(source(), target()).outcome, TFileOutcome::Failed);
    EXPECT_EQ(MoveFileWhole(source(), target()).outcome, TFileOutcome::Failed);
    QFile(folder).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadBytes(source()), MovieBytes("source"));
    EXPECT_TRUE(EntriesOf(folder).isEmpty());
}

TEST_F(FileOperationsTest, MissingSourceFailsWithoutCreatingTheTarget)
{
    const QString missing = at(QStringLiteral("gone.swf"));
    EXPECT_EQ(CopyFileWhole(missing, target()).outcome, TFileOutcome::Failed);
    EXPECT_EQ(MoveFileWhole(missing, target()).outcome, TFileOutcome::Failed);
    EXPECT_EQ(DeleteFileNow(missing).outcome, TFileOutcome::Failed);
    EXPECT_TRUE(EntriesOf(at(QStringLiteral("target"))).isEmpty());
}

TEST_F(FileOperationsTest, CancelledCopyKeepsTheOldTargetAndTheSource)
{
    WriteBytes(target(), "old");
    TFileProgress progress;
    progress.cancelRequested = true;
    EXPECT_EQ(CopyFileWhole(source(), target(), &progress).outcome, TFileOutcome::Cancelled);
    EXPECT_EQ(ReadBytes(target()), QByteArray("old"));
    EXPECT_EQ(ReadBytes(source()), MovieBytes("source"));
    EXPECT_EQ(EntriesOf(at(QStringLiteral("target"))), QStringList{QStringLiteral("movie.swf")});
}

TEST_F(FileOperationsTest, MoveOnOneFileSystemRenamesAndReplacesTheTarget)
{
    WriteBytes(target(), "old");
    const ino_t inode = InodeOf(source());
    TFileProgress progress;
    EXPECT_EQ(MoveFileWhole(source(), target(), &progress).outcome, TFileOutcome::Done);
    EXPECT_FALSE(QFile::exists(source()));
    EXPECT_EQ(InodeOf(target()), inode);
    EXPECT_EQ(ReadBytes(target()), MovieBytes("source"));
    EXPECT_EQ(progress.bytesDone, MovieBytes("source").size());
}

TEST_F(FileOperationsTest, MoveAcrossFileSystemsCopiesChecksAndThenDeletes)
{
    const QString other = OtherFileSystemFolder(m_dir.path());
    if (other.isEmpty())
        GTEST_SKIP() << "no second writable file system on this machine";
    QTemporaryDir there(other + QStringLiteral("/pavoko-move-XXXXXX"));
    ASSERT_TRUE(there.isValid());
    const QByteArray big(3 * 1024 * 1024 + 17, 'b');
    WriteBytes(source(), big);
    const QString target = there.filePath(QStringLiteral("movie.swf"));

    TFileProgress cancelled;
    cancelled.cancelRequested = true;
    EXPECT_EQ(MoveFileWhole(source(), target, &cancelled).outcome, TFileOutcome::Cancelled);
    EXPECT_EQ(ReadBytes(source()), big);
    EXPECT_TRUE(EntriesOf(there.path()).isEmpty());

    TFileProgress progress;
    EXPECT_EQ(MoveFileWhole(source(), target, &progress).outcome, TFileOutcome::Done);
    EXPECT_FALSE(QFile::exists(source()));
    EXPECT_EQ(ReadBytes(target), big);
    EXPECT_EQ(progress.bytesDone, big.size());
}

TEST_F(FileOperationsTest, DeleteRemovesTheFileForGood)
{
    EXPECT_EQ(DeleteFileNow(source()).outcome, TFileOutcome::Done);
    EXPECT_FALSE(QFile::exists(source()));
}
