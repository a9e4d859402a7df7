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
    // window opens afterwards in every case, on a named folder itself.
    const QString argument = FirstArgument(QCoreApplication::arguments());
    const QString folder = FolderArgument(argument);
    if (folder.isEmpty() && IsArgumentPresent(argument))
        PlayMovieFullScreen(nullptr, argument);

    TFrmMain mainWindow(folder.isEmpty() ? argument : folder);
    mainWindow.show();
    return app.exec();
}
