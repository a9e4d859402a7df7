#include "platform/datafolder.h"

#include <QDir>

#include "platform/xdgfolders.h"

namespace {

QString WallpaperSubfolder() { return QStringLiteral("web/WallPaper/"); }

}  // namespace

QString WindowsDirectory()
{
    const QString folder = UserDataHome() + QStringLiteral("pavoko/");
    QDir().mkpath(folder + WallpaperSubfolder());
    return folder;
}

QString WallpaperFolder() { return WindowsDirectory() + WallpaperSubfolder(); }

QString SharedObjectsFolder() { return WindowsDirectory() + QStringLiteral("SharedObjects/"); }
