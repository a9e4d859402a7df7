#include "player/fullscreenlauncher.h"

void PlayMovieFullScreen(const QString &untrimmedPath)
{
    // The full-screen player does not exist yet: this version opens the
    // main window directly. A later change shows the player here, modally,
    // on `untrimmedPath`.
    Q_UNUSED(untrimmedPath);
}
