// Movies that once crashed the engine, put through the fuzz target's whole
// workout, and cut-off copies of real movies played for a few frames: each
// must load (or be refused) and play without a crash.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include "common/testpaths.h"
#include "movieworkout.h"
#include "swf/movie.h"

namespace {

// Loads `bytes` and, when they make a movie, shows a few of its frames
// small, going back once so that the display list is rebuilt.
void PlayBriefly(const QByteArray &bytes)
{
    const auto movie = swf::LoadMovieFromBytes(bytes);
    if (!movie)
        return;
    swf::MoviePlayer player(movie);
    player.setPlaying(true);
    const QImage first = player.renderImage(QSize(64, 48), swf::Quality::High);
    EXPECT_EQ(first.size(), QSize(64, 48));
    player.advance();
    player.renderImage(QSize(64, 48), swf::Quality::Low);
    player.gotoFrame(player.frameCount() - 1);
    player.gotoFrame(0);
    player.renderImage(QSize(64, 48), swf::Quality::Medium);
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(FuzzRegressions, EveryKeptInputPlaysWithoutACrash)
{
    const QDir folder(QStringLiteral(PAVOKO_SOURCE_DIR "/tests/swf/fuzz_regressions"));
    const QStringList inputs = folder.entryList(QDir::Files, QDir::Name);
    for (const QString &name : inputs) {
        SCOPED_TRACE(name.toStdString());
        fuzzworkout::Workout(ReadAll(folder.filePath(name)));
    }
}

// Every 64th prefix and each of the last 64: a download cut short anywhere,
// in a plain, a zlib and an LZMA body.
TEST(FuzzRegressions, EveryPrefixOfRealMoviesPlaysWithoutACrash)
{
    SKIP_WITHOUT_CORPUS();
    const char *const movies[] = {
        "ruffle/trace/from_gnash/misc-ming.all/ButtonPropertiesTest/test.swf",
        "ruffle/trace/from_shumway/avm1/mouse-transparency/test.swf",
        "ruffle/image/avm1/bitmap_data_colortransform/test.swf",
        "ruffle/image/from_shumway/acid/acid-text/test.swf",
        "ruffle/avm2/avm2/bitmap_data/test.swf",
        "open-flash-db/movies/morph-rotating-square/main.swf",
    };
    for (const char *relative : movies) {
        const QByteArray whole = ReadAll(CorpusDir() + QLatin1Char('/') + QLatin1String(relative));
        if (whole.isEmpty())
            continue;  // not in this copy of the corpus
        SCOPED_TRACE(relative);
        for (qsizetype length = 0; length <= whole.size(); ++length) {
            if (length % 64 == 0 || length >= whole.size() - 64)
                PlayBriefly(whole.left(length));
        }
    }
}
