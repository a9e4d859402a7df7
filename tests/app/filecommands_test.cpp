// Copy To, Move To, Delete, Save As and Search from the main window's
// menus, with the catalogue's items picked by clicks in the detail view
// and the dialogs answered as a user would.
#include "app/frmmain.h"
#include "app/settings.h"
#include "apptesthelpers.h"
#include "catalogue/zenteqthumb.h"
#include "common/modalanswerer.h"
#include "fileops/frmmoveto.h"
#include "search/frmsearch.h"
#include "shell/shelltreeview.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : {"a.swf", "b.swf", "c.swf"})
            WriteTinyMovie(m_movies.filePath(QString::fromUtf8(name)));
        // Every return from a dialog takes the tree back to the stored folder.
        WriteIniString(QStringLiteral("main"), QStringLiteral("lastDir"), m_movies.path());
        m_window = std::make_unique<TFrmMain>();
        m_window->show();
        Settle();
        trigger("nDetails1");
    }

    void trigger(const char *action) { m_window->findChild<QAction *>(QLatin1String(action))->trigger(); }

    // Clicks row 0, then Ctrl-clicks the other rows.
    void clickRows(const QList<int> &rows)
    {
        QAbstractItemView *view = m_window->flashView()->currentView();
        for (int row : rows) {
            const QRect rect = view->visualRect(view->model()->index(row, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, row == rows.first() ? Qt::NoModifier : Qt::ControlModifier,
                              rect.center());
        }
    }

    QString movie(const char *name) const { return m_movies.filePath(QString::fromUtf8(name)); }

    TIniFileGuard m_ini;
    QTemporaryDir m_movies;
    QTemporaryDir m_target;
    std::unique_ptr<TFrmMain> m_window;
};

} // namespace

TEST_F(FileCommandsTest, CopyToOpensTheRememberedFolderCopiesAndKeepsTheSelection)
{
    WriteIniString(QStringLiteral("main"), QStringLiteral("copyTo"), m_target.path());
    clickRows({0, 2});
    QString frame;
    TModalAnswerer answerer([&](QDialog *dialog) {
        auto *target = qobject_cast<TFrmMoveTo *>(dialog);
        ASSERT_NE(target, nullptr);
        frame = target->frame()->title() + '|' + target->findChild<QPushButton *>(QStringLiteral("btnOk"))->text();
        QTest::mouseClick(target->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
    });
    trigger("nCopyTo1");
    EXPECT_EQ(answerer.titles, QStringList{QStringLiteral("Copy To...")});
    EXPECT_EQ(frame, QStringLiteral("Select Target directory|&Ok"));
    EXPECT_EQ(QDir(m_target.path()).entryList(QDir::Files), QStringList({"a.swf", "c.swf"}));
    EXPECT_EQ(m_window->flashView()->selectedRows(), QList<int>({0, 2}));
    EXPECT_EQ(ReadIniString(QStringLiteral("main"), QStringLiteral("copyTo"), QString()), m_target.path());
}

TEST_F(FileCommandsTest, MoveToAndDeleteRemoveTheirItemsFromTheCatalogue)
{
    clickRows({1});
    TModalAnswerer answerer([&](QDialog *dialog) {
        if (auto *target = qobject_cast<TFrmMoveTo *>(dialog)) {
            target->targetEdit()->setText(m_target.path());
            target->btnOkClick();
        } else if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            box->button(QMessageBox::Yes)->click();
        }
    });
    trigger("nMoveTo1");
    EXPECT_TRUE(QFile::exists(m_target.filePath(QStringLiteral("b.swf"))));
    EXPECT_FALSE(QFile::exists(movie("b.swf")));
    EXPECT_EQ(m_window->flashView()->itemCount(), 2);

    clickRows({0});
    trigger("nDel1");
    EXPECT_EQ(answerer.titles, QStringList({"Move To...", "Information"}));
    EXPECT_FALSE(QFile::exists(movie("a.swf")));
    EXPECT_EQ(m_window->flashView()->itemCount(), 1);
    EXPECT_EQ(m_window->flashView()->itemPath(0), movie("c.swf"));
}

TEST_F(FileCommandsTest, SaveAsCopiesTheOneSelectedMovie)
{
    clickRows({2});
    TModalAnswerer answerer([&](QDialog *dialog) {
        if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
            files->selectFile(m_target.filePath(QStringLiteral("kept")));
            static_cast<QDialog *>(files)->accept();
        }
    });
    trigger("nSaveAs");
    EXPECT_TRUE(QFile::exists(m_target.filePath(QStringLiteral("kept.swf"))));
    EXPECT_EQ(m_window->flashView()->itemCount(), 3);
}

TEST_F(FileCommandsTest, SearchFindsMoviesAndPreviewShowsThemInTheCatalogue)
{
    QDir(m_target.path()).mkpath(QStringLiteral("deep"));
    WriteTinyMovie(m_target.filePath(QStringLiteral("deep/found.swf")));
    WriteTinyMovie(m_target.filePath(QStringLiteral("also found.swf")));
    TModalAnswerer answerer([&](QDialog *dialog) {
        auto *search = qobject_cast<TFrmSearch *>(dialog);
        ASSERT_NE(search, nullptr);
        search->findChild<QComboBox *>(QStringLiteral("cbbPath"))->setEditText(m_target.path());
        QTest::mouseClick(search->findChild<QPushButton *>(QStringLiteral("btnStart")), Qt::LeftButton);
        QTest::mouseClick(search->findChild<QPushButton *>(QStringLiteral("btnPreview")), Qt::LeftButton);
    });
    trigger("nSearch1");
    Settle();
    EXPECT_EQ(answerer.titles, QStringList{QStringLiteral("Search Flash File")});
    TZenteqThumb *catalogue = m_window->flashView();
    ASSERT_EQ(catalogue->itemCount(), 2);
    EXPECT_EQ(catalogue->itemCaption(0), m_target.filePath(QStringLiteral("also found.swf")));
    EXPECT_EQ(catalogue->itemPath(1), m_target.filePath(QStringLiteral("deep/found.swf")));
}
