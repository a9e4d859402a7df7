// Speed of the search's walk: 100,000 small movies in 5,000 folders (50
// folders of 100 subfolders, 20 movies each), made once in a temporary
// folder and walked with a warm cache. One run reads every header (every
// movie matches); the other matches no name, so it measures listing and
// descending alone. The owner's callback after every entry does what the
// dialog's does when no events are due: look at a clock.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

#include "search/searchwalk.h"

namespace {

constexpr int kTopFolders = 50;
constexpr int kSubfolders = 100;
constexpr int kMoviesPerFolder = 20;

QByteArray TinyMovie()
{
    QByteArray bytes = QByteArray::fromHex("465753062800000000000C0100");
    bytes.append(40 - bytes.size(), '\0');
    return bytes;
}

// The tree, made on first use and kept for every run.
const QTemporaryDir &MovieTree()
{
    static const std::unique_ptr<QTemporaryDir> tree = [] {
        auto dir = std::make_unique<QTemporaryDir>();
        const QByteArray movie = TinyMovie();
        for (int top = 0; top < kTopFolders; ++top) {
            for (int sub = 0; sub < kSubfolders; ++sub) {
                const QString folder = dir->filePath(QStringLiteral("top%1/sub%2").arg(top).arg(sub));
                QDir().mkpath(folder);
                for (int index = 0; index < kMoviesPerFolder; ++index) {
                    QFile file(folder + QStringLiteral("/movie%1.swf").arg(index));
                    if (file.open(QIODevice::WriteOnly))
                        file.write(movie);
                }
            }
        }
        return dir;
    }();
    return *tree;
}

void WalkTree(benchmark::State &state, const QString &namePiece)
{
    const QString root = MovieTree().path();
    TSearchCriteria criteria;
    criteria.namePiece = namePiece;
    qint64 found = 0;
    for (auto _ : state) {
        found = 0;
        QElapsedTimer sinceEvents;
        sinceEvents.start();
        TWalkHooks hooks;
        hooks.stopRequested = [&sinceEvents] { return sinceEvents.elapsed() < 0; };
        hooks.found = [&found](const QString &, const TSwfHeader &) { ++found; };
        TSearchWalk walk(criteria, TWalkRules(), hooks);
        walk.SearchFolder(root);
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
    state.counters["files"] = double(kTopFolders * kSubfolders * kMoviesPerFolder);
}

void BM_WalkReadingEveryHeader(benchmark::State &state) { WalkTree(state, QString()); }
void BM_WalkMatchingNoName(benchmark::State &state) { WalkTree(state, QStringLiteral("no such name")); }

} // namespace

BENCHMARK(BM_WalkReadingEveryHeader)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WalkMatchingNoName)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
