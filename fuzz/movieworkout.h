#pragma once
// What users do with a movie, as one bounded workout for any bytes: the
// catalogue's thumbnail (the middle frame at 120 x 90), a player showing
// the first frames at the sizes the windows use (down to a single pixel)
// and qualities, seeking back and forth at frames the input's last bytes
// choose, and a person at the player: the pointer moving and pressing,
// keys, the sound mixed as it plays. Scripts run in every player. Shared
// by the fuzz target and the regression test that replays the inputs the
// fuzzer once broke the engine with.

#include <QByteArray>
#include <QPointF>
#include <QSize>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

#include "swf/media/soundmixer.h"
#include "swf/movie.h"

namespace fuzzworkout {

// The sizes the windows draw at: a pixel, a thin strip, the preview
// panel, the full-screen player.
inline const QSize kViewSizes[] = {QSize(1, 1), QSize(7, 300), QSize(284, 213), QSize(1920, 1080)};
constexpr swf::Quality kQualities[] = {swf::Quality::High, swf::Quality::Low, swf::Quality::Medium};
constexpr int kSeeks = 4;
constexpr int kInputSteps = 6;
constexpr int kMixRate = 44100;

inline void MakeThumbnail(const std::shared_ptr<const swf::MovieDefinition> &movie)
{
    swf::MoviePlayer player(movie);
    if (player.frameCount() > 1)
        player.gotoFrame(player.frameCount() / 2);
    player.renderImage(QSize(120, 90), swf::Quality::High);
}

// The byte `back` places from the input's end, 0 past its start.
inline uint8_t ByteFromEnd(const QByteArray &bytes, int back)
{
    return bytes.size() > back ? uint8_t(bytes.at(bytes.size() - 1 - back)) : 0;
}

// A frame from each of the input's last bytes, in proportion to the frame
// count (255 asks for one past the last): trailing bytes past a movie's
// end change nothing else, so the fuzzer can steer the seeks.
inline int SeekTarget(const QByteArray &bytes, int seek, int frameCount)
{
    return int(int64_t(ByteFromEnd(bytes, seek)) * frameCount / 255);
}

// Each step takes a byte before the seeks' bytes: its low half places the
// pointer across the stage, its high half down it, and the byte is also
// the key pressed (a printable character or one of the control keys).
inline void PlayWithMouseKeysAndSound(const std::shared_ptr<const swf::MovieDefinition> &movie,
                                      const QByteArray &bytes)
{
    swf::MoviePlayer player(movie);
    player.setPlaying(true);
    player.setSoundEnabled(true);
    const auto mixer = player.soundMixer();
    const double rate = player.header().frameRate > 0 ? player.header().frameRate : 12;
    const int samplesPerFrame = std::clamp(int(kMixRate / rate), 1, kMixRate);
    std::vector<int16_t> samples(2 * size_t(samplesPerFrame));
    const swf::Rect &stage = player.header().frame;
    const double width = (double(stage.xMax) - stage.xMin) / 20, height = (double(stage.yMax) - stage.yMin) / 20;
    for (int step = 0; step < kInputSteps; ++step) {
        const uint8_t byte = ByteFromEnd(bytes, kSeeks + step);
        const QPointF at(width * (byte & 15) / 15, height * (byte >> 4) / 15);
        player.mouseMove(at);
        if (step % 2 == 0)
            player.mouseDown(at);
        else
            player.mouseUp(at);
        const int key = byte & 127;
        player.keyDown(key, key >= 32 ? char32_t(key) : 0);
        player.keyUp(key, key >= 32 ? char32_t(key) : 0);
        player.advance();
        mixer->mix(samples.data(), samplesPerFrame);
    }
    player.mouseLeave();
    player.renderImage(QSize(64, 48), swf::Quality::High);
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
    PlayWithMouseKeysAndSound(movie, bytes);
}

}  // namespace fuzzworkout
