#include "catalogue/thumbnailcache.h"

#include "catalogue/pngtext.h"
#include "platform/xdgfolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QUrl>

#include <cstdio>
#include <sys/stat.h>

namespace {

const QString kUriKey = QStringLiteral("Thumb::URI");
const QString kMTimeKey = QStringLiteral("Thumb::MTime");
const QString kSizeKey = QStringLiteral("Thumb::Size");
const QString kMimeKey = QStringLiteral("Thumb::Mimetype");
const QString kSoftwareKey = QStringLiteral("Software");
const QString kNormal = QStringLiteral("/normal");
const QString kLarge = QStringLiteral("/large");
const QString kFailures = QStringLiteral("/fail/pavoko");


// Deflate's fastest level: a tile is small, and a walk of a large folder
// spends its time here otherwise. Any PNG reader reads it.
constexpr int kPngQuality = 90;

// The modification time the convention compares: whole seconds since
// 1970, as text; empty when the movie cannot be looked at.
QString MTimeOf(const QString &moviePath)
{
    struct stat status;
    if (::stat(QFile::encodeName(moviePath).constData(), &status) != 0)
        return {};
    return QString::number(qint64(status.st_mtime));
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
// lookup splits keys at their colons. The file is opened here: a reader
// given a name that does not exist tries a dozen other endings first.
QImage TThumbnailCache::loadValid(const QString &entryPath, const QString &moviePath) const
{
    QFile entry(entryPath);
    if (!entry.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&entry, "png");
    const QImage picture = reader.read();
    const QString mtime = MTimeOf(moviePath);
    if (picture.isNull() || mtime.isEmpty() || picture.text(kMTimeKey) != mtime
        || picture.text(kUriKey) != uriOf(moviePath))
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

bool TThumbnailCache::isCurrent(const QString &entryPath, const QString &moviePath) const
{
    const QHash<QString, QString> texts = ReadPngText(entryPath);
    const QString mtime = MTimeOf(moviePath);
    return !mtime.isEmpty() && texts.value(kMTimeKey) == mtime && texts.value(kUriKey) == uriOf(moviePath);
}

bool TThumbnailCache::holds(const QString &moviePath) const
{
    const QString name = QLatin1Char('/') + entryNameOf(moviePath);
    return isCurrent(root_ + kNormal + name, moviePath) || isCurrent(root_ + kLarge + name, moviePath);
}

bool TThumbnailCache::hasFailed(const QString &moviePath) const
{
    return isCurrent(root_ + kFailures + QLatin1Char('/') + entryNameOf(moviePath), moviePath);
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

bool TThumbnailCache::ensureFolder(const QString &folder) const
{
    if (readyFolders_.contains(folder))
        return true;
    if (!MakeOwnerOnlyFolder(root_, folder))
        return false;
    readyFolders_.insert(folder);
    return true;
}

bool TThumbnailCache::write(const QString &folder, const QString &moviePath, QImage picture) const
{
    const QFileInfo movie(moviePath);
    const QString mtime = MTimeOf(moviePath);
    if (mtime.isEmpty() || !ensureFolder(folder))
        return false;
    picture.setText(kUriKey, uriOf(moviePath));
    picture.setText(kMTimeKey, mtime);
    picture.setText(kSizeKey, QString::number(movie.size()));
    picture.setText(kMimeKey, QStringLiteral("application/x-shockwave-flash"));
    picture.setText(kSoftwareKey, QStringLiteral("Pavoko"));
    // The temporary file is owner-only from its start; the rename puts it
    // in place whole, so a reader never sees half an entry.
    const QString name = entryNameOf(moviePath);
    QFile temporary(QStringLiteral("%1/.pavoko-%2-%3").arg(folder, name).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    if (!temporary.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    QImageWriter writer(&temporary, "png");
    writer.setQuality(kPngQuality);
    const bool written = writer.write(picture) && temporary.flush();
    temporary.close();
    const QString target = folder + QLatin1Char('/') + name;
    if (written
        && std::rename(QFile::encodeName(temporary.fileName()).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    temporary.remove();
    return false;
}
