// swfrender: draws one frame of a SWF movie into a PNG file, or writes
// what its scripts trace.
//
//   swfrender [--frames N] [--size WxH] [--quality high|medium|low] [--bench]
//             [--input LOG.json] [--audio OUT.wav] [--shared-objects DIR] -o OUT.png IN.swf
//   swfrender [--frames N] [--input LOG.json] [--shared-objects DIR] --trace OUT.txt IN.swf
//
// The picture shows the movie after N frames have been shown (default 1,
// the first frame), at the stage size or the given size, the whole stage
// fitted and centred. --input replays a recorded log of the mouse and the
// keys: before each frame is shown, its events up to the next "Wait".
// --bench also times the rendering of every frame up to N and prints the
// median as "ms_per_frame=<ms>". --audio also writes the sound of those N
// frames (16-bit stereo WAV, 44.1 kHz), each frame lasting 1/rate seconds
// whatever its drawing took. --trace runs the same N frames without
// drawing and writes every trace() line ("-" for standard output); a movie
// that asks to quit (fscommand) ends the run there. The scripts' clock
// moves one frame interval per frame, so runs repeat. The movie's shared
// objects last for the run only, unless --shared-objects names a folder
// to keep them in.

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "swf/media/soundrecorder.h"
#include "swf/inputlog.h"
#include "swf/movie.h"

namespace {

struct Options {
    int frames = 1;
    QSize size;
    swf::Quality quality = swf::Quality::High;
    bool bench = false;
    QString output;
    QString audio;
    QString trace;
    QString input;
    QString inputLog;
    QString sharedObjects;
};

void PrintUsage()
{
    std::fprintf(stderr,
                 "usage: swfrender [--frames N] [--size WxH] [--quality high|medium|low] "
                 "[--bench] [--input LOG.json] [--audio OUT.wav] [--shared-objects DIR] -o OUT.png IN.swf\n"
                 "       swfrender [--frames N] [--input LOG.json] [--shared-objects DIR] --trace OUT.txt IN.swf\n");
}

bool ParseSize(const QString &text, QSize &size)
{
    const QStringList parts = text.toLower().split(QLatin1Char('x'));
    if (parts.size() != 2)
        return false;
    bool okWidth = false, okHeight = false;
    size = QSize(parts[0].toInt(&okWidth), parts[1].toInt(&okHeight));
    return okWidth && okHeight && size.width() > 0 && size.height() > 0
           && size.width() <= 16384 && size.height() <= 16384;
}

bool ParseQuality(const QString &text, swf::Quality &quality)
{
    if (text == QLatin1String("high"))
        quality = swf::Quality::High;
    else if (text == QLatin1String("medium"))
        quality = swf::Quality::Medium;
    else if (text == QLatin1String("low"))
        quality = swf::Quality::Low;
    else
        return false;
    return true;
}

bool ParseArguments(const QStringList &args, Options &options)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--bench")) {
            options.bench = true;
        } else if (arg == QLatin1String("--frames") && hasValue) {
            bool ok = false;
            options.frames = args[++i].toInt(&ok);
            if (!ok || options.frames < 1)
                return false;
        } else if (arg == QLatin1String("--size") && hasValue) {
            if (!ParseSize(args[++i], options.size))
                return false;
        } else if (arg == QLatin1String("--quality") && hasValue) {
            if (!ParseQuality(args[++i], options.quality))
                return false;
        } else if (arg == QLatin1String("--audio") && hasValue) {
            options.audio = args[++i];
        } else if (arg == QLatin1String("--input") && hasValue) {
            options.inputLog = args[++i];
        } else if (arg == QLatin1String("-o") && hasValue) {
            options.output = args[++i];
        } else if (arg == QLatin1String("--shared-objects") && hasValue) {
            options.sharedObjects = args[++i];
        } else if (arg == QLatin1String("--trace") && hasValue) {
            options.trace = args[++i];
        } else if (!arg.startsWith(QLatin1Char('-')) && options.input.isEmpty()) {
            options.input = arg;
        } else {
            return false;
        }
    }
    return options.output.isEmpty() != options.trace.isEmpty() && !options.input.isEmpty();
}

QSize StageSize(const swf::MoviePlayer &player)
{
    const swf::Rect &frame = player.header().frame;
    const int width = int(std::lround((double(frame.xMax) - frame.xMin) / swf::kTwipsPerPixel));
    const int height = int(std::lround((double(frame.yMax) - frame.yMin) / swf::kTwipsPerPixel));
    return QSize(std::clamp(width, 1, 16384), std::clamp(height, 1, 16384));
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Shows frames 1..N, rendering each one when benchmarking and recording
// its sound when asked; returns the picture of the last.
QImage RenderFrames(swf::MoviePlayer &player, const Options &options, const QSize &size,
                    swf::InputLog &input, std::vector<double> &milliseconds, swf::SoundRecorder *recorder)
{
    QImage image;
    for (int shown = 1; shown <= options.frames; ++shown) {
        input.playFrame(player);
        if (shown > 1)
            player.advance(true);
        if (recorder)
            recorder->recordFrame();
        if (!options.bench && shown < options.frames)
            continue;
        QElapsedTimer timer;
        timer.start();
        image = player.renderImage(size, options.quality);
        milliseconds.push_back(timer.nsecsElapsed() / 1e6);
    }
    return image;
}

// Runs frames 1..N, or until the movie quits, writing the trace lines
// as they come.
int WriteTrace(const std::shared_ptr<const swf::MovieDefinition> &movie, const Options &options,
               swf::InputLog &input)
{
    QFile file;
    const bool opened = options.trace == QLatin1String("-") ? file.open(stdout, QIODevice::WriteOnly)
                                                            : (file.setFileName(options.trace),
                                                               file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    if (!opened) {
        std::fprintf(stderr, "swfrender: cannot write %s\n", qPrintable(options.trace));
        return 1;
    }
    swf::MoviePlayer player(
        movie,
        [&file](const QString &line) {
            file.write(line.toUtf8());
            file.write("\n");
        },
        options.sharedObjects);
    for (int shown = 1; shown <= options.frames && !player.quitRequested(); ++shown) {
        input.playFrame(player);
        if (shown > 1)
            player.advance(true);
    }
    file.flush();
    return 0;
}

// Qt's own notes (a missing runtime folder under the offscreen platform,
// font fallbacks) would break the promise of one line of error output;
// only its critical messages get through.
void QuietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "swfrender: %s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(QuietMessages);
    // Text may need system fonts, which need a GUI application; no window
    // is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    Options options;
    if (!ParseArguments(app.arguments(), options)) {
        PrintUsage();
        return 2;
    }
    QString error;
    const auto movie = swf::LoadMovie(options.input, &error);
    if (!movie) {
        std::fprintf(stderr, "swfrender: cannot read %s: %s\n", qPrintable(options.input),
                     qPrintable(error));
        return 1;
    }
    swf::InputLog input;
    if (!options.inputLog.isEmpty() && !input.load(options.inputLog, &error)) {
        std::fprintf(stderr, "swfrender: cannot read %s: %s\n", qPrintable(options.inputLog), qPrintable(error));
        return 1;
    }
    if (!options.trace.isEmpty())
        return WriteTrace(movie, options, input);
    swf::MoviePlayer player(movie, {}, options.sharedObjects);
    const QSize size = options.size.isValid() ? options.size : StageSize(player);
    std::vector<double> milliseconds;
    std::unique_ptr<swf::SoundRecorder> recorder;
    if (!options.audio.isEmpty()) {
        player.setSoundEnabled(true);
        recorder = std::make_unique<swf::SoundRecorder>(player.soundMixer(), player.header().frameRate);
    }
    const QImage image = RenderFrames(player, options, size, input, milliseconds, recorder.get());
    if (image.isNull() || !image.save(options.output, "PNG")) {
        std::fprintf(stderr, "swfrender: cannot write %s\n", qPrintable(options.output));
        return 1;
    }
    if (recorder && !recorder->writeWav(options.audio)) {
        std::fprintf(stderr, "swfrender: cannot write %s\n", qPrintable(options.audio));
        return 1;
    }
    if (options.bench)
        std::printf("ms_per_frame=%.3f\n", Median(milliseconds));
    return 0;
}
