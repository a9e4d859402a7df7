// The projector program: the movie appended to this very file (by swf2exe
// of the converter library) plays in a TProjectorWindow. Without a movie at
// its end the program says so in a message box and ends with status 1.

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <cstdio>

#include "helperprograms/embeddedmovie.h"
#include "helperprograms/projectorwindow.h"
#include "player/shockwaveflash.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString programPath = QCoreApplication::applicationFilePath();
    const QString title = QFileInfo(programPath).fileName();
    QString error;
    const auto movie = LoadEmbeddedMovie(programPath, EmbeddedLayout::Projector, &error);
    const QString snapshot = SnapshotPath(QCoreApplication::arguments());
    if (!movie) {
        // A snapshot run has nobody to close the box.
        std::fprintf(stderr, "%s\n", qPrintable(error));
        if (snapshot.isEmpty())
            QMessageBox::information(nullptr, title, error);
        return 1;
    }
    TProjectorWindow window(title, movie);
    window.show();
    if (!snapshot.isEmpty())
        TakeSnapshotSoon(&window, window.player()->framePeriod(), snapshot);
    return app.exec();
}
