#include "app/fullscreenlauncher.h"

#include "app/formtexts.h"
#include "app/settings.h"
#include "desktop/wallpaper.h"
#include "platform/datafolder.h"
#include "player/frmfullscreen.h"
#include "player/myflash.h"

TFullScreenServices FullScreenServices()
{
    TFullScreenServices services;
    services.applyFormTexts = &ApplyFormTexts;
    services.readIniInteger = &ReadIniInteger;
    services.writeIniInteger = &WriteIniInteger;
    services.windowsDirectory = &WindowsDirectory;
    services.setWallpaper = &SetWallpaper;
    services.setFlashWallpaper = &SetFlashWallpaper;
    return services;
}

void PlayMovieFullScreen(QWidget *owner, const QString &moviePath)
{
    ShowFullScreenPlayer(owner, moviePath, FullScreenServices());
}
