#pragma once
// The search's walk over a folder and, optionally, its subfolders: every
// file whose name and header pass the criteria is reported, folders in
// name order (letter case ignored). Each folder is entered once, so a link
// back into an ancestor ends there; the walk stays on the file system of
// the folder it started from, except for the mount points it is allowed
// into; a file whose header cannot be read is passed over.
//
// The walk calls its owner back after every entry, so that the owner can
// serve events and ask it to stop. One walk object serves one search,
// over one or more starting folders, and remembers the folders it entered
// across them. Runs on the thread that calls it.

#include <QSet>
#include <QString>
#include <functional>
#include <set>
#include <utility>

#include "search/searchcriteria.h"

struct TWalkHooks {
    // Called after every entry; true ends the walk.
    std::function<bool()> stopRequested;
    // A file that passed every test.
    std::function<void(const QString &path, const TSwfHeader &header)> found;
    // A subfolder was searched (its path without a trailing "/").
    std::function<void(const QString &folder)> folderDone;
};

struct TWalkRules {
    bool subfolders = true;
    // Every mount point of the system; the walk enters one only when it is
    // also in `enterableMounts`.
    QSet<QString> mountPoints;
    QSet<QString> enterableMounts;
};

class TSearchWalk {
public:
    TSearchWalk(TSearchCriteria criteria, TWalkRules rules, TWalkHooks hooks);

    // Walks `folder` (with or without a trailing "/"); false once the walk
    // was asked to stop.
    bool SearchFolder(const QString &folder);

private:
    using TFolderId = std::pair<quint64, quint64>;

    bool walk(const QString &folder, quint64 device);
    bool visitFolder(const QString &folder, const QString &name, quint64 parentDevice);
    void visitFile(const QString &path);
    // Enters a subfolder unless it was entered before or it lies beyond a
    // mount point the walk may not cross; its device, or nothing.
    bool mayEnter(const QString &path, quint64 parentDevice, quint64 &device);

    TSearchCriteria criteria_;
    TWalkRules rules_;
    TWalkHooks hooks_;
    std::set<TFolderId> entered_;
};
