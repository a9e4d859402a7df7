#pragma once
// One running FFmpeg video decoder for the frames of one video stream, and
// the conversion of what it decodes into a premultiplied ARGB picture.
// Frames go in in their order; restart() before decoding from a key frame
// again. Pictures of a format it cannot convert, and frames the decoder
// refuses, come back null. One thread at a time.

#include <QImage>
#include <cstddef>
#include <cstdint>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace swf {

// The codec ids of DefineVideoStream.
enum class VideoCodec : uint8_t {
    SorensonH263 = 2,
    ScreenVideo = 3,
    Vp6 = 4,
    Vp6Alpha = 5,
    ScreenVideo2 = 6,
    Avc = 7,
};

class VideoDecoder {
public:
    // `deblocking` as DefineVideoStream states it: 1 turns the decoder's
    // loop filter off, anything else leaves it as the data asks.
    VideoDecoder(VideoCodec codec, int width, int height, int deblocking);
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder &) = delete;
    VideoDecoder &operator=(const VideoDecoder &) = delete;

    bool isOpen() const { return context_ != nullptr; }

    // Feeds one frame's data. With `wantPicture` the decoded picture is
    // returned (null on failure); without, only the decoder's state moves.
    QImage decode(const uint8_t *data, size_t size, bool wantPicture);
    // Forgets earlier frames, so the next one must be a key frame.
    void restart();

private:
    // A new decoder, with the codec's set-up data when it has some.
    void open(const uint8_t *extradata, size_t size);
    // AVC frames come wrapped: a sequence header re-opens the decoder with
    // its set-up data; pictures are unwrapped. False when nothing is left
    // to decode.
    bool unwrapAvc(const uint8_t *&data, size_t &size);

    VideoCodec codec_;
    int width_, height_, deblocking_;
    AVCodecContext *context_ = nullptr;
    AVPacket *packet_ = nullptr;
    AVFrame *frame_ = nullptr;
};

// Whether a frame's data starts a picture that needs no earlier frame.
bool IsVideoKeyFrame(VideoCodec codec, const uint8_t *data, size_t size);

}  // namespace swf
