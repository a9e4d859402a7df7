#pragma once
// The locations the search offers: one entry for all local disks, then one
// per local disk or CD-ROM mount, in the order of the mount table. A mount
// counts as a local disk when it holds a block-device file system or is
// the root; as a CD-ROM with iso9660 or udf; every other mount (proc,
// sysfs, tmpfs, network shares...) is left out. Pure functions; any thread.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct TDriveEntry {
    // "Local Disk ( /home ) ", with its blanks.
    QString text;
    // The mount points the entry searches.
    QStringList roots;
};

struct TMount {
    QString path;
    QString type;
};

// The mounts of a text in the format of /proc/self/mounts, in file order,
// with the octal escapes of their paths decoded. A path mounted again
// later keeps its first place and takes the later type.
QList<TMount> ParseMountTable(const QByteArray &text);

// The mounts of this process (/proc/self/mounts); none when it cannot be
// read.
QList<TMount> ReadMountTable();

// "Local Disk", "Cd Rom", or empty for a mount the search leaves out.
QString MountKind(const TMount &mount);

// The entries of the location list, the all-disks entry first.
QList<TDriveEntry> DriveEntries(const QList<TMount> &mounts);
