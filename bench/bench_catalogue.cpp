// Speed of the catalogue: header reading (small plain, compressed and LZMA
// movies from a warm cache, and one 200 MB compressed movie), listing a
// folder of 5,000 movies into the view, and making the thumbnails that are
// on screen, with the memory all 5,000 thumbnails take.

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QAbstractItemView>
#include <benchmark/benchmark.h>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <zlib.h>

#include "catalogue/folderlisting.h"
#include "catalogue/swfheader.h"
#include "catalogue/thumbworker.h"
#include "catalogue/zenteqthumb.h"
#include "benchmain.h"
#include "screenrendered.h"

namespace {

// Header, rectangle of 550 x 400, 12 fps, `frames` frames, ShowFrames, End.
QByteArray SmallBody(uint16_t frames)
{
    QByteArray body = QByteArray::fromHex("7800055F00000FA000000C");
    body.append(char(frames & 0xFF));
    body.append(char(frames >> 8));
    for (int i = 0; i < frames; ++i)
        body.append("\x40\x00", 2);
    body.append("\x00\x00", 2);
    return body;
}

QByteArray Opening(const char *signature, uint32_t length)
{
    QByteArray bytes(signature, 3);
    bytes.append(char(8));
    for (int i = 0; i < 4; ++i)
        bytes.append(char((length >> (8 * i)) & 0xFF));
    return bytes;
}

QByteArray SmallMovie(bool compressed, uint16_t frames)
{
    const QByteArray body = SmallBody(frames);
    if (!compressed)
        return Opening("FWS", uint32_t(8 + body.size())) + body;
    uLongf size = compressBound(uLong(body.size()));
    QByteArray packed(int(size), '\0');
    compress(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(body.constData()),
             uLong(body.size()));
    packed.resize(int(size));
    return Opening("CWS", uint32_t(8 + body.size())) + packed;
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QTemporaryDir &Scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// A folder of `count` small movies, made once per process.
QString MovieFolder(const QString &name, int count, bool compressed)
{
    const QString folder = Scratch().filePath(name);
    if (QDir(folder).exists())
        return folder;
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i)
        WriteBytes(folder + QStringLiteral("/movie%1.swf").arg(i, 5, 10, QLatin1Char('0')),
                   SmallMovie(compressed, uint16_t(1 + i % 50)));
    return folder;
}

// A compressed movie of about 200 MB: random (incompressible) bytes after
// the header, deflated without compression so that it is made quickly.
QString HugeCompressedMovie()
{
    const QString path = Scratch().filePath(QStringLiteral("huge.swf"));
    if (QFile::exists(path))
        return path;
    constexpr qint64 kBodySize = 200ll * 1024 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(Opening("CWS", uint32_t(8 + kBodySize)));
    z_stream stream{};
    deflateInit(&stream, Z_NO_COMPRESSION);
    std::mt19937 random(7);
    QByteArray chunk(1 << 20, '\0'), out(compressBound(1 << 20) + 64, '\0');
    for (qint64 done = 0; done < kBodySize; done += chunk.size()) {
        for (int i = 0; i < chunk.size(); i += 4)
            *reinterpret_cast<uint32_t *>(chunk.data() + i) = random();
        if (done == 0)
            chunk.replace(0, SmallBody(1).size(), SmallBody(1));
        stream.next_in = reinterpret_cast<Bytef *>(chunk.data());
        stream.avail_in = uInt(chunk.size());
        const bool last = done + chunk.size() >= kBodySize;
        do {
            stream.next_out = reinterpret_cast<Bytef *>(out.data());
            stream.avail_out = uInt(out.size());
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            file.write(out.constData(), out.size() - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return path;
}

void ReadAllHeaders(benchmark::State &state, const QStringList &paths)
{
    for (auto _ : state) {
        for (const QString &path : paths) {
            TSwfHeader header;
            benchmark::DoNotOptimize(ReadSwfHeader(path, header));
        }
    }
    state.SetItemsProcessed(state.iterations() * paths.size());
}

QStringList PathsOf(const QString &folder)
{
    QStringList paths;
    for (const auto &item : ListMovieFolder(folder))
        paths << item.second;
    return paths;
}

void BM_HeaderPlainSmall(benchmark::State &state)
{
    ReadAllHeaders(state, PathsOf(MovieFolder(QStringLiteral("plain"), 2000, false)));
}
BENCHMARK(BM_HeaderPlainSmall)->Unit(benchmark::kMillisecond);

void BM_HeaderCompressedSmall(benchmark::State &state)
{
    ReadAllHeaders(state, PathsOf(MovieFolder(QStringLiteral("compressed"), 2000, true)));
}
BENCHMARK(BM_HeaderCompressedSmall)->Unit(benchmark::kMillisecond);

void BM_HeaderLzmaCorpus(benchmark::State &state)
{
    QStringList paths;
    const QString corpus = QStringLiteral(PAVOKO_CORPUS_DIR "/ruffle/avm2/avm2");
    for (const QString &name : QDir(corpus).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString path = corpus + QLatin1Char('/') + name + QStringLiteral("/test.swf");
        TSwfHeader header;
        if (ReadSwfHeader(path, header) && QByteArray(header.Signature, 3) == "ZWS")
            paths << path;
    }
    if (paths.isEmpty()) {
        state.SkipWithError("no LZMA movies in the corpus");
        return;
    }
    ReadAllHeaders(state, paths);
}
BENCHMARK(BM_HeaderLzmaCorpus)->Unit(benchmark::kMillisecond);

void BM_HeaderHugeCompressed(benchmark::State &state)
{
    ReadAllHeaders(state, {HugeCompressedMovie()});
}
BENCHMARK(BM_HeaderHugeCompressed)->Unit(benchmark::kMicrosecond);

void BM_ListFolderOnly(benchmark::State &state)
{
    const QString folder = MovieFolder(QStringLiteral("five-thousand"), 5000, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(ListMovieFolder(folder));
    state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_ListFolderOnly)->Unit(benchmark::kMillisecond);

void ProcessEventsUntil(const std::function<bool()> &done)
{
    while (!done()) {
        QCoreApplication::processEvents();
        QThread::usleep(200);
    }
}

// LoadFolder as the main window calls it (the 100 ms settle pause included),
// shown at 1000 x 700; then the time until the thumbnails on screen exist.
void BM_LoadFolder5000(benchmark::State &state)
{
    const QString folder = MovieFolder(QStringLiteral("five-thousand"), 5000, true);
    TZenteqThumb view;
    view.resize(1000, 700);
    view.show();
    QCoreApplication::processEvents();
    double onScreenMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        view.LoadFolder(folder);
        state.PauseTiming();
        ProcessEventsUntil([&] { return ScreenRendered(view); });
        onScreenMs += clock.nsecsElapsed() / 1e6;
        view.StopWorkerAndWait();
        state.ResumeTiming();
    }
    state.counters["items"] = view.itemCount();
    state.counters["on_screen_ms"] = benchmark::Counter(onScreenMs / state.iterations());
}
BENCHMARK(BM_LoadFolder5000)->Unit(benchmark::kMillisecond)->Iterations(5);

// Every thumbnail of the folder made, then the process's peak memory.
void BM_AllThumbnails5000(benchmark::State &state)
{
    const QString folder = MovieFolder(QStringLiteral("five-thousand"), 5000, true);
    TZenteqThumb view;
    view.resize(1000, 700);
    view.show();
    for (auto _ : state) {
        view.LoadFolder(folder);
        ProcessEventsUntil([&] { return WorkerHandle.load() == nullptr && WorkerIdle; });
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["thumbnails"] = view.thumbnailCount();
    state.counters["peak_rss_MB"] = usage.ru_maxrss / 1024.0;
}
BENCHMARK(BM_AllThumbnails5000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char **argv) { return RunWidgetBenchmarks<QApplication>(argc, argv); }
