#pragma once
// The text entries of a PNG file ("tEXt", and "iTXt" stored uncompressed)
// that stand before its picture data, read without decoding the picture:
// enough to tell whether a thumbnail cache entry is current. Keys are kept
// whole (colons included). Any thread; never throws.

#include <QHash>
#include <QString>

// Key to text; empty when the file cannot be read or is no PNG. Every
// length read from the file is checked against the file's size.
QHash<QString, QString> ReadPngText(const QString &path);
