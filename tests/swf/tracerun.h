#pragma once
// Plays a movie made in memory for some ticks and returns its trace lines.

#include <QByteArray>
#include <QStringList>

#include "swf/movie.h"

namespace swftest {

inline QStringList TraceOf(const QByteArray &bytes, int ticks)
{
    QStringList lines;
    swf::MoviePlayer player(swf::LoadMovieFromBytes(bytes), [&lines](const QString &line) { lines << line; });
    for (int i = 0; i < ticks; ++i)
        player.advance();
    return lines;
}

}  // namespace swftest
