#include "catalogue/folderlisting.h"

#include <QDir>
#include <algorithm>

namespace {

// Case-insensitive order, with a case-sensitive tie-break so that names
// differing only in case keep one stable order.
bool NameBefore(const QString &a, const QString &b)
{
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

}  // namespace

TItemList ListMovieFolder(const QString &folder)
{
    const QString folderText = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QStringList names = QDir(folder).entryList({QStringLiteral("*.swf")},
                                               QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    std::sort(names.begin(), names.end(), NameBefore);
    TItemList items;
    items.reserve(names.size());
    for (const QString &name : names)
        items.append({name, folderText + name});
    return items;
}

TItemList ListGivenPaths(const QStringList &paths)
{
    TItemList items;
    items.reserve(paths.size());
    for (const QString &path : paths)
        items.append({path, path});
    return items;
}
