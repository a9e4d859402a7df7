#include "swf/picturemovie.h"

#include "swf/characters/bitmap.h"
#include "swf/format/jpegdecode.h"
#include "swf/moviedefinition.h"

namespace swf {

namespace {

constexpr uint16_t kPictureId = 1;
constexpr uint16_t kPictureDepth = 1;
// The rate a picture's one frame claims.
constexpr double kPictureFrameRate = 12;

}  // namespace

bool LooksLikePicture(const QByteArray &bytes)
{
    return bytes.startsWith("\xFF\xD8") || bytes.startsWith("\x89PNG") || bytes.startsWith("GIF8");
}

std::shared_ptr<MovieDefinition> PictureMovie(const QByteArray &bytes)
{
    if (!LooksLikePicture(bytes))
        return nullptr;
    auto movie = std::make_shared<MovieDefinition>();
    QImage image = DecodeEmbeddedImage(bytes, movie->budget);
    if (image.isNull())
        return nullptr;
    movie->header.fileLength = uint32_t(bytes.size());
    movie->header.frameRate = kPictureFrameRate;
    movie->header.frameCount = 1;
    movie->header.frame = Rect{0, int32_t(image.width() * kTwipsPerPixel), 0,
                               int32_t(image.height() * kTwipsPerPixel)};
    movie->dictionary.add(std::make_shared<BitmapCharacter>(kPictureId, std::move(image)));
    DisplayCommand place;
    place.hasCharacter = true;
    place.characterId = kPictureId;
    place.depth = kPictureDepth;
    movie->timeline.frames.resize(1);
    movie->timeline.frames[0].commands.push_back(place);
    movie->timeline.setFrameCount(1);
    return movie;
}

}  // namespace swf
