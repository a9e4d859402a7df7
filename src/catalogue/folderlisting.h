#pragma once
// What a load puts into the catalogue: (caption, full path) pairs.
// Pure functions; any thread.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

using TItemList = QList<QPair<QString, QString>>;

// The files of `folder` whose names end in ".swf" in any letter case
// (hidden ones included, folders skipped), sorted by name ignoring case.
// Caption: the name; path: the folder with one "/" and the name.
// A folder that cannot be read gives no items.
TItemList ListMovieFolder(const QString &folder);

// One item per string, in order, caption and path both the string.
TItemList ListGivenPaths(const QStringList &paths);
