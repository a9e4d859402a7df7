// The batch conversion dialog, driven as a person does: the list built
// through its picker and buttons, the options clicked, the questions and
// the closing box answered.
#include "convert/frmbatchconvert.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/modalscript.h"
#include "common/smallmovies.h"

using namespace smallmovies;

namespace {

class FrmBatchConvertTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    TFrmBatchConvert dialog;

    void SetUp() override { dialog.show(); }

    QString movie(const char *name) const
    {
        const QString path = folder.filePath(QString::fromLatin1(name));
        WriteBytes(path, PlainMovie());
        return path;
    }
    QString path(const char *name) const { return folder.filePath(QString::fromLatin1(name)); }
    void click(const char *name) { dialog.findChild<QAbstractButton *>(QLatin1String(name))->click(); }
    void chooseType(int index)
    {
        dialog.findChild<QGroupBox *>(QStringLiteral("rgConType"))->findChildren<QRadioButton *>().at(index)->click();
    }
    QStringList listed() const
    {
        QStringList entries;
        for (int row = 0; row < dialog.sourceList()->count(); ++row)
            entries << dialog.sourceList()->item(row)->text();
        return entries;
    }
};

// Runs "&Convert" and answers the boxes it shows with `answers` in turn,
// returning their texts.
struct BoxesSeen {
    QStringList texts;
    QList<QMessageBox::Icon> icons;
    QList<int> progressAtBox;
};

BoxesSeen Convert(TFrmBatchConvert &dialog, const QList<QMessageBox::StandardButton> &answers)
{
    BoxesSeen seen;
    std::vector<TModalScript::Step> steps;
    for (const QMessageBox::StandardButton answer : answers)
        steps.push_back({"QMessageBox", [&seen, &dialog, answer](QWidget *modal) {
                             seen.icons << qobject_cast<QMessageBox *>(modal)->icon();
                             seen.progressAtBox << dialog.progressBar()->value();
                             seen.texts << AnswerBox(modal, answer);
                         }});
    TModalScript script(std::move(steps));
    dialog.findChild<QAbstractButton *>(QStringLiteral("btnOk"))->click();
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join(QLatin1Char('\n')).toStdString();
    return seen;
}

}  // namespace

TEST(BatchTargetPath, CutsThreeCharactersAndAppendsTheTypesExtension)
{
    const struct {
        const char *source;
        BatchType type;
        bool other;
        const char *folder;
        const char *target;
    } cases[] = {
        {"/m/clip.swf", BatchType::SwfToExe, false, "", "/m/clip.exe"},
        {"/m/clip.exe", BatchType::ExeToSwf, false, "/ignored", "/m/clip.swf"},
        {"/m/clip.jpeg", BatchType::ExeToSwf, false, "", "/m/clip.jswf"},
        {"/d/a/movie.swf", BatchType::SwfToScreenSaver, true, "/e/out", "/e/out/movie.scr"},
        {"/d/a/movie.swf", BatchType::SwfToExe, true, "  /e/out/  ", "/e/out/movie.exe"},
        {"/m/ab", BatchType::SwfToExe, false, "", "/m/ab.exe"},
        {"/m/abc", BatchType::SwfToExe, true, "/o", "/o/abc.exe"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(BatchTargetPath(QString::fromLatin1(c.source), c.type, c.other, QString::fromLatin1(c.folder)),
                  QString::fromLatin1(c.target))
            << c.source;
}

TEST_F(FrmBatchConvertTest, StartsAsSwfToExeBesideTheSourcesAskingWithItsSize)
{
    EXPECT_EQ(dialog.size(), QSize(414, 349));
    EXPECT_EQ(dialog.selectedType(), BatchType::SwfToExe);
    EXPECT_TRUE(dialog.findChild<QRadioButton *>(QStringLiteral("rbSameDir"))->isChecked());
    EXPECT_TRUE(dialog.findChild<QRadioButton *>(QStringLiteral("rbAsk"))->isChecked());
    EXPECT_FALSE(dialog.findChild<QWidget *>(QStringLiteral("edtPath"))->isEnabled());
    EXPECT_FALSE(dialog.findChild<QWidget *>(QStringLiteral("btnSelPath"))->isEnabled());
    click("rbOtherDir");
    EXPECT_TRUE(dialog.findChild<QWidget *>(QStringLiteral("edtPath"))->isEnabled());
    EXPECT_TRUE(dialog.findChild<QWidget *>(QStringLiteral("btnSelPath"))->isEnabled());
    click("rbSameDir");
    EXPECT_FALSE(dialog.findChild<QWidget *>(QStringLiteral("edtPath"))->isEnabled());
}

TEST_F(FrmBatchConvertTest, RefusesAnEmptyListAndAMissingOtherFolder)
{
    BoxesSeen empty = Convert(dialog, {QMessageBox::Ok});
    EXPECT_EQ(empty.texts, QStringList{QStringLiteral("please add file first! ")});
    EXPECT_EQ(empty.icons, QList<QMessageBox::Icon>{QMessageBox::Information});

    dialog.sourceList()->addItem(movie("a.swf"));
    click("rbOtherDir");
    for (const QString &typed : {QString(), path("missing")}) {
        dialog.findChild<QLineEdit *>(QStringLiteral("edtPath"))->setText(typed);
        const BoxesSeen missing = Convert(dialog, {QMessageBox::Ok});
        EXPECT_EQ(missing.texts, QStringList{QStringLiteral("destination is n't existent!")});
        EXPECT_EQ(missing.icons, QList<QMessageBox::Icon>{QMessageBox::Warning});
    }
    EXPECT_FALSE(QFile::exists(path("a.exe")));
}

TEST_F(FrmBatchConvertTest, AskAnsweredNoSkipsOneEntryAndTheBarCountsTheOthers)
{
    dialog.sourceList()->addItems({movie("a.swf"), movie("b.swf"), movie("c.swf")});
    WriteBytes(path("b.exe"), "an earlier program");
    const BoxesSeen seen = Convert(dialog, {QMessageBox::No, QMessageBox::Ok});
    EXPECT_EQ(seen.texts,
              (QStringList{path("b.exe") + QStringLiteral("  is existent ,overwrite it?"), QStringLiteral("Complete!")}));
    EXPECT_EQ(seen.icons, (QList<QMessageBox::Icon>{QMessageBox::Question, QMessageBox::Information}));
    EXPECT_EQ(seen.progressAtBox, (QList<int>{1, 3}));
    EXPECT_EQ(dialog.progressBar()->value(), 0);
    EXPECT_TRUE(ReadBytes(path("a.exe")).endsWith(PlainMovie() + QByteArray("\x56\x34\x12\xFA\x1E\0\0\0", 8)));
    EXPECT_EQ(ReadBytes(path("b.exe")), QByteArray("an earlier program"));
    EXPECT_TRUE(QFile::exists(path("c.exe")));
    EXPECT_EQ(dialog.sourceList()->count(), 3);  // ready for another run
}

TEST_F(FrmBatchConvertTest, TheSameFileTwiceIsConvertedTwiceAskingTheSecondTime)
{
    dialog.sourceList()->addItems({movie("a.swf"), path("a.swf")});
    const BoxesSeen seen = Convert(dialog, {QMessageBox::Yes, QMessageBox::Ok});
    EXPECT_EQ(seen.texts.size(), 2);
    EXPECT_TRUE(seen.texts.first().endsWith(QStringLiteral("  is existent ,overwrite it?")));
    EXPECT_EQ(seen.progressAtBox.last(), 2);
}

TEST_F(FrmBatchConvertTest, AFailingEntryIsListedAndTheRunGoesOn)
{
    chooseType(1);  // Exe To Swf
    const QString projector = path("good.exe");
    ASSERT_FALSE(ConvertForBatch(BatchType::SwfToExe, movie("good.swf"), projector).has_value());
    QFile::remove(path("good.swf"));
    WriteBytes(path("notes.exe"), "no movie in here");
    dialog.sourceList()->addItems({path("notes.exe"), projector, path("gone.exe")});
    click("rbReplace");
    const BoxesSeen seen = Convert(dialog, {QMessageBox::Ok});
    ASSERT_EQ(seen.texts.size(), 1);
    const QString text = seen.texts.first();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Complete!"))) << text.toStdString();
    EXPECT_TRUE(text.contains(path("notes.exe") + QStringLiteral(": No Flash movie"))) << text.toStdString();
    EXPECT_TRUE(text.contains(path("gone.exe") + QStringLiteral(": Cannot open"))) << text.toStdString();
    EXPECT_FALSE(text.contains(projector + QStringLiteral(":")));
    EXPECT_EQ(ReadBytes(path("good.swf")), PlainMovie());
    EXPECT_FALSE(QFile::exists(path("notes.swf")));
}

TEST_F(FrmBatchConvertTest, ScreenSaversGoIntoTheTrimmedOtherFolderChosenWithThePicker)
{
    const QString out = path("out");
    QDir().mkpath(out);
    dialog.PickFolder = [&](QWidget *) { return QStringLiteral("  ") + out + QStringLiteral(" "); };
    chooseType(2);
    dialog.sourceList()->addItem(movie("clip.swf"));
    click("rbOtherDir");
    click("btnSelPath");
    EXPECT_EQ(dialog.findChild<QLineEdit *>(QStringLiteral("edtPath"))->text(), QStringLiteral("  ") + out + " ");
    const BoxesSeen seen = Convert(dialog, {QMessageBox::Ok});
    EXPECT_EQ(seen.texts, QStringList{QStringLiteral("Complete!")});
    EXPECT_TRUE(ReadBytes(out + QStringLiteral("/clip.scr")).endsWith(PlainMovie() + LittleEndian32(30)));
    EXPECT_FALSE(QFile::exists(path("clip.scr")));
}

TEST_F(FrmBatchConvertTest, TheListIsBuiltWithThePickerAndEmptiedByAnotherType)
{
    const QString first = movie("one.swf");
    const QString second = movie("two.swf");
    QString title;
    QStringList filters;
    TModalScript script({{"QFileDialog", [&](QWidget *modal) {
                              auto *picker = qobject_cast<QFileDialog *>(modal);
                              title = picker->windowTitle();
                              filters = picker->nameFilters();
                              picker->setDirectory(folder.path());
                              ChooseInFileDialog(modal, QStringLiteral("\"two.swf\" \"one.swf\""));
                          }}});
    click("btnAddFile");
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(title, QStringLiteral("select which file you want to transfer!"));
    EXPECT_EQ(filters, QStringList{QStringLiteral("Flash File(*.swf)")});
    EXPECT_EQ(listed(), (QStringList{second, first}));

    dialog.sourceList()->addItems({first, second});
    dialog.sourceList()->item(0)->setSelected(true);
    dialog.sourceList()->item(2)->setSelected(true);
    click("btnDelFile");
    EXPECT_EQ(listed(), (QStringList{first, second}));

    chooseType(0);  // the type already chosen keeps the list
    EXPECT_EQ(listed().size(), 2);
    chooseType(1);
    EXPECT_TRUE(listed().isEmpty());
    dialog.sourceList()->addItem(first);
    click("btnClear");
    EXPECT_TRUE(listed().isEmpty());
}
