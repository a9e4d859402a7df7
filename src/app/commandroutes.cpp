#include "app/commandroutes.h"

#include "app/frmmain.h"

#include <QMessageBox>

namespace {

// Commands whose work this version does not carry yet say so plainly
// instead of pretending to run.
void ShowNotAvailable(TFrmMain *main, const QString &command)
{
    QMessageBox::information(main, QStringLiteral("Information"),
                             QStringLiteral("%1 is not available in this version.").arg(command));
}

} // namespace

void SaveSelectedMovieAs(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Save As")); }
void OpenPropertyDialog(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Property")); }
void CopySelectedMoviesTo(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Copy To")); }
void MoveSelectedMoviesTo(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Move To")); }
void DeleteSelectedMovies(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Delete")); }
void OpenSearchDialog(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Search")); }
void OpenExeToSwfDialog(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Exe To Swf")); }
void OpenSwfToExeDialog(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Swf To Exe")); }
void OpenScreenSaverDialog(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Make Screen Saver")); }
void OpenBatchConvertDialog(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Batch Convert")); }
void SetSelectedMovieAsWallpaper(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Set As WallPaper")); }
void PlayPreviewFullScreen(TFrmMain *main) { ShowNotAvailable(main, QStringLiteral("Full Screen")); }
