#pragma once
// What users do with a movie, as one bounded workout for any bytes: the
// catalogue's thumbnail (the middle frame at 120 x 90), a player showing
// the first frames at the sizes the windows use (down to a single pixel)
// and qualities, and seeking back and forth at frames the input's last
// bytes choose. Shared by the fuzz target and the regression test that
// replays the inputs the fuzzer once broke the engine with.

#include <QByteArray>
#include <QSize>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>

#include "swf/movie.h"

namespace fuzzworkout {

// The sizes the windows draw at: a pixel, a thin strip, the preview
// panel, the full-screen player.
inline const QSize kViewSizes[] = {QSize(1, 1), QSize(7, 300), QSize(284, 213), QSize(1920, 1080)};
constexpr swf::Quality kQualities[] = {swf::Quality::High, swf::Quality::Low, swf::Quality::Medium};
constexpr int kSeeks = 4;

inline void MakeThumbnail(const std::shared_ptr<const swf::MovieDefinition> &movie)
{
    swf::MoviePlayer player(movie);
    if (player.frameCount() > 1)
        player.gotoFrame(player.frameCount() / 2);
    player.renderImage(QSize(120, 90), swf::Quality::High);
}

// A frame from each of the input's last bytes, in proportion to the frame
// count (255 asks for one past the last): trailing bytes past a movie's
// end change nothing else, so the fuzzer can steer the seeks.
inline int SeekTarget(const QByteArray &bytes, int seek, int frameCount)
{
    if (bytes.size() <= seek)
        return 0;
    const auto byte = uint8_t(bytes.at(bytes.size() - 1 - seek));
    return int(int64_t(byte) * frameCount / 255);
}

inline void PlayAndSeek(const std::shared_ptr<const swf::MovieDefinition> &movie, const QByteArray &bytes)
{
    swf::MoviePlayer player(movie);
    player.setPlaying(true);
    int quality = 0;
    auto nextQuality = [&quality] { return kQualities[quality++ % std::size(kQualities)]; };
    for (const QSize &size : kViewSizes) {
        player.renderImage(size, nextQuality());
        player.advance();
    }
    for (int seek = 0; seek < kSeeks; ++seek) {
        player.gotoFrame(SeekTarget(bytes, seek, player.frameCount()));
        player.renderImage(QSize(64, 48), nextQuality());
    }
    player.advance(false);
    player.renderImage(QSize(64, 48), nextQuality());
}

inline void Workout(const QByteArray &bytes)
{
    const auto movie = swf::LoadMovieFromBytes(bytes);
    if (!movie)
        return;
    MakeThumbnail(movie);
    PlayAndSeek(movie, bytes);
}

}  // namespace fuzzworkout
