#pragma once
// Makes video frames for tests with FFmpeg's encoders (Sorenson H.263,
// screen video in both versions, or H.264 through x264, its NAL units each
// after a 4-byte length as Flash files store them): the top half of each frame one flat
// colour, the bottom half black, a key frame every `keyInterval` frames, so
// tests can tell which frame a picture shows and later frames have parts
// that do not change.

#include <QByteArray>
#include <QColor>
#include <vector>

namespace swftest {

enum class TestCodec { H263, ScreenVideo, ScreenVideo2, Avc };

struct EncodedVideo {
    std::vector<QByteArray> frames;
    std::vector<bool> keys;  // as the encoder marks them
    QByteArray setup;  // H.264's decoder set-up record; empty for the others
};

EncodedVideo EncodeFlatFrames(TestCodec codec, const std::vector<QColor> &colours, int width, int height,
                              int keyInterval);

inline std::vector<QByteArray> EncodeFlatH263Frames(const std::vector<QColor> &colours, int width, int height,
                                                    int keyInterval)
{
    return EncodeFlatFrames(TestCodec::H263, colours, width, height, keyInterval).frames;
}

}  // namespace swftest
