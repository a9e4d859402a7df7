#include "app/commandroutes.h"

#include "app/errorreport.h"
#include "app/formtexts.h"
#include "app/frmmain.h"
#include "catalogue/frmproperty.h"
#include "catalogue/zenteqthumb.h"
#include "convert/frmconvert.h"
#include "desktop/frmscreensaver.h"
#include "desktop/wallpaper.h"

#include "ui/plaintext.h"

#include <exception>

namespace {

// Commands whose work this version does not carry yet say so plainly
// instead of pretending to run.
void ShowNotAvailable(TFrmMain *main, const QString &command)
{
    ShowInformation(main, QStringLiteral("%1 is not available in this version.").arg(command));
}

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

void SaveSelectedMovieAs(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Save As")); }
void CopySelectedMoviesTo(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Copy To")); }
void MoveSelectedMoviesTo(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Move To")); }
void DeleteSelectedMovies(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Delete")); }
void OpenSearchDialog(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Search")); }

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

void OpenBatchConvertDialog(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Batch Convert")); }
