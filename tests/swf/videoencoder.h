#pragma once
// Makes video frames for tests with FFmpeg's encoders (Sorenson H.263, or
// H.264 through x264): each frame one flat colour, a key frame every
// `keyInterval` frames, so tests can tell which frame a picture shows.

#include <QByteArray>
#include <QColor>
#include <vector>

namespace swftest {

struct EncodedVideo {
    std::vector<QByteArray> frames;
    QByteArray setup;  // H.264's parameter sets; empty for H.263
};

EncodedVideo EncodeFlatFrames(bool avc, const std::vector<QColor> &colours, int width, int height, int keyInterval);

inline std::vector<QByteArray> EncodeFlatH263Frames(const std::vector<QColor> &colours, int width, int height,
                                                    int keyInterval)
{
    return EncodeFlatFrames(false, colours, width, height, keyInterval).frames;
}

}  // namespace swftest
