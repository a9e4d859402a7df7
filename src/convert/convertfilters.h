#pragma once
// The file filters of the conversion dialogs, as description and pattern
// separated by "|". The single and the batch dialogs spell them
// differently.

#include <QString>

inline QString SingleMovieFilter() { return QStringLiteral("flash file(*.swf)|*.swf"); }
inline QString SingleProjectorFilter() { return QStringLiteral("flash exe(*.exe)|*.exe"); }
inline QString BatchMovieFilter() { return QStringLiteral("Flash File(*.swf)|*.swf"); }
inline QString BatchProjectorFilter() { return QStringLiteral("Flash File(*.exe)|*.exe"); }
