#include "platform/datafolder.h"

#include <QDir>

namespace {

QString WithTrailingSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// The XDG base folder for user data; a relative value is invalid by the
// XDG rules and falls back to the default like an unset one.
QString UserDataHome()
{
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return WithTrailingSlash(configured);
    return WithTrailingSlash(QDir::homePath()) + QStringLiteral(".local/share/");
}

QString WallpaperSubfolder() { return QStringLiteral("web/WallPaper/"); }

}  // namespace

QString WindowsDirectory()
{
    const QString folder = UserDataHome() + QStringLiteral("pavoko/");
    QDir().mkpath(folder + WallpaperSubfolder());
    return folder;
}

QString WallpaperFolder() { return WindowsDirectory() + WallpaperSubfolder(); }
