#include "catalogue/thumbnailmaker.h"

#include <exception>

#include "catalogue/detailtext.h"
#include "catalogue/swffile.h"
#include "swf/movie.h"

namespace {

// The engine's picture of the chosen frame, or a null image when the
// engine cannot load the file.
QImage RenderMoviePicture(const QString &path, uint32_t frameCount)
{
    if (!TSwfFile::isRegularFile(path))
        return {};
    const auto movie = swf::LoadMovie(path);
    if (!movie)
        return {};
    swf::MoviePlayer player(movie);
    const int frame = ThumbnailFrame(frameCount);
    if (frame >= 0)
        player.gotoFrame(frame);
    return player.renderImage(QSize(kThumbSize, kMoviePictureHeight), swf::Quality::High);
}

}  // namespace

int ThumbnailFrame(uint32_t frameCount)
{
    return frameCount > 1 ? static_cast<int>(frameCount / 2) : -1;
}

TThumbnail MakeThumbnail(const QString &path, const TThumbStyle &style)
{
    TThumbnail result;
    try {
        ReadSwfHeader(path, result.header);
        const QImage picture = RenderMoviePicture(path, result.header.FrameCount);
        result.picture = PaintThumbnail(picture, CaptionLines(result.header), style);
    } catch (const std::exception &error) {
        result.failed = true;
        result.error = QString::fromStdString(error.what());
        result.picture = PaintThumbnail(QImage(), QStringList(), style);
    }
    return result;
}
