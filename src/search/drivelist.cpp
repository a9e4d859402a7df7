#include "search/drivelist.h"

#include <QFile>

#include <algorithm>

namespace {

const char *const kLocalTypes[] = {"ext2",  "ext3", "ext4",  "xfs",  "btrfs",   "f2fs",
                                   "vfat",  "exfat", "ntfs", "ntfs3", "fuseblk", "zfs"};

// The table writes blanks, tabs, newlines and backslashes in paths as a
// backslash and three octal digits.
bool IsOctalEscape(const QByteArray &field, int index)
{
    if (field.at(index) != '\\' || index + 3 >= field.size())
        return false;
    for (int digit = index + 1; digit <= index + 3; ++digit)
        if (field.at(digit) < '0' || field.at(digit) > '7')
            return false;
    return true;
}

QString DecodeMountPath(const QByteArray &field)
{
    QByteArray decoded;
    for (int index = 0; index < field.size(); ++index) {
        if (IsOctalEscape(field, index)) {
            decoded += char(field.mid(index + 1, 3).toInt(nullptr, 8));
            index += 3;
        } else {
            decoded += field.at(index);
        }
    }
    return QFile::decodeName(decoded);
}

} // namespace

QList<TMount> ParseMountTable(const QByteArray &text)
{
    QList<TMount> mounts;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        const TMount mount{DecodeMountPath(fields.at(1)), QString::fromLatin1(fields.at(2))};
        auto earlier = std::find_if(mounts.begin(), mounts.end(),
                                    [&mount](const TMount &known) { return known.path == mount.path; });
        if (earlier != mounts.end())
            earlier->type = mount.type;
        else
            mounts.append(mount);
    }
    return mounts;
}

QList<TMount> ReadMountTable()
{
    QFile file(QStringLiteral("/proc/self/mounts"));
    return file.open(QIODevice::ReadOnly) ? ParseMountTable(file.readAll()) : QList<TMount>();
}

QString MountKind(const TMount &mount)
{
    if (mount.path == QStringLiteral("/"))
        return QStringLiteral("Local Disk");
    for (const char *type : kLocalTypes)
        if (mount.type == QLatin1String(type))
            return QStringLiteral("Local Disk");
    if (mount.type == QStringLiteral("iso9660") || mount.type == QStringLiteral("udf"))
        return QStringLiteral("Cd Rom");
    return QString();
}

QList<TDriveEntry> DriveEntries(const QList<TMount> &mounts)
{
    QList<TDriveEntry> entries;
    TDriveEntry all;
    QString names;
    for (const TMount &mount : mounts) {
        const QString kind = MountKind(mount);
        if (kind.isEmpty())
            continue;
        if (kind == QStringLiteral("Local Disk")) {
            names += mount.path + QLatin1Char(' ');
            all.roots.append(mount.path);
        }
        entries.append({kind + QStringLiteral(" ( ") + mount.path + QStringLiteral(" ) "), {mount.path}});
    }
    all.text = QStringLiteral("All Local Disk ( ") + names + QStringLiteral(") ");
    entries.prepend(all);
    return entries;
}
