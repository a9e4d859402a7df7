// The Tools menu's conversion and screen saver commands open their dialogs
// with the interface texts and the catalogue's first selected movie; the
// batch conversion reaches the target folder dialog.
#include "app/frmmain.h"
#include "app/settings.h"
#include "apptesthelpers.h"
#include "catalogue/zenteqthumb.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "common/modalscript.h"

namespace {

struct DialogSeen {
    QString title;
    QString source;
    QString family;
    QStringList texts;  // of the named controls, in the order asked
};

QString TextOf(QWidget *modal, const char *name)
{
    QObject *control = modal->findChild<QObject *>(QLatin1String(name));
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    return QStringLiteral("(missing %1)").arg(QLatin1String(name));
}

// Triggers the menu item `action` and reads the dialog it opens, then
// cancels it.
DialogSeen OpenAndCancel(TFrmMain &window, const char *action, const char *dialogClass,
                         std::initializer_list<const char *> controls)
{
    DialogSeen seen;
    TModalScript script({{dialogClass, [&](QWidget *modal) {
                              seen.title = modal->windowTitle();
                              seen.source = modal->findChild<QLineEdit *>(QStringLiteral("edtSource"))->text();
                              seen.family = modal->font().family();
                              for (const char *name : controls)
                                  seen.texts << TextOf(modal, name);
                              modal->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
                          }}});
    window.findChild<QAction *>(QLatin1String(action))->trigger();
    EXPECT_TRUE(script.finished()) << action;
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join(QLatin1Char('\n')).toStdString();
    return seen;
}

}  // namespace

TEST(ConvertCommands, OpenTheirDialogsWithTheirTextsAndTheFirstSelectedMovie)
{
    TIniFileGuard ini;
    QTemporaryDir folder;
    for (const char *name : {"a.swf", "b.swf", "c.swf"})
        WriteTinyMovie(folder.filePath(QLatin1String(name)));
    // Every return from a dialog reopens the stored folder.
    WriteIniString(QStringLiteral("main"), QStringLiteral("lastDir"), folder.path());
    TFrmMain window{QString()};
    window.show();
    window.activateWindow();
    Settle();
    window.findChild<QAction *>(QStringLiteral("nDetails1"))->trigger();
    const auto selectAll = [&] {
        Settle();
        window.flashView()->selectAll();
        return window.flashView()->firstSelectedPath();
    };
    const QString first = folder.filePath(QStringLiteral("a.swf"));
    ASSERT_EQ(selectAll(), first);

    const DialogSeen swfToExe =
        OpenAndCancel(window, "nSwf2Exe", "TfrmConvert", {"lblSelectSource", "lblSelectTarget", "btnOk", "btnCancel"});
    EXPECT_EQ(swfToExe.title, QStringLiteral("swf to exe"));
    EXPECT_EQ(swfToExe.source, first);
    EXPECT_EQ(swfToExe.family, QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(swfToExe.texts, (QStringList{QStringLiteral("Import Flash File:"), QStringLiteral("Export Target File:"),
                                           QStringLiteral("&Ok"), QStringLiteral("&Cancel")}));

    selectAll();
    const DialogSeen exeToSwf = OpenAndCancel(window, "nExe2Swf", "TfrmConvert", {"lblSelectSource"});
    EXPECT_EQ(exeToSwf.title, QStringLiteral("exe to swf"));
    EXPECT_TRUE(exeToSwf.source.isEmpty());
    EXPECT_EQ(exeToSwf.texts, QStringList{QStringLiteral("Import EXE File:")});

    selectAll();
    const DialogSeen saver =
        OpenAndCancel(window, "nFlash2ScreenSaver", "TFrmScreensaver",
                      {"lblSelectSource", "lblSelectTarget", "chkSetCurScr", "btnOk", "btnCancel"});
    EXPECT_EQ(saver.title, QStringLiteral("Make Flash Screen Saver"));
    EXPECT_EQ(saver.source, first);
    EXPECT_EQ(saver.texts, (QStringList{QStringLiteral("Select Source of Flash File"), QStringLiteral("Target File"),
                                        QStringLiteral("Set as Current Screen Saver"), QStringLiteral("&Ok"),
                                        QStringLiteral("&Cancel")}));

    Settle();
    window.flashView()->setItemSelected(0, false);
    window.flashView()->setItemSelected(1, false);
    window.flashView()->setItemSelected(2, false);
    ASSERT_EQ(window.flashView()->selectedCount(), 0);
    EXPECT_TRUE(OpenAndCancel(window, "nSwf2Exe", "TfrmConvert", {}).source.isEmpty());
    EXPECT_TRUE(OpenAndCancel(window, "nFlash2ScreenSaver", "TFrmScreensaver", {}).source.isEmpty());
}

TEST(ConvertCommands, BatchConvertTakesItsOtherFolderFromTheTargetFolderDialog)
{
    TIniFileGuard ini;
    QTemporaryDir out;
    TFrmMain window{QString()};
    window.show();
    Settle();
    QString title, choices, convert, folderTitle, folderFrame, chosen;
    TModalScript script({
        {"TFrmBatchConvert",
         [&](QWidget *modal) {
             title = modal->windowTitle();
             for (QRadioButton *choice :
                  modal->findChild<QGroupBox *>(QStringLiteral("rgConType"))->findChildren<QRadioButton *>())
                 choices += choice->text() + QLatin1Char('|');
             convert = TextOf(modal, "btnOk");
             modal->findChild<QAbstractButton *>(QStringLiteral("rbOtherDir"))->click();
             modal->findChild<QAbstractButton *>(QStringLiteral("btnSelPath"))->click();
         }},
        {"TFrmMoveTo",
         [&](QWidget *modal) {
             folderTitle = modal->windowTitle();
             folderFrame = modal->findChild<QGroupBox *>(QStringLiteral("gbSelectTarget"))->title();
             modal->findChild<QLineEdit *>(QStringLiteral("edtTarget"))->setText(out.path());
             modal->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
         }},
        {"TFrmBatchConvert",
         [&](QWidget *modal) {
             chosen = modal->findChild<QLineEdit *>(QStringLiteral("edtPath"))->text();
             modal->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
         }},
    });
    window.findChild<QAction *>(QStringLiteral("nBatchConvert"))->trigger();
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(title, QStringLiteral("Batch Convert"));
    EXPECT_EQ(choices, QStringLiteral("Swf To Exe|Exe To Swf|Swf To Screen Saver|"));
    EXPECT_EQ(convert, QStringLiteral("&Convert"));
    EXPECT_EQ(folderTitle, QStringLiteral("Select directory to save"));
    EXPECT_EQ(folderFrame, QStringLiteral("Select directory to save"));
    EXPECT_EQ(chosen, out.path());
}
