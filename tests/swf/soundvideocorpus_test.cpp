// The corpus' movies with sound and video, played as a preview plays them:
// every frame shown and its sound mixed, every video frame decoded.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <iostream>

#include "common/testpaths.h"
#include "corpusmanifest.h"
#include "swf/media/soundmixer.h"
#include "swf/media/soundrecorder.h"
#include "swf/media/videostream.h"
#include "swf/moviedefinition.h"
#include "swf/movie.h"

namespace {

// Enough for every movie of the corpus to run through once.
constexpr int kMostFrames = 120;

bool Audible(const std::vector<int16_t> &samples)
{
    return std::any_of(samples.begin(), samples.end(), [](int16_t s) { return s != 0; });
}

// Decodes every frame of the movie's video streams, in order and then
// back from the last; the number of streams.
int DecodeVideo(const QString &path, const swf::MovieDefinition &movie)
{
    int streams = 0;
    for (int id = 0; id <= 0xffff; ++id) {
        const auto *stream = movie.dictionary.findAs<swf::VideoStreamCharacter>(uint16_t(id));
        if (!stream || stream->frameCount() == 0)
            continue;
        ++streams;
        const int last = int(stream->frameCount()) - 1;
        for (int ratio = 0; ratio <= last; ++ratio)
            stream->picture(uint16_t(ratio));
        EXPECT_FALSE(stream->picture(uint16_t(last)).isNull()) << path.toStdString() << " stream " << id;
        EXPECT_FALSE(stream->picture(0).isNull()) << path.toStdString() << " stream " << id;
    }
    return streams;
}

}  // namespace

TEST(SoundAndVideoCorpus, MoviesPlayAndDecode)
{
    SKIP_WITHOUT_CORPUS();
    const QStringList paths =
        CorpusMoviesWithFeature({QStringLiteral("sound"), QStringLiteral("streamsound"), QStringLiteral("video")});
    ASSERT_FALSE(paths.isEmpty());
    int audible = 0, streams = 0;
    for (const QString &path : paths) {
        const auto movie = swf::LoadMovie(CorpusDir() + QLatin1Char('/') + path);
        ASSERT_TRUE(movie) << path.toStdString();
        swf::MoviePlayer player(movie);
        player.setSoundEnabled(true);
        swf::SoundRecorder recorder(player.soundMixer(), player.header().frameRate);
        const int frames = std::min(player.frameCount(), kMostFrames);
        for (int shown = 0; shown < frames; ++shown) {
            if (shown > 0)
                player.advance();
            recorder.recordFrame();
        }
        EXPECT_FALSE(player.renderImage(QSize(64, 48), swf::Quality::Low).isNull()) << path.toStdString();
        audible += Audible(recorder.samples());
        streams += DecodeVideo(path, *movie);
    }
    std::cout << "media corpus: " << paths.size() << " movies, " << audible << " audible, " << streams
              << " video streams\n";
    EXPECT_GT(audible, 3);
    EXPECT_GT(streams, 3);
}
