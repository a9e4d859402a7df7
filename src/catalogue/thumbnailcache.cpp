#include "catalogue/thumbnailcache.h"

#include "platform/xdgfolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryFile>
#include <QUrl>

#include <cstdio>

namespace {

const QString kUriKey = QStringLiteral("Thumb::URI");
const QString kMTimeKey = QStringLiteral("Thumb::MTime");
const QString kSizeKey = QStringLiteral("Thumb::Size");
const QString kMimeKey = QStringLiteral("Thumb::Mimetype");
const QString kSoftwareKey = QStringLiteral("Software");
const QString kNormal = QStringLiteral("/normal");
const QString kLarge = QStringLiteral("/large");
const QString kFailures = QStringLiteral("/fail/pavoko");


// The modification time the convention compares: whole seconds since
// 1970, as text.
QString MTimeOf(const QFileInfo &movie)
{
    return QString::number(movie.lastModified().toSecsSinceEpoch());
}

// Makes `folder` and the folders above it up to the cache root, each one
// readable by its owner alone.
bool MakeOwnerOnlyFolder(const QString &root, const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    for (QString each = folder; each.startsWith(root) && each.size() >= root.size();
         each = QFileInfo(each).path()) {
        QFile::setPermissions(each, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (each.size() == root.size())
            break;
    }
    return true;
}

}  // namespace

TThumbnailCache::TThumbnailCache() : TThumbnailCache(UserCacheHome() + QStringLiteral("thumbnails")) {}

TThumbnailCache::TThumbnailCache(const QString &root) : root_(root) {}

QString TThumbnailCache::uriOf(const QString &moviePath)
{
    return QString::fromUtf8(QUrl::fromLocalFile(QFileInfo(moviePath).absoluteFilePath()).toEncoded());
}

QString TThumbnailCache::entryNameOf(const QString &moviePath)
{
    const QByteArray digest = QCryptographicHash::hash(uriOf(moviePath).toUtf8(), QCryptographicHash::Md5);
    return QString::fromLatin1(digest.toHex()) + QStringLiteral(".png");
}

// The keys are taken from the decoded picture: the reader's own text
// lookup splits keys at their colons.
QImage TThumbnailCache::loadValid(const QString &entryPath, const QString &moviePath) const
{
    QImageReader reader(entryPath, "png");
    const QImage picture = reader.read();
    if (picture.isNull() || picture.text(kUriKey) != uriOf(moviePath)
        || picture.text(kMTimeKey) != MTimeOf(QFileInfo(moviePath)))
        return {};
    return picture;
}

QImage TThumbnailCache::load(const QString &moviePath) const
{
    const QString name = QLatin1Char('/') + entryNameOf(moviePath);
    for (const QString &size : {kNormal, kLarge}) {
        const QImage picture = loadValid(root_ + size + name, moviePath);
        if (!picture.isNull())
            return picture;
    }
    return {};
}

bool TThumbnailCache::hasFailed(const QString &moviePath) const
{
    return !loadValid(root_ + kFailures + QLatin1Char('/') + entryNameOf(moviePath), moviePath).isNull();
}

bool TThumbnailCache::store(const QString &moviePath, const QImage &frame) const
{
    return !frame.isNull() && write(root_ + kNormal, moviePath, frame);
}

bool TThumbnailCache::storeFailure(const QString &moviePath) const
{
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    return write(root_ + kFailures, moviePath, mark);
}

bool TThumbnailCache::write(const QString &folder, const QString &moviePath, QImage picture) const
{
    const QFileInfo movie(moviePath);
    if (!movie.exists() || !MakeOwnerOnlyFolder(root_, folder))
        return false;
    picture.setText(kUriKey, uriOf(moviePath));
    picture.setText(kMTimeKey, MTimeOf(movie));
    picture.setText(kSizeKey, QString::number(movie.size()));
    picture.setText(kMimeKey, QStringLiteral("application/x-shockwave-flash"));
    picture.setText(kSoftwareKey, QStringLiteral("Pavoko"));
    // A temporary file is made owner-only; the rename puts it in place
    // whole, so a reader never sees half an entry.
    QTemporaryFile temporary(folder + QStringLiteral("/.pavoko-XXXXXX.png"));
    if (!temporary.open() || !picture.save(&temporary, "PNG") || !temporary.flush())
        return false;
    const QString target = folder + QLatin1Char('/') + entryNameOf(moviePath);
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return false;
    temporary.setAutoRemove(false);
    return true;
}
