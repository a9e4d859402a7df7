// pavoko-thumbnailer: the file managers' thumbnailer for SWF movies.
//
//   pavoko-thumbnailer -s SIZE INPUT OUTPUT
//
// Writes a PNG whose longer side is SIZE pixels, the stage's aspect kept,
// showing the frame the catalogue shows: the middle frame, or the first
// frame with anything on it when the middle one is empty. INPUT may be a
// path or a file:// URI. A file that is not a whole, readable movie (one
// cut short of the length its header records) gives exit status 1 and no
// OUTPUT; the picture goes through a temporary file beside OUTPUT and a
// rename, so nobody ever sees half a PNG. Bad arguments give status 2.
//
// File managers run this on every movie they list, so it keeps to a
// wall-clock budget whatever the movie does: past the soft deadline it looks
// at no further frames and writes what it has; a movie still loading or
// seeking at the hard deadline ends the process with status 1 and no file.
// The engine opens no network connection and plays no sound; nothing here
// asks it to.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <unistd.h>

#include "catalogue/thumbnailmaker.h"
#include "swf/moviedefinition.h"

namespace {

constexpr int kExitUnreadable = 1;
constexpr int kExitUsage = 2;
constexpr int kLargestSize = 4096;
// Past this the search for a frame with something on it stops.
constexpr std::chrono::milliseconds kSoftDeadline(900);
// Past this, before writing has begun, the process gives up.
constexpr std::chrono::milliseconds kHardDeadline(1700);
// Frames are judged empty or not on a small picture: cheap, and a stroke
// still shows at this size.
constexpr int kProbeSize = 64;

struct Options {
    int size = 0;
    QString input;
    QString output;
};

bool ParseArguments(const QStringList &args, Options &options)
{
    if (args.size() != 5 || args.at(1) != QLatin1String("-s"))
        return false;
    bool ok = false;
    options.size = args.at(2).toInt(&ok);
    const QUrl url(args.at(3));
    options.input = url.isLocalFile() ? url.toLocalFile() : args.at(3);
    options.output = args.at(4);
    return ok && options.size > 0 && options.size <= kLargestSize && !options.input.isEmpty()
           && !options.output.isEmpty();
}

// Ends the process at the hard deadline unless the writing has begun by
// then: a movie that loads or seeks for ever must not hold up the file
// manager, and the output file is only ever made after `beginWriting`.
// The state lives outside any object: the watchdog thread may wake while
// the main thread is already returning from main().
constexpr int kWorking = 0, kWriting = 1, kExpired = 2;
std::atomic<int> g_watchdogState{kWorking};

class Watchdog {
public:
    Watchdog()
    {
        std::thread([] {
            std::this_thread::sleep_for(kHardDeadline);
            int working = kWorking;
            if (g_watchdogState.compare_exchange_strong(working, kExpired)) {
                std::fputs("pavoko-thumbnailer: out of time\n", stderr);
                _exit(kExitUnreadable);
            }
        }).detach();
    }
    // False when the deadline has passed and the process is ending.
    bool beginWriting()
    {
        int working = kWorking;
        return g_watchdogState.compare_exchange_strong(working, kWriting);
    }
};

// The picture size: the longer side `size`, the shorter one in the stage's
// proportion (at least one pixel); invalid for a stage without area.
QSize PictureSize(const swf::Rect &stage, int size)
{
    const double width = double(stage.xMax) - stage.xMin;
    const double height = double(stage.yMax) - stage.yMin;
    if (!(width > 0 && height > 0))
        return {};
    const double scale = size / std::max(width, height);
    return QSize(std::max(1, int(std::lround(width * scale))), std::max(1, int(std::lround(height * scale))));
}

bool IsEmpty(const QImage &picture)
{
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb first = pixels.pixel(0, 0);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        if (std::any_of(line, line + pixels.width(), [first](QRgb pixel) { return pixel != first; }))
            return false;
    }
    return true;
}

QImage Probe(const swf::MoviePlayer &player, const QSize &pictureSize)
{
    return player.renderImage(pictureSize.scaled(kProbeSize, kProbeSize, Qt::KeepAspectRatio),
                              swf::Quality::Low);
}

// Leaves the player on the frame to show: the middle one, or when that is
// empty, the first one from the start that is not (the middle one again
// when none is found before the soft deadline).
void ChooseFrame(swf::MoviePlayer &player, const QSize &pictureSize, const QElapsedTimer &clock)
{
    const int middle = ThumbnailFrame(player.header().frameCount);
    if (middle >= 0)
        player.gotoFrame(middle);
    if (!IsEmpty(Probe(player, pictureSize)))
        return;
    player.gotoFrame(0);
    for (int last = -1; player.currentFrame() > last && clock.elapsed() < kSoftDeadline.count();) {
        if (!IsEmpty(Probe(player, pictureSize)))
            return;
        last = player.currentFrame();
        // Frame actions may have stopped the movie; the search goes on.
        player.setPlaying(true);
        player.advance(false);
    }
    player.gotoFrame(std::max(middle, 0));
}

bool WritePng(const QImage &picture, const QString &path)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit();
}

// Qt's own notes (fonts, the offscreen platform) are not the file
// manager's business.
void QuietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "pavoko-thumbnailer: %s\n", qPrintable(message));
}

// A movie is whole when its file holds all the bytes its header promises;
// a missing End tag alone, common in real movies, does not count against it.
bool IsWhole(const swf::MovieDefinition &movie)
{
    constexpr qsizetype kHeaderBytes = 8;
    return movie.body.size() + kHeaderBytes >= qsizetype(movie.header.fileLength);
}

int Run(const Options &options, const QElapsedTimer &clock, Watchdog &watchdog)
{
    QString error;
    const auto movie = swf::LoadMovie(options.input, &error);
    if (!movie || !IsWhole(*movie)) {
        std::fprintf(stderr, "pavoko-thumbnailer: cannot read %s%s%s\n", qPrintable(options.input),
                     error.isEmpty() ? "" : ": ", qPrintable(error));
        return kExitUnreadable;
    }
    swf::MoviePlayer player(movie);
    const QSize pictureSize = PictureSize(player.header().frame, options.size);
    if (!pictureSize.isValid()) {
        std::fprintf(stderr, "pavoko-thumbnailer: %s has no stage\n", qPrintable(options.input));
        return kExitUnreadable;
    }
    ChooseFrame(player, pictureSize, clock);
    const QImage picture = player.renderImage(pictureSize, swf::Quality::High);
    if (!watchdog.beginWriting())
        return kExitUnreadable;
    if (picture.isNull() || !WritePng(picture, options.output)) {
        std::fprintf(stderr, "pavoko-thumbnailer: cannot write %s\n", qPrintable(options.output));
        return kExitUnreadable;
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    Watchdog watchdog;
    qInstallMessageHandler(QuietMessages);
    // Text needs the system's fonts, which need a GUI application; no
    // window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    Options options;
    if (!ParseArguments(app.arguments(), options)) {
        std::fputs("usage: pavoko-thumbnailer -s SIZE INPUT OUTPUT\n", stderr);
        return kExitUsage;
    }
    return Run(options, clock, watchdog);
}
