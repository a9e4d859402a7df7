#include "catalogue/folderlisting.h"

#include <QDir>
#include <algorithm>

#include "platform/listingorder.h"

TItemList ListMovieFolder(const QString &folder)
{
    // No folder selected names no folder, not the working directory.
    if (folder.isEmpty())
        return {};
    const QString folderText = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QStringList names = QDir(folder).entryList({QStringLiteral("*.swf")},
                                               QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    std::sort(names.begin(), names.end(), ListingOrderLess);
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
