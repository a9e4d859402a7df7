// The target folder dialog as a user drives it: the remembered folder,
// the edit following the tree, typed texts accepted or silently refused.
#include "fileops/frmmoveto.h"
#include "shell/shelltreeview.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FrmMoveToTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char *folder : {"one", "two", ".hidden/inner"})
            QDir(m_dir.path()).mkpath(QString::fromUtf8(folder));
        QFile file(at("file.swf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QString at(const char *relative) const { return m_dir.filePath(QString::fromUtf8(relative)); }

    // Services over an in-memory settings store.
    TMoveToServices services()
    {
        TMoveToServices s;
        s.readIniString = [this](const QString &section, const QString &key, const QString &fallback) {
            return m_settings.value(section + '/' + key, fallback);
        };
        s.writeIniString = [this](const QString &section, const QString &key, const QString &value) {
            m_settings[section + '/' + key] = value;
            ++m_writes;
        };
        s.reportError = [this](const QString &text) { m_errors << text; };
        return s;
    }

    void remember(const QString &folder) { m_settings[QStringLiteral("main/copyTo")] = folder; }

    QTemporaryDir m_dir;
    QMap<QString, QString> m_settings;
    QStringList m_errors;
    int m_writes = 0;
};

QPushButton *Button(const TFrmMoveTo &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QString::fromUtf8(name));
}

} // namespace

TEST_F(FrmMoveToTest, IsAFixedDialogWithTheTreeAndEditInTheirPlaces)
{
    TFrmMoveTo dialog(nullptr, services());
    EXPECT_EQ(dialog.minimumSize(), QSize(351, 349));
    EXPECT_EQ(dialog.maximumSize(), QSize(351, 349));
    EXPECT_EQ(dialog.targetEdit()->width(), 315);
    EXPECT_EQ(dialog.folderTree()->size(), QSize(315, 249));
    EXPECT_EQ(dialog.folderTree()->objectTypes(), TShellTreeView::otFolders);
    EXPECT_FALSE(dialog.folderTree()->rootIsDecorated());
    EXPECT_LT(Button(dialog, "btnOk")->x(), Button(dialog, "btnCancel")->x());
}

TEST_F(FrmMoveToTest, OpensOnTheRememberedFolderOrTheHomeFolder)
{
    {
        remember(at("one"));
        TFrmMoveTo dialog(nullptr, services());
        EXPECT_EQ(dialog.folderTree()->Path(), at("one"));
        EXPECT_EQ(dialog.targetEdit()->text(), at("one"));
    }
    m_settings.clear();
    TFrmMoveTo dialog(nullptr, services());
    EXPECT_EQ(QDir(dialog.targetEdit()->text()), QDir::home());
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(FrmMoveToTest, ARememberedHiddenFolderOpensWithNothingSelected)
{
    for (const char *hidden : {".hidden", ".hidden/inner"}) {
        SCOPED_TRACE(hidden);
        remember(at(hidden));
        TFrmMoveTo dialog(nullptr, services());
        EXPECT_TRUE(dialog.folderTree()->Path().isEmpty());
        EXPECT_TRUE(dialog.targetEdit()->text().isEmpty());
        EXPECT_TRUE(m_errors.isEmpty());
    }
}

TEST_F(FrmMoveToTest, AGoneRememberedFolderIsReportedAndTheRootStaysSelected)
{
    remember(at("gone"));
    TFrmMoveTo dialog(nullptr, services());
    ASSERT_EQ(m_errors.size(), 1);
    EXPECT_TRUE(m_errors.first().contains(at("gone")));
    EXPECT_EQ(dialog.targetEdit()->text(), QStringLiteral("/"));
}

TEST_F(FrmMoveToTest, ClickingAFolderInTheTreeFillsTheEdit)
{
    remember(m_dir.path());
    TFrmMoveTo dialog(nullptr, services());
    dialog.show();
    TShellTreeView *tree = dialog.folderTree();
    const QModelIndex parent = tree->currentIndex();
    tree->expand(parent);
    QModelIndex two;
    for (int row = 0; row < tree->model()->rowCount(parent); ++row)
        if (tree->model()->index(row, 0, parent).data().toString() == QStringLiteral("two"))
            two = tree->model()->index(row, 0, parent);
    ASSERT_TRUE(two.isValid());
    tree->scrollTo(two);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(two).center());
    EXPECT_EQ(dialog.targetEdit()->text(), at("two"));
}

TEST_F(FrmMoveToTest, OkAcceptsATypedFolderWithBlanksAndRemembersTheTreesFolder)
{
    remember(at("one"));
    TFrmMoveTo dialog(nullptr, services());
    dialog.show();
    dialog.targetEdit()->clear();
    QTest::keyClicks(dialog.targetEdit(), QStringLiteral("  ") + at("two") + QStringLiteral(" "));
    QTest::mouseClick(Button(dialog, "btnOk"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.targetFolder(), at("two"));
    EXPECT_EQ(m_settings.value(QStringLiteral("main/copyTo")), at("one"));
}

TEST_F(FrmMoveToTest, TextsThatNameNoFolderAreRefusedSilently)
{
    remember(at("one"));
    // Empty, blanks, a folder that is gone, a file, a relative name.
    const QString texts[] = {QString(), QStringLiteral("   "), at("gone"), at("file.swf"), QStringLiteral("one")};
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        TFrmMoveTo dialog(nullptr, services());
        dialog.show();
        dialog.targetEdit()->setText(text);
        dialog.targetEdit()->setFocus();
        QTest::keyClick(dialog.targetEdit(), Qt::Key_Return);
        QTest::mouseClick(Button(dialog, "btnOk"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), 0);
    }
    EXPECT_EQ(m_writes, 0);
}

TEST_F(FrmMoveToTest, EnterInTheEditAcceptsLikeOkAndCancelRemembersNothing)
{
    remember(at("one"));
    {
        TFrmMoveTo dialog(nullptr, services());
        dialog.show();
        QTest::mouseClick(Button(dialog, "btnCancel"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(m_writes, 0);
    }
    TFrmMoveTo dialog(nullptr, services());
    dialog.show();
    dialog.targetEdit()->setFocus();
    QTest::keyClick(dialog.targetEdit(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_writes, 1);
}

TEST_F(FrmMoveToTest, TheOpenerSetsTheTitleAndOptionallyTheFrame)
{
    TFrmMoveTo dialog(nullptr, services());
    dialog.frame()->setTitle(QStringLiteral("Select Target directory"));
    dialog.setTitles(QStringLiteral("Copy To..."), false);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Copy To..."));
    EXPECT_EQ(dialog.frame()->title(), QStringLiteral("Select Target directory"));
    dialog.setTitles(QStringLiteral("Select Your Search Directory"), true);
    EXPECT_EQ(dialog.frame()->title(), QStringLiteral("Select Your Search Directory"));
}
