#include "fileops/fileoperations.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

// Large enough to keep a disk busy, small enough that a cancel request is
// seen within a moment even on a slow medium.
constexpr qint64 kChunkBytes = 1 << 20;

TFileResult Failure(const QString &reason) { return {TFileOutcome::Failed, reason}; }

QString SystemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

void AddProgress(TFileProgress *progress, qint64 bytes)
{
    if (progress)
        progress->bytesDone += bytes;
}

bool CancelRequested(const TFileProgress *progress) { return progress && progress->cancelRequested; }

// Copies the bytes of `in` into `out`; the count copied, or -1 after a
// failure or a cancel (told apart by `result`).
qint64 CopyBytes(QFile &in, QSaveFile &out, TFileProgress *progress, TFileResult &result)
{
    QByteArray buffer(kChunkBytes, Qt::Uninitialized);
    qint64 copied = 0;
    for (;;) {
        if (CancelRequested(progress)) {
            result = {TFileOutcome::Cancelled, QString()};
            return -1;
        }
        const qint64 read = in.read(buffer.data(), kChunkBytes);
        if (read < 0) {
            result = Failure(in.errorString());
            return -1;
        }
        if (read == 0)
            return copied;
        if (out.write(buffer.constData(), read) != read) {
            result = Failure(out.errorString());
            return -1;
        }
        copied += read;
        AddProgress(progress, read);
    }
}

} // namespace

QString TargetPathIn(const QString &folder, const QString &sourcePath)
{
    const QString name = QFileInfo(sourcePath).fileName();
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool IsSameFile(const QString &a, const QString &b)
{
    struct stat first {};
    struct stat second {};
    if (::stat(QFile::encodeName(a).constData(), &first) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

TFileResult CopyFileWhole(const QString &source, const QString &target, TFileProgress *progress)
{
    if (IsSameFile(source, target))
        return {TFileOutcome::SameFile, QString()};
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile())
        return Failure(QStringLiteral("The file does not exist."));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Failure(in.errorString());
    // Unbuffered, so that a short write shows in the count written instead
    // of being lost in a flush the commit does not check.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failure(out.errorString());
    TFileResult result;
    const qint64 copied = CopyBytes(in, out, progress, result);
    if (copied < 0)
        return result;
    if (copied != QFileInfo(source).size())
        return Failure(QStringLiteral("The file changed while it was copied."));
    out.setPermissions(in.permissions());
    out.setFileTime(sourceInfo.lastModified(), QFileDevice::FileModificationTime);
    if (!out.commit())
        return Failure(out.errorString());
    return result;
}

TFileResult MoveFileWhole(const QString &source, const QString &target, TFileProgress *progress)
{
    if (IsSameFile(source, target))
        return {TFileOutcome::SameFile, QString()};
    if (!QFileInfo(source).isFile())
        return Failure(QStringLiteral("The file does not exist."));
    const qint64 size = QFileInfo(source).size();
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0) {
        AddProgress(progress, size);
        return {};
    }
    if (errno != EXDEV)
        return Failure(SystemError(errno));
    const TFileResult copy = CopyFileWhole(source, target, progress);
    if (copy.outcome != TFileOutcome::Done)
        return copy;
    // The source goes only when its copy is complete on the other side.
    if (QFileInfo(target).size() != size)
        return Failure(QStringLiteral("The copy is incomplete; the file was kept."));
    QFile original(source);
    if (!original.remove())
        return Failure(QStringLiteral("The file was copied but could not be removed: %1").arg(original.errorString()));
    return {};
}

TFileResult DeleteFileNow(const QString &path)
{
    QFile file(path);
    if (!file.remove())
        return Failure(file.errorString());
    return {};
}
