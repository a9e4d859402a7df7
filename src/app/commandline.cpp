#include "app/commandline.h"

#include <QFileInfo>
#include <algorithm>

QString FirstArgument(const QStringList &arguments)
{
    return arguments.value(1);
}

bool IsArgumentPresent(const QString &argument)
{
    // Anything above the blank survives trimming at both ends.
    return std::any_of(argument.cbegin(), argument.cend(),
                       [](QChar c) { return c.unicode() > u' '; });
}

QString ArgumentFolder(const QString &argument)
{
    return argument.left(argument.lastIndexOf(QLatin1Char('/')) + 1);
}

QString FolderArgument(const QString &argument)
{
    if (!IsArgumentPresent(argument) || !QFileInfo(argument).isDir())
        return {};
    return argument.endsWith(QLatin1Char('/')) ? argument : argument + QLatin1Char('/');
}
