#include "platform/settingslocation.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include "platform/xdgfolders.h"

namespace {

bool IsWritable(const QString &path) { return ::access(QFile::encodeName(path).constData(), W_OK) == 0; }

// A file is replaced through a temporary file beside it, so the folder
// itself must take new files; a settings file its owner made read-only
// is left alone.
bool CanKeepSettingsIn(const QString &folder, const QString &file)
{
    return IsWritable(folder) && (!QFile::exists(file) || IsWritable(file));
}

}  // namespace

QString UserSettingsFolder() { return UserConfigHome() + QStringLiteral("pavoko/"); }

QString SettingsFilePath(const QString &programFolder, const QString &fileName)
{
    const QString folder = WithTrailingSlash(programFolder);
    if (CanKeepSettingsIn(folder, folder + fileName))
        return folder + fileName;
    const QString fallback = UserSettingsFolder();
    QDir().mkpath(fallback);
    return fallback + fileName;
}
