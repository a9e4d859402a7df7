#include "app/applicationsetup.h"
#include "app/commandline.h"
#include "app/errorreport.h"
#include "app/frmmain.h"
#include "app/fullscreenlauncher.h"

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    SetUpApplication();

    // A movie named on the command line plays full screen first; the main
    // window opens afterwards in every case.
    const QString movie = FirstArgument(QCoreApplication::arguments());
    if (IsArgumentPresent(movie))
        PlayMovieFullScreen(nullptr, movie);

    TFrmMain mainWindow(movie);
    mainWindow.show();
    return app.exec();
}
