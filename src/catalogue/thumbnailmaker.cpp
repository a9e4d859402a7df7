#include "catalogue/thumbnailmaker.h"

#include <exception>

#include "catalogue/detailtext.h"
#include "catalogue/swffile.h"
#include "catalogue/thumbnailcache.h"
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

// The engine's picture, kept in the cache; a movie the engine cannot show
// is noted there instead, so that it is not tried again until it changes.
QImage RenderAndKeep(const QString &path, uint32_t frameCount, const TThumbnailCache &cache)
{
    const QImage picture = RenderMoviePicture(path, frameCount);
    if (picture.isNull())
        cache.storeFailure(path);
    else
        cache.store(path, picture);
    return picture;
}

// The movie's picture from the cache, or painted by the engine and kept
// there; null for a movie the engine cannot show.
QImage MoviePicture(const QString &path, uint32_t frameCount, const TThumbnailCache *cache)
{
    if (!cache)
        return RenderMoviePicture(path, frameCount);
    const QImage picture = cache->load(path);
    if (!picture.isNull() || cache->hasFailed(path))
        return picture;
    return RenderAndKeep(path, frameCount, *cache);
}

}  // namespace

int ThumbnailFrame(uint32_t frameCount)
{
    return frameCount > 1 ? static_cast<int>(frameCount / 2) : -1;
}

TThumbnail MakeThumbnail(const QString &path, const TThumbStyle &style, const TThumbnailCache *cache, bool paintTile)
{
    TThumbnail result;
    try {
        ReadSwfHeader(path, result.header);
        if (!paintTile && cache) {
            if (!cache->holds(path) && !cache->hasFailed(path))
                RenderAndKeep(path, result.header.FrameCount, *cache);
            return result;
        }
        const QImage picture = MoviePicture(path, result.header.FrameCount, cache);
        result.picture = PaintThumbnail(picture, CaptionLines(result.header), style);
    } catch (const std::exception &error) {
        result.failed = true;
        result.error = QString::fromStdString(error.what());
        result.picture = PaintThumbnail(QImage(), QStringList(), style);
    }
    return result;
}
