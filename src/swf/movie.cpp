#include "swf/movie.h"

#include <QPainter>

namespace swf {

class MovieDefinition {
public:
    MovieHeader header;
};

class MoviePlayer::State {};

std::shared_ptr<const MovieDefinition> LoadMovie(const QString &, QString *error)
{
    if (error)
        *error = QStringLiteral("not implemented");
    return nullptr;
}

std::shared_ptr<const MovieDefinition> LoadMovieFromBytes(const QByteArray &, QString *error)
{
    if (error)
        *error = QStringLiteral("not implemented");
    return nullptr;
}

MoviePlayer::MoviePlayer(std::shared_ptr<const MovieDefinition> movie) : movie_(std::move(movie)) {}
MoviePlayer::~MoviePlayer() = default;
const MovieHeader &MoviePlayer::header() const { return movie_->header; }
Rgba MoviePlayer::backgroundColor() const { return {255, 255, 255, 255}; }
int MoviePlayer::frameCount() const { return 1; }
int MoviePlayer::currentFrame() const { return 0; }
void MoviePlayer::gotoFrame(int) {}
void MoviePlayer::advance(bool) {}
bool MoviePlayer::isPlaying() const { return false; }
void MoviePlayer::setPlaying(bool) {}
void MoviePlayer::render(QPainter &, const QRect &, Quality) const {}
QImage MoviePlayer::renderImage(const QSize &, Quality) const { return {}; }

}  // namespace swf
