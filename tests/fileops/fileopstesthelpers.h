#pragma once
// Helpers for the file operation tests: files with known bytes, folder
// listings, and modal dialogs answered as they open.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/modalanswerer.h"

#include <sys/stat.h>

inline void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A movie whose bytes tell it apart: a plain header, then `tag`.
inline QByteArray MovieBytes(const QByteArray &tag)
{
    static const char header[] = {'F', 'W', 'S', 6, 0, 0, 0, 0, 0, 0, 12, 1, 0, 0x40, 0, 0, 0};
    QByteArray bytes(header, sizeof header);
    bytes += tag;
    const quint32 length = quint32(bytes.size());
    for (int shift = 0; shift < 4; ++shift)
        bytes[4 + shift] = char((length >> (8 * shift)) & 0xFF);
    return bytes;
}

// Every name in `folder`, hidden ones included, sorted.
inline QStringList EntriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A writable folder on another file system than `here`, or empty when
// the machine has none.
inline QString OtherFileSystemFolder(const QString &here)
{
    struct stat local {};
    struct stat shm {};
    const QString candidate = QStringLiteral("/dev/shm");
    if (::stat(QFile::encodeName(here).constData(), &local) != 0 ||
        ::stat(QFile::encodeName(candidate).constData(), &shm) != 0 || local.st_dev == shm.st_dev ||
        !QFileInfo(candidate).isWritable())
        return QString();
    return candidate;
}
