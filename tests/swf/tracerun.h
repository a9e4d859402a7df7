#pragma once
// Plays a movie made in memory for some ticks and returns its trace lines;
// or keeps a player of it, and the lines it traces, for a test to drive.

#include <QByteArray>
#include <QStringList>
#include <memory>

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

struct TracedPlayer {
    QStringList lines;
    std::unique_ptr<swf::MoviePlayer> player;

    explicit TracedPlayer(const QByteArray &bytes)
        : player(std::make_unique<swf::MoviePlayer>(swf::LoadMovieFromBytes(bytes),
                                                    [this](const QString &line) { lines << line; }))
    {
    }
};

}  // namespace swftest
