#pragma once
// Movies with chosen header facts, written into a temporary folder tree.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

// A plain movie header with an empty frame rectangle, padded to 40 bytes:
// `recordedLength` is the length its header claims.
inline void WriteMovie(const QString &path, int version = 6, int rate = 12, quint32 recordedLength = 40)
{
    QDir().mkpath(QFileInfo(path).path());
    QByteArray bytes("FWS");
    bytes += char(version);
    for (int shift = 0; shift < 32; shift += 8)
        bytes += char((recordedLength >> shift) & 0xFF);
    bytes += char(0);     // rectangle: no bits
    bytes += char(0);     // rate, fractional part
    bytes += char(rate);  // rate, integer part
    bytes += char(1);     // one frame
    bytes += char(0);
    bytes.append(40 - bytes.size(), '\0');
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// A compressed movie whose body is no zlib stream: its header cannot be
// read.
inline void WriteBrokenMovie(const QString &path)
{
    QByteArray bytes("CWS");
    bytes += char(6);
    bytes += QByteArray("\x40\0\0\0", 4);
    bytes += QByteArray(40, '\x77');
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
