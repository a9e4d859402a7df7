#pragma once
// The checked-in lists of corpus cases known to pass (pictures, trace
// logs): one path a line, '#' starts a comment. Such a list only grows.

#include <QString>
#include <set>

std::set<QString> ReadPassingList(const QString &path);
// Rewrites the list whole; false when it cannot be written.
bool WritePassingList(const QString &path, const std::set<QString> &passing);
