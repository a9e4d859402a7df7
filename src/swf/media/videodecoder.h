#pragma once
// One running FFmpeg video decoder for the frames of one video stream, and
// the conversion of what it decodes into a premultiplied ARGB picture.
// Frames go in in their order; restart() before decoding from a key frame
// again. Only the last decoded picture is converted, when asked for, so
// frames passed on the way to another cost no conversion. One thread at a
// time.

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

    // Feeds one frame's data; false when no picture came of it.
    bool decode(const uint8_t *data, size_t size);
    // The last picture that decoded (null before any, or in a format it
    // cannot convert), whatever failed since.
    QImage lastPicture() const;
    // Forgets earlier frames, so the next one must be a key frame; the
    // last picture stays.
    void restart();

private:
    // A new decoder, with the codec's set-up data when it has some.
    void open(const uint8_t *extradata, size_t size);
    // AVC frames come wrapped: a set-up packet re-opens the decoder with
    // its data; pictures are unwrapped. False when nothing is left to
    // decode.
    bool unwrapAvc(const uint8_t *&data, size_t &size);

    VideoCodec codec_;
    int width_, height_, deblocking_;
    AVCodecContext *context_ = nullptr;
    AVPacket *packet_ = nullptr;
    AVFrame *frame_ = nullptr;      // the last picture that decoded
    AVFrame *received_ = nullptr;
};

// Whether a frame's data starts a picture that needs no earlier frame;
// never for AVC, whose frames AvcPacket tells apart.
bool IsVideoKeyFrame(VideoCodec codec, const uint8_t *data, size_t size);

// An AVC frame as VideoFrame carries it: perhaps the byte of frame type
// and codec that heads a video tag in an FLV file, then the packet type,
// a 24-bit composition time and the packet's data: the decoder's set-up
// record, or pictures as NAL units, each after its length.
struct AvcPacket {
    enum class Type { Setup, Pictures, Other };
    static constexpr int kDefaultLengthSize = 4;

    // `lengthSize`: the bytes of each NAL unit's length, as the stream's
    // last set-up record states.
    AvcPacket(const uint8_t *data, size_t size, int lengthSize = kDefaultLengthSize);

    Type type = Type::Other;
    // Pictures that need no earlier frame: the frame type says so, or
    // without one, an instantaneous refresh picture is among them.
    bool key = false;
    const uint8_t *data = nullptr;
    size_t size = 0;

    // What a set-up record states for the packets after it.
    int lengthSize() const;
};

}  // namespace swf
