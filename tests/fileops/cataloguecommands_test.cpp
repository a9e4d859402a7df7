// Copy To, Move To, Delete and Save As on a catalogue's selection, with the
// dialogs answered as a user would.
#include "catalogue/zenteqthumb.h"
#include "fileops/cataloguecommands.h"
#include "fileops/filejob.h"
#include "fileops/frmmoveto.h"
#include "fileopstesthelpers.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class CatalogueCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("movies"));
        QDir(m_dir.path()).mkpath(QStringLiteral("target"));
        for (int index = 0; index < 8; ++index)
            WriteBytes(movie(index), MovieBytes(QByteArray::number(index)));
        m_view.setViewStyle(TZenteqThumb::vsReport);
        m_view.LoadFolder(at("movies"));
    }

    QString at(const QString &relative) const { return m_dir.filePath(relative); }
    QString movie(int index) const { return at(QStringLiteral("movies/movie%1.swf").arg(index)); }
    QString copied(int index) const { return at(QStringLiteral("target/movie%1.swf").arg(index)); }

    void select(const QList<int> &rows)
    {
        for (int row = 0; row < m_view.itemCount(); ++row)
            m_view.setItemSelected(row, rows.contains(row));
    }

    // Answers the target folder dialog with `folder` typed into its edit,
    // and message boxes with `button`.
    std::unique_ptr<TModalAnswerer> answer(const QString &folder,
                                           QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        return std::make_unique<TModalAnswerer>([folder, button](QDialog *dialog) {
            if (auto *target = qobject_cast<TFrmMoveTo *>(dialog)) {
                target->targetEdit()->setText(folder);
                QTest::mouseClick(target->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
            } else if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                box->button(button) ? box->button(button)->click() : box->reject();
            } else {
                dialog->reject();
            }
        });
    }

    QStringList itemPaths() const
    {
        QStringList paths;
        for (int row = 0; row < m_view.itemCount(); ++row)
            paths << m_view.itemPath(row);
        return paths;
    }

    QTemporaryDir m_dir;
    TZenteqThumb m_view;
};

} // namespace

TEST_F(CatalogueCommandsTest, WithNothingSelectedNothingOpens)
{
    select({});
    TModalAnswerer answerer([](QDialog *dialog) { dialog->reject(); });
    CopySelectionTo(nullptr, &m_view, {});
    MoveSelectionTo(nullptr, &m_view, {});
    DeleteSelection(nullptr, &m_view);
    EXPECT_TRUE(answerer.titles.isEmpty());
    EXPECT_EQ(m_view.itemCount(), 8);
}

TEST_F(CatalogueCommandsTest, CopyOfItemsTwoFiveAndSevenKeepsTheSelection)
{
    select({2, 5, 7});
    const auto answerer = answer(at("target"));
    CopySelectionTo(nullptr, &m_view, {});
    EXPECT_EQ(answerer->titles, QStringList{QStringLiteral("Copy To...")});
    EXPECT_EQ(EntriesOf(at("target")), QStringList({"movie2.swf", "movie5.swf", "movie7.swf"}));
    for (int index : {2, 5, 7})
        EXPECT_EQ(ReadBytes(copied(index)), ReadBytes(movie(index)));
    EXPECT_EQ(m_view.selectedRows(), QList<int>({2, 5, 7}));
    EXPECT_EQ(m_view.itemCount(), 8);
}

TEST_F(CatalogueCommandsTest, CopyReplacesAFileOfTheSameNameWithoutAQuestion)
{
    WriteBytes(copied(1), QByteArray(3000, 'o'));
    select({1});
    const auto answerer = answer(at("target") + QStringLiteral("/"));
    CopySelectionTo(nullptr, &m_view, {});
    EXPECT_EQ(answerer->titles.size(), 1);
    EXPECT_EQ(ReadBytes(copied(1)), MovieBytes("1"));
}

TEST_F(CatalogueCommandsTest, CopyIntoTheSourcesOwnFolderLeavesEveryFileAsItWas)
{
    select({0, 3});
    const auto answerer = answer(at("movies"));
    CopySelectionTo(nullptr, &m_view, {});
    EXPECT_EQ(answerer->titles.size(), 1);
    for (int index = 0; index < 8; ++index)
        EXPECT_EQ(ReadBytes(movie(index)), MovieBytes(QByteArray::number(index)));
    EXPECT_EQ(EntriesOf(at("movies")).size(), 8);
}

TEST_F(CatalogueCommandsTest, CancelledTargetDialogCopiesNothing)
{
    select({0});
    TModalAnswerer answerer([](QDialog *dialog) { dialog->reject(); });
    CopySelectionTo(nullptr, &m_view, {});
    MoveSelectionTo(nullptr, &m_view, {});
    EXPECT_EQ(answerer.titles, QStringList({"Copy To...", "Move To..."}));
    EXPECT_TRUE(EntriesOf(at("target")).isEmpty());
    EXPECT_EQ(m_view.itemCount(), 8);
}

TEST_F(CatalogueCommandsTest, MoveRemovesTheMovedItemsWithoutReloading)
{
    WriteBytes(at("movies/added later.swf"), MovieBytes("new"));
    select({1, 4});
    const auto answerer = answer(at("target"));
    MoveSelectionTo(nullptr, &m_view, {});
    EXPECT_EQ(answerer->titles, QStringList{QStringLiteral("Move To...")});
    EXPECT_EQ(ReadBytes(copied(1)), MovieBytes("1"));
    EXPECT_EQ(ReadBytes(copied(4)), MovieBytes("4"));
    EXPECT_FALSE(QFile::exists(movie(1)));
    EXPECT_EQ(itemPaths(), QStringList({movie(0), movie(2), movie(3), movie(5), movie(6), movie(7)}));
}

TEST_F(CatalogueCommandsTest, MoveWithOneFailingCopyKeepsThatFileAndItsItemAndReportsIt)
{
    // A folder of the second file's name stands in the target folder.
    QDir(at("target")).mkdir(QStringLiteral("movie6.swf"));
    select({2, 6});
    const auto answerer = answer(at("target"));
    MoveSelectionTo(nullptr, &m_view, {});
    ASSERT_EQ(answerer->titles, QStringList({"Move To...", "Information"}));
    EXPECT_TRUE(answerer->texts.at(0).contains(movie(6)));
    EXPECT_FALSE(answerer->texts.at(0).contains(movie(2)));
    EXPECT_EQ(ReadBytes(movie(6)), MovieBytes("6"));
    EXPECT_FALSE(QFile::exists(movie(2)));
    EXPECT_TRUE(itemPaths().contains(movie(6)));
    EXPECT_FALSE(itemPaths().contains(movie(2)));
}

TEST_F(CatalogueCommandsTest, MoveIntoTheSourcesOwnFolderKeepsFilesAndItems)
{
    select({0, 1});
    const auto answerer = answer(at("movies"));
    MoveSelectionTo(nullptr, &m_view, {});
    EXPECT_EQ(answerer->titles.size(), 1);
    EXPECT_EQ(m_view.itemCount(), 8);
    EXPECT_EQ(ReadBytes(movie(0)), MovieBytes("0"));
}

TEST_F(CatalogueCommandsTest, DeleteOfFiveAsksOnceAndActsOnlyOnYes)
{
    select({0, 2, 3, 5, 7});
    {
        const auto answerer = answer(QString(), QMessageBox::No);
        DeleteSelection(nullptr, &m_view);
        EXPECT_EQ(answerer->titles, QStringList{QStringLiteral("Information")});
        EXPECT_EQ(answerer->texts, QStringList{QStringLiteral("Are you sure you want to delete this file?")});
        EXPECT_EQ(m_view.itemCount(), 8);
        EXPECT_EQ(EntriesOf(at("movies")).size(), 8);
    }
    const auto answerer = answer(QString(), QMessageBox::Yes);
    DeleteSelection(nullptr, &m_view);
    EXPECT_EQ(answerer->titles.size(), 1);
    EXPECT_EQ(itemPaths(), QStringList({movie(1), movie(4), movie(6)}));
    EXPECT_EQ(EntriesOf(at("movies")), QStringList({"movie1.swf", "movie4.swf", "movie6.swf"}));
}

TEST_F(CatalogueCommandsTest, DeleteKeepsTheItemOfAFileThatIsStillThereAndReportsIt)
{
    // A folder cannot be removed as a file.
    QFile::remove(movie(3));
    QDir(at("movies")).mkdir(QStringLiteral("movie3.swf"));
    select({3, 4});
    const auto answerer = answer(QString(), QMessageBox::Yes);
    DeleteSelection(nullptr, &m_view);
    ASSERT_EQ(answerer->titles, QStringList({"Information", "Information"}));
    EXPECT_TRUE(answerer->texts.at(1).startsWith(QStringLiteral("These files could not be deleted:")));
    EXPECT_TRUE(answerer->texts.at(1).contains(movie(3)));
    EXPECT_TRUE(itemPaths().contains(movie(3)));
    EXPECT_FALSE(itemPaths().contains(movie(4)));
}

TEST_F(CatalogueCommandsTest, DeletingWhileTheThumbnailWorkerRunsIsSafe)
{
    for (int index = 8; index < 40; ++index)
        WriteBytes(movie(index), MovieBytes(QByteArray::number(index)));
    m_view.show();
    m_view.LoadFolder(at("movies"));
    m_view.selectAll();
    const auto answerer = answer(QString(), QMessageBox::Yes);
    DeleteSelection(nullptr, &m_view);
    EXPECT_EQ(m_view.itemCount(), 0);
    EXPECT_TRUE(EntriesOf(at("movies")).isEmpty());
    m_view.StopWorkerAndWait();
}

TEST_F(CatalogueCommandsTest, CancellingAMoveLeavesEverySourceWhereItWasOrWhollyMoved)
{
    // A copy to another file system is what takes long; on one file system
    // the renames may all be done before the progress window shows.
    const QString other = OtherFileSystemFolder(m_dir.path());
    QTemporaryDir elsewhere(other.isEmpty() ? at("target/XXXXXX") : other + QStringLiteral("/pavoko-cancel-XXXXXX"));
    ASSERT_TRUE(elsewhere.isValid());
    const QByteArray big(4 * 1024 * 1024, 'm');
    for (int index = 0; index < 8; ++index)
        WriteBytes(movie(index), big);
    select({0, 1, 2, 3, 4, 5, 6, 7});
    SetFileProgressDelay(0);
    TModalAnswerer answerer([&](QDialog *dialog) {
        if (auto *target = qobject_cast<TFrmMoveTo *>(dialog)) {
            target->targetEdit()->setText(elsewhere.path());
            target->btnOkClick();
        } else if (auto *progress = qobject_cast<QProgressDialog *>(dialog)) {
            progress->cancel();
        } else {
            dialog->reject();
        }
    });
    MoveSelectionTo(nullptr, &m_view, {});
    SetFileProgressDelay(500);
    for (int index = 0; index < 8; ++index) {
        SCOPED_TRACE(index);
        const QString target = elsewhere.filePath(QStringLiteral("movie%1.swf").arg(index));
        const bool moved = !QFile::exists(movie(index));
        EXPECT_EQ(ReadBytes(moved ? target : movie(index)), big);
        EXPECT_EQ(itemPaths().contains(movie(index)), !moved);
        if (!moved) {
            EXPECT_FALSE(QFile::exists(target));
        }
    }
    for (const QString &name : EntriesOf(elsewhere.path()))
        EXPECT_TRUE(name.startsWith(QStringLiteral("movie")) && name.endsWith(QStringLiteral(".swf")))
            << name.toStdString();
}

TEST_F(CatalogueCommandsTest, SaveAsCopiesToTheChosenNameWithTheDefaultExtension)
{
    TModalAnswerer answerer([this](QDialog *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->nameFilters(), QStringList{QStringLiteral("Flash File(*.swf)")});
        EXPECT_EQ(files->defaultSuffix(), QStringLiteral("swf"));
        EXPECT_TRUE(files->testOption(QFileDialog::DontConfirmOverwrite));
        files->selectFile(at("target/saved"));
        static_cast<QDialog *>(files)->accept();
    });
    SaveMovieAs(nullptr, movie(5));
    EXPECT_EQ(ReadBytes(at("target/saved.swf")), MovieBytes("5"));
}

TEST_F(CatalogueCommandsTest, SaveAsOntoTheSourceItselfLeavesItWhole)
{
    TModalAnswerer answerer([this](QDialog *dialog) {
        if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
            files->selectFile(movie(5));
            static_cast<QDialog *>(files)->accept();
        } else {
            dialog->reject();
        }
    });
    SaveMovieAs(nullptr, movie(5));
    EXPECT_EQ(answerer.titles.size(), 1);
    EXPECT_EQ(ReadBytes(movie(5)), MovieBytes("5"));
}
