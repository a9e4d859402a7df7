#include "app/commandroutes.h"

#include "app/errorreport.h"
#include "app/formtexts.h"
#include "app/frmmain.h"
#include "app/settings.h"
#include "catalogue/frmproperty.h"
#include "catalogue/zenteqthumb.h"
#include "convert/frmbatchconvert.h"
#include "convert/frmconvert.h"
#include "desktop/frmscreensaver.h"
#include "desktop/wallpaper.h"
#include "fileops/cataloguecommands.h"
#include "fileops/frmmoveto.h"
#include "search/frmsearch.h"
#include "shell/shelltreeview.h"

#include "ui/plaintext.h"

#include <exception>

namespace {

// Runs a command whose failure (an unreadable movie, a file that cannot be
// written) ends it with the application's error report.
template <typename Command>
void RunReportingErrors(Command &&command)
{
    try {
        command();
    } catch (const std::exception &error) {
        ShowErrorReport(QString::fromUtf8(error.what()));
    }
}

// What the target folder dialog needs of the application frame.
TMoveToServices MoveToServices()
{
    return {&ApplyFormTexts, &ReadIniString, &WriteIniString, &ShowErrorReport};
}

} // namespace

QString SelectedMovieOrInform(TFrmMain *main)
{
    const TZenteqThumb *catalogue = main->flashView();
    if (catalogue->selectedCount() == 1)
        return catalogue->firstSelectedPath();
    ShowInformation(main, QStringLiteral("Please select a file first!"));
    return QString();
}

void OpenPropertyDialog(TFrmMain *main)
{
    const QString path = SelectedMovieOrInform(main);
    if (!path.isEmpty())
        RunReportingErrors([&] { ShowMovieProperties(main, path, &ApplyFormTexts); });
}

void SetSelectedMovieAsWallpaper(TFrmMain *main)
{
    const QString path = SelectedMovieOrInform(main);
    if (!path.isEmpty())
        RunReportingErrors([&] { SetFlashWallpaper(path); });
}

void SaveSelectedMovieAs(TFrmMain *main)
{
    const QString path = SelectedMovieOrInform(main);
    if (!path.isEmpty())
        SaveMovieAs(main, path);
}

void CopySelectedMoviesTo(TFrmMain *main) { CopySelectionTo(main, main->flashView(), MoveToServices()); }
void MoveSelectedMoviesTo(TFrmMain *main) { MoveSelectionTo(main, main->flashView(), MoveToServices()); }
void DeleteSelectedMovies(TFrmMain *main) { DeleteSelection(main, main->flashView()); }
void OpenSearchDialog(TFrmMain *main)
{
    const auto preview = [main](const QStringList &files) {
        main->flashView()->LoadFolder(main->folderTree()->Path(), &files);
    };
    TFrmSearch dialog(main, {MoveToServices(), preview});
    dialog.exec();
}
void OpenExeToSwfDialog(TFrmMain *main)
{
    RunSingleConversion(main, ConvertDirection::ExeToSwf, QString(), &ApplyFormTexts);
}

// Both start from the first selected movie, if any; no selection is fine.
void OpenSwfToExeDialog(TFrmMain *main)
{
    RunSingleConversion(main, ConvertDirection::SwfToExe, main->flashView()->firstSelectedPath(), &ApplyFormTexts);
}

void OpenScreenSaverDialog(TFrmMain *main)
{
    ShowScreenSaverMaker(main, main->flashView()->firstSelectedPath(), &ApplyFormTexts, &ShowErrorReport);
}

// The batch conversion's other folder comes from the target folder dialog.
void OpenBatchConvertDialog(TFrmMain *main)
{
    ShowBatchConvert(main, &ApplyFormTexts, [](QWidget *owner) {
        TFrmMoveTo folders(owner, MoveToServices());
        folders.setTitles(QStringLiteral("Select directory to save"), true);
        return folders.exec() == QDialog::Accepted ? folders.targetFolder() : QString();
    });
}
