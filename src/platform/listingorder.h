#pragma once
// The order of every folder listing: by name without regard to letter case,
// as the desktop lists names, with names that differ only in case kept in a
// fixed order so that listings are stable.

#include <QString>

inline bool ListingOrderLess(const QString &a, const QString &b)
{
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}
