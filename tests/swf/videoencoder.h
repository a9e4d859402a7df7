#pragma once
// Makes Sorenson H.263 video frames for tests with FFmpeg's encoder: each
// frame one flat colour, a key frame every `keyInterval` frames, so tests
// can tell which frame a picture shows.

#include <QByteArray>
#include <QColor>
#include <vector>

namespace swftest {

std::vector<QByteArray> EncodeFlatH263Frames(const std::vector<QColor> &colours, int width, int height,
                                             int keyInterval);

}  // namespace swftest
