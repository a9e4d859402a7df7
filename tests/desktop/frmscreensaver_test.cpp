// The screen saver maker's dialog, driven as a person does.
#include "desktop/frmscreensaver.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "common/modalscript.h"
#include "common/smallmovies.h"
#include "desktop/screensaver.h"
#include "platform/registrystore.h"
#include "platform/sandboxdesktop.h"

namespace {

class FrmScreensaverTest : public ::testing::Test {
protected:
    SandboxDesktop sandbox;
    QString movie = sandbox.root() + QStringLiteral("movie.swf");
    QString target = sandbox.root() + QStringLiteral("movie.scr");
    QString installed = sandbox.dataFolder() + QStringLiteral("pavoko.scr");

    void SetUp() override { WriteFileBytes(movie, smallmovies::PlainMovie()); }
    static bool Recorded()
    {
        return TRegistryStore()
            .ReadValue(QStringLiteral("Control Panel\\Desktop"), QStringLiteral("SCRNSAVE.EXE"))
            .has_value();
    }
};

void Type(QWidget *modal, const char *edit, const QString &text)
{
    modal->findChild<QLineEdit *>(QLatin1String(edit))->setText(text);
}

void Click(QWidget *modal, const char *button) { modal->findChild<QAbstractButton *>(QLatin1String(button))->click(); }

}  // namespace

TEST_F(FrmScreensaverTest, OkWithAFieldEmptyDoesNothing)
{
    bool open[2] = {};
    TModalScript script({
        {"TFrmScreensaver",
         [&](QWidget *modal) {
             Type(modal, "edtTarget", target);  // the source starts empty
             Click(modal, "btnOk");
             open[0] = modal->isVisible();
         }},
        {"TFrmScreensaver",
         [&](QWidget *modal) {
             Type(modal, "edtSource", movie);
             Type(modal, "edtTarget", QString());
             Click(modal, "btnOk");
             open[1] = modal->isVisible();
             Click(modal, "btnCancel");
         }},
    });
    ShowScreenSaverMaker(nullptr, QString());
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(script.unexpected.isEmpty());
    EXPECT_TRUE(open[0] && open[1]);
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(FrmScreensaverTest, MakesTheFileAndInstallsItOnlyWhenAsked)
{
    for (const bool install : {false, true}) {
        SCOPED_TRACE(install ? "installed" : "made only");
        QString source;
        QSize size;
        bool ticked = true;
        TModalScript script({{"TFrmScreensaver", [&](QWidget *modal) {
                                  size = modal->size();
                                  source = modal->findChild<QLineEdit *>(QStringLiteral("edtSource"))->text();
                                  auto *check = modal->findChild<QCheckBox *>(QStringLiteral("chkSetCurScr"));
                                  ticked = check->isChecked();
                                  check->setChecked(install);
                                  Type(modal, "edtTarget", target);
                                  Click(modal, "btnOk");
                              }}});
        ShowScreenSaverMaker(nullptr, movie);
        EXPECT_TRUE(script.finished());
        EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(size, QSize(393, 171));
        EXPECT_EQ(source, movie);
        EXPECT_FALSE(ticked);
        EXPECT_TRUE(FileBytes(target).endsWith(smallmovies::PlainMovie() + smallmovies::LittleEndian32(30)));
        EXPECT_EQ(QFile::exists(installed), install);
        EXPECT_EQ(Recorded(), install);
    }
}

TEST_F(FrmScreensaverTest, AFailureIsToldAndTheDialogStaysOpen)
{
    QString boxText;
    bool stillOpen = false;
    TModalScript script({
        {"TFrmScreensaver",
         [&](QWidget *modal) {
             Type(modal, "edtSource", sandbox.root() + QStringLiteral("none.swf"));
             Type(modal, "edtTarget", target);
             Click(modal, "btnOk");
         }},
        {"QMessageBox", [&](QWidget *modal) { boxText = AnswerBox(modal); }},
        {"TFrmScreensaver",
         [&](QWidget *modal) {
             stillOpen = modal->isVisible();
             Click(modal, "btnCancel");
         }},
    });
    ShowScreenSaverMaker(nullptr, QString());
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(boxText.contains(QStringLiteral("none.swf"))) << boxText.toStdString();
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(FrmScreensaverTest, PickersTakeTheirTitlesFromTheLabels)
{
    QString titles[2], suffixes[2], labels[2];
    QStringList filters[2];
    const auto pick = [&](QWidget *modal, int which, const QString &path) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        titles[which] = dialog->windowTitle();
        suffixes[which] = dialog->defaultSuffix();
        filters[which] = dialog->nameFilters();
        ChooseInFileDialog(dialog, path);
    };
    QString source, chosenTarget;
    TModalScript script({
        {"TFrmScreensaver",
         [&](QWidget *modal) {
             labels[0] = modal->findChild<QLabel *>(QStringLiteral("lblSelectSource"))->text();
             labels[1] = modal->findChild<QLabel *>(QStringLiteral("lblSelectTarget"))->text();
             Click(modal, "SpeedButton1");
         }},
        {"QFileDialog", [&](QWidget *modal) { pick(modal, 0, movie); }},
        {"TFrmScreensaver", [&](QWidget *modal) { Click(modal, "SpeedButton2"); }},
        {"QFileDialog", [&](QWidget *modal) { pick(modal, 1, target); }},
        {"TFrmScreensaver",
         [&](QWidget *modal) {
             source = modal->findChild<QLineEdit *>(QStringLiteral("edtSource"))->text();
             chosenTarget = modal->findChild<QLineEdit *>(QStringLiteral("edtTarget"))->text();
             Click(modal, "btnCancel");
         }},
    });
    ShowScreenSaverMaker(nullptr, QString());
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(titles[0], labels[0]);
    EXPECT_EQ(titles[1], labels[1]);
    EXPECT_EQ(filters[0], QStringList{QStringLiteral("Flash File(*.swf)")});
    EXPECT_EQ(filters[1], QStringList{QStringLiteral("Screen Saver(*.scr)")});
    EXPECT_EQ(suffixes[0], QStringLiteral("swf"));
    EXPECT_EQ(suffixes[1], QStringLiteral("scr"));
    EXPECT_EQ(source, movie);
    EXPECT_EQ(chosenTarget, target);
}
