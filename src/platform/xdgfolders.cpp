#include "platform/xdgfolders.h"

#include <QDir>

namespace {

// A relative value is invalid by the XDG rules and falls back to the
// default like an unset one.
QString BaseFolder(const char *variable, const QString &defaultUnderHome)
{
    const QString configured = qEnvironmentVariable(variable);
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return WithTrailingSlash(configured);
    return WithTrailingSlash(QDir::homePath()) + defaultUnderHome;
}

}  // namespace

QString WithTrailingSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString UserDataHome() { return BaseFolder("XDG_DATA_HOME", QStringLiteral(".local/share/")); }

QString UserConfigHome() { return BaseFolder("XDG_CONFIG_HOME", QStringLiteral(".config/")); }

QString UserCacheHome() { return BaseFolder("XDG_CACHE_HOME", QStringLiteral(".cache/")); }
