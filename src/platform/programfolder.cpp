#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "platform/xdgfolders.h"

QString ProgramFolder()
{
    // The kernel's own record of the running file names it with every link
    // resolved, whatever name the program was started by.
    const QFileInfo running(QStringLiteral("/proc/self/exe"));
    const QString resolved = running.canonicalFilePath();
    if (!resolved.isEmpty())
        return WithTrailingSlash(QFileInfo(resolved).absolutePath());
    return WithTrailingSlash(QCoreApplication::applicationDirPath());
}
