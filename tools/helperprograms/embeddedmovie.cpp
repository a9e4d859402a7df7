#include "embeddedmovie.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "swf/movie.h"

namespace {

const QSize kDefaultStage(550, 400);
constexpr int kTwipsPerPixel = 20;
constexpr int kLongestSnapshotDelayMs = 1000;

std::optional<MovieSpan> FindMovie(const uint8_t *bytes, size_t size, EmbeddedLayout layout)
{
    return layout == EmbeddedLayout::Projector ? FindMovieBeforeTrailer(bytes, size)
                                               : FindScreenSaverMovie(bytes, size);
}

}  // namespace

std::shared_ptr<const swf::MovieDefinition> LoadEmbeddedMovie(const QString &programPath, EmbeddedLayout layout,
                                                              QString *error)
{
    QFile program(programPath);
    if (!program.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot open \"%1\": %2").arg(programPath, program.errorString());
        return nullptr;
    }
    const qint64 size = program.size();
    const uchar *bytes = size > 0 ? program.map(0, size) : nullptr;
    const std::optional<MovieSpan> span = bytes ? FindMovie(bytes, size_t(size), layout) : std::nullopt;
    if (!span || span->length == 0) {
        *error = QStringLiteral("No Flash movie was found at the end of \"%1\".").arg(programPath);
        return nullptr;
    }
    // A copy: the mapping ends with this function, the movie lives on.
    const QByteArray movieBytes(reinterpret_cast<const char *>(bytes + span->offset), qsizetype(span->length));
    std::shared_ptr<const swf::MovieDefinition> movie = swf::LoadMovieFromBytes(movieBytes, error);
    if (!movie && error->isEmpty())
        *error = QStringLiteral("The movie in \"%1\" cannot be read.").arg(programPath);
    return movie;
}

QSize StageSize(const std::shared_ptr<const swf::MovieDefinition> &movie)
{
    const swf::MoviePlayer player(movie);
    const swf::Rect frame = player.header().frame;
    const QSize size((frame.xMax - frame.xMin) / kTwipsPerPixel, (frame.yMax - frame.yMin) / kTwipsPerPixel);
    return size.isEmpty() ? kDefaultStage : size;
}

QString SnapshotPath(const QStringList &arguments)
{
    const qsizetype option = arguments.indexOf(QStringLiteral("--snapshot"));
    return option >= 0 && option + 1 < arguments.size() ? arguments.at(option + 1) : QString();
}

void TakeSnapshotSoon(QWidget *window, double framePeriodMs, const QString &path)
{
    const int delayMs = int(std::min(3 * framePeriodMs, double(kLongestSnapshotDelayMs))) + 1;
    QTimer::singleShot(delayMs, window, [window, path] {
        const QImage picture = window->grab().toImage();
        QApplication::exit(picture.save(path, "PNG") ? 0 : 1);
    });
}
