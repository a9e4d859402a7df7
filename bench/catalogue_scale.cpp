// The catalogue at scale, with generated movies in a temporary folder:
// - a folder of 50,000 movies listed and shown (the first screen of tiles
//   with their captions painted), and the time until the first screen's
//   thumbnails exist, with an empty thumbnail cache;
// - the same folder walked to its end by the worker while the view scrolls
//   end to end and back: the process's memory and the longest single step
//   of the interface thread meanwhile;
// - a folder of 5,000 movies reopened with its thumbnails cached: the
//   screen's thumbnails and all 5,000.
// Each benchmark gets a thumbnail cache folder of its own under the
// scratch folder (XDG_CACHE_HOME), never the cache of the person running
// it.

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

#include "catalogue/thumbworker.h"
#include "catalogue/zenteqthumb.h"

namespace {

constexpr int kLargeFolder = 50000;
constexpr int kCachedFolder = 5000;
constexpr QSize kWindow(1000, 700);

// --- the longest step of the interface thread ---

// Times every event the interface thread handles at the top level (a
// paint, a timer, a request of the worker, a scroll); nested events are
// part of their parent's step.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (depth_ > 0 || !measuring_)
            return plainNotify(receiver, event);
        QElapsedTimer clock;
        clock.start();
        const bool handled = plainNotify(receiver, event);
        longestNs_ = std::max(longestNs_, clock.nsecsElapsed());
        return handled;
    }

    void startMeasuring()
    {
        longestNs_ = 0;
        measuring_ = true;
    }
    double stopMeasuring()
    {
        measuring_ = false;
        return longestNs_ / 1e6;
    }

private:
    bool plainNotify(QObject *receiver, QEvent *event)
    {
        ++depth_;
        const bool handled = QApplication::notify(receiver, event);
        --depth_;
        return handled;
    }

    int depth_ = 0;
    bool measuring_ = false;
    qint64 longestNs_ = 0;
};

TimedApplication *App() { return static_cast<TimedApplication *>(QCoreApplication::instance()); }

// --- generated movies ---

class BitWriter {
public:
    void write(uint32_t value, int bits)
    {
        for (int bit = bits - 1; bit >= 0; --bit) {
            if (used_ == 0)
                bytes_.append('\0');
            if (value >> bit & 1)
                bytes_[bytes_.size() - 1] = char(uchar(bytes_.back()) | 0x80 >> used_);
            used_ = (used_ + 1) % 8;
        }
    }
    void writeSigned(int32_t value, int bits) { write(uint32_t(value) & ((1u << bits) - 1), bits); }
    QByteArray bytes() const { return bytes_; }

private:
    QByteArray bytes_;
    int used_ = 0;
};

void AppendTag(QByteArray &movie, int code, const QByteArray &payload)
{
    const uint16_t head = uint16_t(code << 6 | 0x3F);
    movie.append(char(head & 0xFF)).append(char(head >> 8));
    const uint32_t length = uint32_t(payload.size());
    for (int i = 0; i < 4; ++i)
        movie.append(char(length >> (8 * i) & 0xFF));
    movie.append(payload);
}

QByteArray Rectangle(int width, int height)
{
    BitWriter rect;
    rect.write(16, 5);
    for (const int twips : {0, width, 0, height})
        rect.write(uint32_t(twips), 16);
    return rect.bytes();
}

// A rectangle of one solid colour, `width` x `height` twips at (x, y).
QByteArray SolidShape(uint16_t id, QRgb colour, int x, int y, int width, int height)
{
    QByteArray shape;
    shape.append(char(id & 0xFF)).append(char(id >> 8));
    shape.append(Rectangle(x + width, y + height));
    shape.append(char(1)).append(char(0));  // one solid fill style
    shape.append(char(qRed(colour))).append(char(qGreen(colour))).append(char(qBlue(colour)));
    shape.append(char(0));                  // no line styles
    BitWriter records;
    records.write(1, 4);                    // fill bits
    records.write(0, 4);                    // line bits
    records.write(0b001001, 6);             // style change: fill 1, move to
    records.write(16, 5);
    records.writeSigned(x, 16);
    records.writeSigned(y, 16);
    records.write(1, 1);                    // fill style 1
    for (const auto &[dx, dy] : {std::pair{width, 0}, {0, height}, {-width, 0}, {0, -height}}) {
        records.write(0b11, 2);             // straight edge
        records.write(16 - 2, 4);
        records.write(0, 1);                // vertical or horizontal
        records.write(dx == 0 ? 1 : 0, 1);
        records.writeSigned(dx == 0 ? dy : dx, 16);
    }
    records.write(0, 6);                    // end of shape
    return shape + records.bytes();
}

// A 550 x 400 movie of `frames` frames with its own background colour and
// a rectangle placed on it, so that the engine has work and the
// thumbnails differ.
QByteArray GeneratedMovie(int seed)
{
    const int frames = 1 + seed % 60;
    QByteArray body = Rectangle(11000, 8000);
    body.append(char(0)).append(char(12));
    body.append(char(frames & 0xFF)).append(char(frames >> 8));
    const QRgb background = qRgb(seed * 37 % 256, seed * 91 % 256, seed * 53 % 256);
    AppendTag(body, 9, QByteArray(1, char(qRed(background))) + char(qGreen(background)) + char(qBlue(background)));
    AppendTag(body, 2, SolidShape(1, ~background, 1000 + seed % 3000, 1000 + seed % 2000, 4000, 3000));
    AppendTag(body, 26, QByteArray("\x02\x01\x00\x01\x00", 5));  // place shape 1 at depth 1
    for (int frame = 0; frame < frames; ++frame)
        AppendTag(body, 1, {});
    AppendTag(body, 0, {});
    QByteArray movie("FWS");
    movie.append(char(8));
    const uint32_t length = uint32_t(8 + body.size());
    for (int i = 0; i < 4; ++i)
        movie.append(char(length >> (8 * i) & 0xFF));
    return movie + body;
}

// In memory (/dev/shm) where there is such a folder, so that the figures
// are the program's and not the disk's; PAVOKO_BENCH_DIR names another.
QTemporaryDir &Scratch()
{
    QString base = qEnvironmentVariable("PAVOKO_BENCH_DIR");
    if (base.isEmpty())
        base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/pavoko-bench-XXXXXX"));
    return dir;
}

// A folder of `count` movies, written once per run with plain system calls
// (50,000 files in a few seconds).
QString MovieFolder(const QString &name, int count)
{
    const QString folder = Scratch().filePath(name);
    if (QDir(folder).exists())
        return folder;
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const QByteArray bytes = GeneratedMovie(i);
        const QByteArray path = QFile::encodeName(folder + QStringLiteral("/movie%1.swf").arg(i, 5, 10, QLatin1Char('0')));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
            qFatal("cannot write %s", path.constData());
        ::close(fd);
    }
    return folder;
}

// Points the shared thumbnail cache at a folder of the benchmark's own;
// `fresh` empties it first.
void UseThumbnailCache(const QString &name, bool fresh)
{
    const QString home = Scratch().filePath(QStringLiteral("cache-") + name);
    if (fresh)
        QDir(home).removeRecursively();
    QDir().mkpath(home);
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home));
}

// --- watching the view ---

// Runs the event loop as the program does (asleep until an event comes),
// looking every millisecond whether `done`.
void RunEventLoopUntil(const std::function<bool()> &done)
{
    if (done())
        return;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    look.start(1);
    loop.exec();
}

bool WorkerDone() { return WorkerHandle.load() == nullptr && WorkerIdle; }

bool ScreenRendered(const TZenteqThumb &view)
{
    QAbstractItemView *items = view.currentView();
    const QRect screen = items->viewport()->rect();
    const QModelIndex first = items->indexAt(QPoint(20, 20));
    for (int row = std::max(first.row(), 0); row < view.itemCount(); ++row) {
        const QRect icon = items->visualRect(items->model()->index(row, 0));
        if (icon.top() >= screen.height())
            break;
        if (icon.intersects(screen) && view.itemImageIndex(row) < 0)
            return false;
    }
    return true;
}

bool AllRendered(const TZenteqThumb &view) { return view.thumbnailCount() >= view.itemCount(); }

double ResidentMB()
{
    long pages = 0, resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double PeakResidentMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

std::unique_ptr<TZenteqThumb> ShownView()
{
    auto view = std::make_unique<TZenteqThumb>();
    view->resize(kWindow);
    view->show();
    QCoreApplication::processEvents();
    return view;
}

// --- the benchmarks ---

// The timed part: LoadFolder as the main window calls it (its 100 ms pause
// included) and the first paint of the view. Then, untimed, the time from
// the load until every tile on screen has its thumbnail.
void BM_Open50000Movies(benchmark::State &state)
{
    const QString folder = MovieFolder(QStringLiteral("fifty-thousand"), kLargeFolder);
    double shownMs = 0, thumbnailsMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        UseThumbnailCache(QStringLiteral("open"), true);
        auto view = ShownView();
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        view->LoadFolder(folder);
        view->currentView()->viewport()->repaint();
        shownMs += clock.nsecsElapsed() / 1e6;
        state.PauseTiming();
        RunEventLoopUntil([&] { return ScreenRendered(*view); });
        thumbnailsMs += clock.nsecsElapsed() / 1e6;
        view->StopWorkerAndWait();
        view.reset();
        state.ResumeTiming();
    }
    state.counters["listed_and_shown_ms"] = shownMs / state.iterations();
    state.counters["first_screen_thumbnails_ms"] = thumbnailsMs / state.iterations();
}
BENCHMARK(BM_Open50000Movies)->Unit(benchmark::kMillisecond)->Iterations(3);

// Scrolls the view a page every frame (16 ms), end to end and back, until
// the worker has made every thumbnail; meanwhile samples the memory and
// times every step of the interface thread.
void BM_Walk50000MoviesWhileScrolling(benchmark::State &state)
{
    const QString folder = MovieFolder(QStringLiteral("fifty-thousand"), kLargeFolder);
    double longestStepMs = 0, highestMB = 0;
    int passes = 0;
    for (auto _ : state) {
        UseThumbnailCache(QStringLiteral("walk"), true);
        auto view = ShownView();
        view->LoadFolder(folder);
        QScrollBar *bar = view->currentView()->verticalScrollBar();
        int direction = 1;
        QEventLoop loop;
        QTimer frame;
        QObject::connect(&frame, &QTimer::timeout, [&] {
            highestMB = std::max(highestMB, ResidentMB());
            if (WorkerDone() && AllRendered(*view)) {
                loop.quit();
                return;
            }
            bar->setValue(bar->value() + direction * bar->pageStep());
            if (bar->value() == (direction > 0 ? bar->maximum() : bar->minimum())) {
                direction = -direction;
                ++passes;
            }
        });
        frame.start(16);
        App()->startMeasuring();
        loop.exec();
        longestStepMs = std::max(longestStepMs, App()->stopMeasuring());
        state.counters["thumbnails"] = view->thumbnailCount();
        state.counters["tiles_in_memory"] = view->tilesInMemory();
    }
    state.counters["scroll_passes"] = passes;
    state.counters["rss_highest_MB"] = highestMB;
    state.counters["peak_rss_MB"] = PeakResidentMB();
    state.counters["longest_ui_step_ms"] = longestStepMs;
}
BENCHMARK(BM_Walk50000MoviesWhileScrolling)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// Reopening a folder whose thumbnails the cache holds (made by a first,
// untimed walk): the time until the screen's thumbnails exist, and until
// all of them do, each from the start of the load.
void BM_Reopen5000CachedMovies(benchmark::State &state)
{
    const QString folder = MovieFolder(QStringLiteral("five-thousand"), kCachedFolder);
    UseThumbnailCache(QStringLiteral("reopen"), true);
    {
        auto view = ShownView();
        view->LoadFolder(folder);
        RunEventLoopUntil([&] { return WorkerDone() && AllRendered(*view); });
    }
    double screenMs = 0, allMs = 0;
    for (auto _ : state) {
        auto view = ShownView();
        QElapsedTimer clock;
        clock.start();
        view->LoadFolder(folder);
        RunEventLoopUntil([&] { return ScreenRendered(*view); });
        screenMs += clock.nsecsElapsed() / 1e6;
        RunEventLoopUntil([&] { return AllRendered(*view); });
        allMs += clock.nsecsElapsed() / 1e6;
        RunEventLoopUntil(WorkerDone);
    }
    state.counters["screen_thumbnails_ms"] = screenMs / state.iterations();
    state.counters["all_thumbnails_ms"] = allMs / state.iterations();
}
BENCHMARK(BM_Reopen5000CachedMovies)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
