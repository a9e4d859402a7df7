#pragma once
// The movie pictures of the catalogue, kept on disk in the desktop's shared
// thumbnail folder, so that they survive a restart and file managers and
// the catalogue use each other's pictures.
//
// Layout (the freedesktop thumbnail convention): under
// $XDG_CACHE_HOME/thumbnails (default ~/.cache/thumbnails), "normal/" and
// "large/" hold one PNG per movie named by the MD5 of the movie's file URI,
// carrying the URI and the movie's modification time ("Thumb::URI",
// "Thumb::MTime"); an entry whose time differs from the file's is stale. A
// movie the engine cannot show is noted in "fail/pavoko/", so it is not
// tried again until it changes. Folders are owner-only, entries are
// written to a temporary file beside their place and renamed into it.
//
// The picture kept is the movie's frame alone; the catalogue draws its
// border and caption lines on top when it shows the tile. A cache folder
// that cannot be read or written only costs speed: every failure answers
// "nothing cached" or is ignored. Stateless apart from its folder, so any
// thread may use its own instance.

#include <QImage>
#include <QSet>
#include <QString>

class TThumbnailCache {
public:
    // The shared folder of this user (see above).
    TThumbnailCache();
    explicit TThumbnailCache(const QString &root);

    QString root() const { return root_; }

    // The movie's cached frame, from "normal/" or else "large/"; null when
    // there is none or it is stale.
    QImage load(const QString &moviePath) const;
    // Whether there is a current picture of the movie, found without
    // decoding it.
    bool holds(const QString &moviePath) const;
    // Keeps `frame` as the movie's picture in "normal/"; false when it
    // could not be written.
    bool store(const QString &moviePath, const QImage &frame) const;

    // Whether the engine failed on this very version of the movie before.
    bool hasFailed(const QString &moviePath) const;
    bool storeFailure(const QString &moviePath) const;

    // The URI of a movie file and the entry name made from it.
    static QString uriOf(const QString &moviePath);
    static QString entryNameOf(const QString &moviePath);

private:
    QImage loadValid(const QString &entryPath, const QString &moviePath) const;
    bool isCurrent(const QString &entryPath, const QString &moviePath) const;
    bool write(const QString &folder, const QString &moviePath, QImage picture) const;
    bool ensureFolder(const QString &folder) const;

    QString root_;
    // Folders made (and made owner-only) by this instance already.
    mutable QSet<QString> readyFolders_;
};
