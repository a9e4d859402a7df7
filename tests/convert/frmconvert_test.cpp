// The single conversion dialog and its command, driven as a person does:
// fields typed, buttons clicked, pickers answered, boxes read.
#include "convert/frmconvert.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include "common/modalscript.h"
#include "common/smallmovies.h"

using namespace smallmovies;

namespace {

class FrmConvertTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString movie = folder.filePath(QStringLiteral("clip.swf"));
    QString projector = folder.filePath(QStringLiteral("clip.exe"));

    void SetUp() override { WriteBytes(movie, PlainMovie()); }
};

TfrmConvert *Dialog(QWidget *modal) { return qobject_cast<TfrmConvert *>(modal); }

void Type(QWidget *modal, const char *edit, const QString &text)
{
    modal->findChild<QLineEdit *>(QLatin1String(edit))->setText(text);
}

void Click(QWidget *modal, const char *button)
{
    modal->findChild<QAbstractButton *>(QLatin1String(button))->click();
}

}  // namespace

TEST_F(FrmConvertTest, SwfToExeStartsFromTheGivenMovieAndMakesTheProjectorSilently)
{
    QString title, sourceLabel, targetLabel, source;
    QSize size;
    TModalScript script({{"TfrmConvert", [&](QWidget *modal) {
                              title = modal->windowTitle();
                              size = modal->size();
                              sourceLabel = Dialog(modal)->sourceLabel()->text();
                              targetLabel = Dialog(modal)->targetLabel()->text();
                              source = Dialog(modal)->sourceEdit()->text();
                              Type(modal, "edtTarget", projector);
                              Click(modal, "btnOk");
                          }}});
    RunSingleConversion(nullptr, ConvertDirection::SwfToExe, movie);
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(title, QStringLiteral("swf to exe"));
    EXPECT_EQ(size, QSize(389, 143));
    EXPECT_EQ(sourceLabel, QStringLiteral("Import Flash File:"));
    EXPECT_EQ(targetLabel, QStringLiteral("Export Target File:"));
    EXPECT_EQ(source, movie);
    EXPECT_TRUE(ReadBytes(projector).endsWith(PlainMovie() + QByteArray("\x56\x34\x12\xFA\x1E\0\0\0", 8)));
}

TEST_F(FrmConvertTest, ExeToSwfNeverPresetsItsSourceAndTakesTheMovieOut)
{
    ASSERT_FALSE(ConvertFile(ConvertDirection::SwfToExe, movie, projector).has_value());
    const QString extracted = folder.filePath(QStringLiteral("back.swf"));
    QString title, sourceLabel, source;
    TModalScript script({{"TfrmConvert", [&](QWidget *modal) {
                              title = modal->windowTitle();
                              sourceLabel = Dialog(modal)->sourceLabel()->text();
                              source = Dialog(modal)->sourceEdit()->text();
                              Type(modal, "edtSource", projector);
                              Type(modal, "edtTarget", extracted);
                              Click(modal, "btnOk");
                          }}});
    RunSingleConversion(nullptr, ConvertDirection::ExeToSwf, movie);
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(title, QStringLiteral("exe to swf"));
    EXPECT_EQ(sourceLabel, QStringLiteral("Import EXE File:"));
    EXPECT_TRUE(source.isEmpty());
    EXPECT_EQ(ReadBytes(extracted), PlainMovie());
}

TEST_F(FrmConvertTest, AFailedConversionIsToldWithTheReason)
{
    const QString notAProjector = folder.filePath(QStringLiteral("notes.exe"));
    WriteBytes(notAProjector, "no movie here");
    const QString target = folder.filePath(QStringLiteral("kept.swf"));
    WriteBytes(target, "earlier movie");
    QString boxTitle, boxText;
    TModalScript script({{"TfrmConvert",
                          [&](QWidget *modal) {
                              Type(modal, "edtSource", notAProjector);
                              Type(modal, "edtTarget", target);
                              Click(modal, "btnOk");
                          }},
                         {"QMessageBox", [&](QWidget *modal) {
                              boxTitle = modal->windowTitle();
                              boxText = AnswerBox(modal);
                          }}});
    RunSingleConversion(nullptr, ConvertDirection::ExeToSwf, QString());
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(boxTitle, QStringLiteral("Information"));
    EXPECT_TRUE(boxText.contains(QStringLiteral("No Flash movie"))) << boxText.toStdString();
    EXPECT_EQ(ReadBytes(target), QByteArray("earlier movie"));
}

TEST_F(FrmConvertTest, PickersAreTitledByTheLabelsAndFilteredByDirection)
{
    WriteBytes(projector, "an existing target");
    QString sourceTitle, targetTitle, targetSuffix;
    QStringList sourceFilters, targetFilters;
    QString source, target;
    const auto pick = [](QWidget *modal, const QString &path, QString &title, QStringList &filters) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        ChooseInFileDialog(dialog, path);
    };
    TModalScript script({
        {"TfrmConvert", [&](QWidget *modal) { Click(modal, "btnSetSource"); }},
        {"QFileDialog", [&](QWidget *modal) { pick(modal, movie, sourceTitle, sourceFilters); }},
        {"TfrmConvert", [&](QWidget *modal) { Click(modal, "btnSetTarget"); }},
        {"QFileDialog",
         [&](QWidget *modal) {
             targetSuffix = qobject_cast<QFileDialog *>(modal)->defaultSuffix();
             pick(modal, projector, targetTitle, targetFilters);
         }},
        {"TfrmConvert",
         [&](QWidget *modal) {
             source = Dialog(modal)->sourceEdit()->text();
             target = Dialog(modal)->targetEdit()->text();
             Click(modal, "btnCancel");
         }},
    });
    RunSingleConversion(nullptr, ConvertDirection::SwfToExe, QString());
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(sourceTitle, QStringLiteral("Import Flash File:"));
    EXPECT_EQ(sourceFilters, QStringList{QStringLiteral("flash file(*.swf)")});
    EXPECT_EQ(targetTitle, QStringLiteral("Export Target File:"));
    EXPECT_EQ(targetFilters, QStringList{QStringLiteral("flash exe(*.exe)")});
    EXPECT_EQ(targetSuffix, QStringLiteral("swf"));
    EXPECT_EQ(source, movie);
    EXPECT_EQ(target, projector);
    EXPECT_EQ(ReadBytes(projector), QByteArray("an existing target"));  // cancelled: nothing converted
}

TEST_F(FrmConvertTest, OkIsRefusedSilentlyUntilTheSourceExistsAndTheTargetIsNotBlank)
{
    bool stillOpen[3] = {};
    TModalScript script({
        {"TfrmConvert",
         [&](QWidget *modal) {
             Type(modal, "edtSource", movie + QLatin1Char(' '));  // taken as typed: no such file
             Type(modal, "edtTarget", projector);
             Click(modal, "btnOk");
             stillOpen[0] = modal->isVisible();
         }},
        {"TfrmConvert",
         [&](QWidget *modal) {
             Type(modal, "edtSource", folder.path());  // a folder is no file
             Click(modal, "btnOk");
             stillOpen[1] = modal->isVisible();
         }},
        {"TfrmConvert",
         [&](QWidget *modal) {
             Type(modal, "edtSource", movie);
             Type(modal, "edtTarget", QStringLiteral("   "));
             Click(modal, "btnOk");
             stillOpen[2] = modal->isVisible();
             Click(modal, "btnCancel");
         }},
    });
    RunSingleConversion(nullptr, ConvertDirection::SwfToExe, QString());
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(stillOpen[0] && stillOpen[1] && stillOpen[2]);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("clip.swf")});
}
