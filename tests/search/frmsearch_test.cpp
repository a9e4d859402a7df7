// The search dialog as a user drives it: locations, criteria, the result
// list, Stop and Preview.
#include "search/frmsearch.h"
#include "searchtesthelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class FrmSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        WriteMovie(at("intro.swf"), 6, 12, 512);
        WriteMovie(at("my_intro_2.swf"), 7, 24, 4096);
        WriteMovie(at("Intro.swf"), 5, 8, 900);
        WriteMovie(at("sub/intro3.swf"), 6, 30, 2000);
        TSearchServices services;
        services.preview = [this](const QStringList &files) { m_previewed << files; };
        m_dialog = std::make_unique<TFrmSearch>(nullptr, services);
        m_dialog->show();
    }

    QString at(const char *relative) const { return m_dir.filePath(QString::fromUtf8(relative)); }

    template <typename Widget>
    Widget *child(const char *name) const
    {
        return m_dialog->findChild<Widget *>(QString::fromUtf8(name));
    }

    void typeInto(const char *name, const QString &text)
    {
        auto *edit = child<QLineEdit>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    void typeLocation(const QString &location)
    {
        auto *path = child<QComboBox>("cbbPath");
        path->lineEdit()->clear();
        QTest::keyClicks(path->lineEdit(), location);
    }

    void click(const char *button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }

    // Each row's name, and its folder column.
    QStringList rows(int column = 0) const
    {
        QStringList texts;
        auto *list = child<QTreeWidget>("lstFile");
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            texts << list->topLevelItem(row)->text(column);
        return texts;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TFrmSearch> m_dialog;
    QList<QStringList> m_previewed;
};

} // namespace

TEST_F(FrmSearchTest, ControlsStartAsDesigned)
{
    EXPECT_EQ(m_dialog->size(), QSize(496, 362));
    EXPECT_EQ(child<QTabWidget>("Page")->geometry(), QRect(9, 8, 401, 137));
    EXPECT_EQ(child<QComboBox>("cbbType")->currentText(), QStringLiteral(" .swf"));
    EXPECT_TRUE(child<QCheckBox>("chkHasChild")->isChecked());
    auto *path = child<QComboBox>("cbbPath");
    EXPECT_EQ(path->currentIndex(), 0);
    EXPECT_TRUE(path->currentText().startsWith(QStringLiteral("All Local Disk ( / ")));
    EXPECT_GE(path->findText(QStringLiteral("Local Disk ( / ) ")), 1);
    auto *version = child<QComboBox>("cbbVersion");
    EXPECT_EQ(version->count(), 8);
    EXPECT_EQ(version->itemText(7), QStringLiteral("Flash MX 2004"));
    auto *sign = child<QComboBox>("cbbSign");
    QStringList signs;
    for (int index = 0; index < sign->count(); ++index)
        signs << sign->itemText(index);
    EXPECT_EQ(signs, QStringList({" > ", " <", " =", " >=", " <="}));
    for (const char *number : {"edtRate", "edtSize1", "edtSize2"})
        EXPECT_EQ(child<QLineEdit>(number)->text(), QStringLiteral("0"));
    auto *list = child<QTreeWidget>("lstFile");
    EXPECT_EQ(list->columnCount(), 3);
    EXPECT_EQ(list->columnWidth(1), 300);
}

TEST_F(FrmSearchTest, NamePieceIsCaseSensitiveAndResultsCarryTheirFolder)
{
    typeInto("edtFileName", QStringLiteral("intro"));
    const QString folderWithSlash = m_dir.path() + QStringLiteral("/");
    for (const QString &location : {m_dir.path(), folderWithSlash}) {
        SCOPED_TRACE(location.toStdString());
        typeLocation(location);
        click("btnStart");
        EXPECT_EQ(rows(), QStringList({"intro.swf", "my_intro_2.swf", "intro3.swf"}));
        EXPECT_EQ(rows(2), QStringList({folderWithSlash, folderWithSlash, at("sub") + QStringLiteral("/")}));
        EXPECT_EQ(child<QLabel>("lblFindCount")->text(), QStringLiteral("3"));
        EXPECT_EQ(m_dialog->FoundCount(), 3);
    }
    EXPECT_EQ(rows(1).first(), QStringLiteral("Flash 6 - 1Frame - 12fps - ") + QLocale().toString(0.5, 'f', 1) +
                                   QStringLiteral("Kb - W:0 H:0"));
    child<QCheckBox>("chkHasChild")->setChecked(false);
    click("btnStart");
    EXPECT_EQ(rows().size(), 2);
}

TEST_F(FrmSearchTest, ABlankNameFindsEveryMovie)
{
    typeInto("edtFileName", QStringLiteral(" "));
    typeLocation(m_dir.path());
    click("btnStart");
    EXPECT_EQ(rows().size(), 4);
}

TEST_F(FrmSearchTest, RateAndSizeFieldsTakeDigitsOnlyAndFilter)
{
    typeLocation(m_dir.path());
    child<QCheckBox>("chkFlashRate")->setChecked(true);
    child<QComboBox>("cbbSign")->setCurrentIndex(3);  // " >="
    typeInto("edtRate", QStringLiteral("1a-2 "));
    EXPECT_EQ(child<QLineEdit>("edtRate")->text(), QStringLiteral("12"));
    QTest::keyClick(child<QLineEdit>("edtRate"), Qt::Key_Backspace);
    QTest::keyClick(child<QLineEdit>("edtRate"), Qt::Key_2);
    click("btnStart");
    EXPECT_EQ(rows(), QStringList({"intro.swf", "my_intro_2.swf", "intro3.swf"}));

    child<QCheckBox>("chkFlashRate")->setChecked(false);
    child<QCheckBox>("chkFileSize")->setChecked(true);
    click("btnStart");
    EXPECT_EQ(rows(), QStringList({"Intro.swf", "intro.swf"}));
}

TEST_F(FrmSearchTest, ANumberBeyond32BitsIsRefusedWithAMessageAndKeepsTheResults)
{
    typeLocation(m_dir.path());
    click("btnStart");
    ASSERT_EQ(rows().size(), 4);
    child<QCheckBox>("chkFileSize")->setChecked(true);
    child<QLineEdit>("edtSize2")->setText(QStringLiteral("99999999999"));  // pasted
    QString message;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box) {
            message = box->windowTitle() + QLatin1Char('|') + box->text();
            box->accept();
        }
    });
    click("btnStart");
    EXPECT_EQ(message, QStringLiteral("Information|'99999999999' is not a valid whole number."));
    EXPECT_EQ(rows().size(), 4);
}

TEST_F(FrmSearchTest, StopDuringAWalkEndsIt)
{
    for (int index = 0; index < 50; ++index)
        WriteMovie(at("many/movie%1.swf").replace(QStringLiteral("%1"), QString::number(index)));
    typeLocation(m_dir.path());
    // Served at the walk's first entry.
    QTimer::singleShot(0, [this] { click("btnStop"); });
    click("btnStart");
    EXPECT_LE(rows().size(), 1);
    EXPECT_FALSE(m_dialog->searching());
    click("btnStart");
    EXPECT_EQ(rows().size(), 54);
}

TEST_F(FrmSearchTest, PreviewHandsTheResultsOverAndClosesOnlyWithResults)
{
    typeInto("edtFileName", QStringLiteral("nothing like it"));
    typeLocation(m_dir.path());
    click("btnStart");
    click("btnPreview");
    EXPECT_TRUE(m_previewed.isEmpty());
    EXPECT_TRUE(m_dialog->isVisible());

    typeInto("edtFileName", QStringLiteral("intro"));
    click("btnStart");
    click("btnPreview");
    ASSERT_EQ(m_previewed.size(), 1);
    EXPECT_EQ(m_previewed.first(), QStringList({at("intro.swf"), at("my_intro_2.swf"), at("sub/intro3.swf")}));
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
}

TEST_F(FrmSearchTest, PickedFolderReplacesTheLocationText)
{
    QString title;
    QTimer::singleShot(0, [&] {
        auto *picker = qobject_cast<TFrmMoveTo *>(QApplication::activeModalWidget());
        if (!picker)
            return;
        title = picker->windowTitle();
        picker->targetEdit()->setText(at("sub"));
        picker->btnOkClick();
    });
    click("btnSelPath");
    EXPECT_EQ(title, QStringLiteral("Select Your Search Directory"));
    EXPECT_EQ(child<QComboBox>("cbbPath")->currentIndex(), -1);
    EXPECT_EQ(child<QComboBox>("cbbPath")->currentText(), at("sub"));
    click("btnStart");
    EXPECT_EQ(rows(), QStringList{QStringLiteral("intro3.swf")});
}
