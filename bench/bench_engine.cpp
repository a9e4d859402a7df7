// Speed of the movie engine as users meet it, over a fixed set of corpus
// movies, each reported on its own line:
//  - Thumbnail/<movie>: read the file, go to the middle frame and paint it
//    at 120 by 90 and frame it, as the catalogue's thumbnail worker does;
//  - Playback/<movie>: one frame of playback at 1920 by 1080 (advance and
//    paint), the movie loaded beforehand.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>

#include "catalogue/thumbnailmaker.h"
#include "swf/movie.h"

namespace {

const char *const kMovies[] = {
    "open-flash-db/movies/hello-world/main.swf",
    "open-flash-db/movies/morph-rotating-square/main.swf",
    "ruffle/image/from_shumway/acid/acid-bitmap-fill/test.swf",
    "ruffle/image/from_shumway/acid/acid-blend/test.swf",
    "ruffle/image/from_shumway/acid/acid-child/test.swf",
    "ruffle/image/from_shumway/acid/acid-clip/test.swf",
    "ruffle/image/from_shumway/acid/acid-color-0/test.swf",
    "ruffle/image/from_shumway/acid/acid-gc/test.swf",
    "ruffle/image/from_shumway/acid/acid-gradient-0/test.swf",
    "ruffle/image/from_shumway/acid/acid-large/test.swf",
    "ruffle/image/from_shumway/acid/acid-text/test.swf",
    "ruffle/image/from_shumway/acid/acid-text-6/test.swf",
    "ruffle/image/from_shumway/acid/acid-video/test.swf",
    "shumway/examples/morphing/morph2/morph2.swf",
    "shumway/examples/racing/race/race.swf",
    "shumway/examples/rendering/images0/images0.swf",
    "shumway/examples/timeline/Simple/Simple.swf",
    "shumway/examples/timeline/Timeline6/Timeline6.swf",
    "shumway/examples/timeline/TimelineEventsStress/TimelineEventsStress.swf",
    "shumway/examples/timeline/shape-intersecting-balls/shape-intersecting-balls.swf",
};

QString CorpusPath(const char *relative)
{
    return QStringLiteral(PAVOKO_CORPUS_DIR "/") + QLatin1String(relative);
}

void Thumbnail(benchmark::State &state, const QString &path)
{
    const TThumbStyle style = TThumbStyle::fromApplication();
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeThumbnail(path, style));
}

void Playback(benchmark::State &state, const QString &path)
{
    const auto movie = swf::LoadMovie(path);
    if (!movie) {
        state.SkipWithError("movie not readable");
        return;
    }
    swf::MoviePlayer player(movie);
    player.setPlaying(true);
    QImage screen(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&screen);
    for (auto _ : state) {
        player.advance();
        player.render(painter, screen.rect(), swf::Quality::High);
    }
    state.counters["frames_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void RegisterMovies()
{
    for (const char *relative : kMovies) {
        const QString path = CorpusPath(relative);
        if (!QFile::exists(path))
            continue;  // not in this copy of the corpus
        const std::string name = relative;
        benchmark::RegisterBenchmark(("Thumbnail/" + name).c_str(), Thumbnail, path)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Playback/" + name).c_str(), Playback, path)->Unit(benchmark::kMillisecond);
    }
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RegisterMovies();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
