#include "swf/media/videodecoder.h"

#include <cstring>

#include "swf/format/swfreader.h"
#include "swf/media/quietffmpeg.h"
#include "swf/media/videopicture.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace swf {

namespace {

constexpr int kDeblockingOff = 1;
// An AVC frame starts with its packet type and a 24-bit composition time.
constexpr size_t kAvcPacketHeader = 4;
constexpr uint8_t kAvcSequenceHeader = 0, kAvcPictures = 1;
// VP6 with alpha puts the 24-bit offset of its alpha data first.
constexpr size_t kAlphaOffsetBytes = 3;

AVCodecID CodecId(VideoCodec codec)
{
    switch (codec) {
    case VideoCodec::SorensonH263:
        return AV_CODEC_ID_FLV1;
    case VideoCodec::ScreenVideo:
        return AV_CODEC_ID_FLASHSV;
    case VideoCodec::Vp6:
        return AV_CODEC_ID_VP6F;
    case VideoCodec::Vp6Alpha:
        return AV_CODEC_ID_VP6A;
    case VideoCodec::ScreenVideo2:
        return AV_CODEC_ID_FLASHSV2;
    case VideoCodec::Avc:
        return AV_CODEC_ID_H264;
    }
    return AV_CODEC_ID_NONE;
}

// Sorenson H.263: after the 17-bit start code, 5 bits of version and 8 of
// time, a 3-bit size code (0 and 1 add an 8 or 16-bit width and height),
// then the picture type, 0 for a key frame.
bool IsH263KeyFrame(const uint8_t *data, size_t size)
{
    SwfReader r(data, size);
    r.ub(17 + 5 + 8);
    const uint32_t sizeCode = r.ub(3);
    if (sizeCode == 0)
        r.ub(16);
    else if (sizeCode == 1)
        r.ub(32);
    return !r.overrun() && r.ub(2) == 0 && !r.overrun();
}

// Screen video: the picture's size in blocks, then every block's data; a
// block of no bytes keeps the previous frame's, so a frame where every
// block has data needs nothing earlier.
bool IsScreenVideoKeyFrame(const uint8_t *data, size_t size)
{
    SwfReader r(data, size);
    const uint32_t blockWidth = (r.ub(4) + 1) * 16;
    const uint32_t width = r.ub(12);
    const uint32_t blockHeight = (r.ub(4) + 1) * 16;
    const uint32_t height = r.ub(12);
    const uint32_t blocks = ((width + blockWidth - 1) / blockWidth) * ((height + blockHeight - 1) / blockHeight);
    if (r.overrun() || blocks == 0)
        return false;
    for (uint32_t i = 0; i < blocks; ++i) {
        const uint32_t bytes = uint32_t(r.u8()) << 8 | r.u8();
        if (bytes == 0 || r.overrun())
            return false;
        r.skip(bytes);
    }
    return !r.overrun();
}

}  // namespace

bool IsVideoKeyFrame(VideoCodec codec, const uint8_t *data, size_t size)
{
    switch (codec) {
    case VideoCodec::SorensonH263:
        return IsH263KeyFrame(data, size);
    case VideoCodec::Vp6:
        return size > 0 && (data[0] & 0x80) == 0;
    case VideoCodec::Vp6Alpha:
        return size > kAlphaOffsetBytes && (data[kAlphaOffsetBytes] & 0x80) == 0;
    case VideoCodec::ScreenVideo:
        return IsScreenVideoKeyFrame(data, size);
    default:
        // The second screen video and AVC say nothing simple; only the
        // first frame counts as a starting point.
        return false;
    }
}

VideoDecoder::VideoDecoder(VideoCodec codec, int width, int height, int deblocking)
    : codec_(codec), width_(width), height_(height), deblocking_(deblocking)
{
    QuietenFfmpeg();
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    open(nullptr, 0);
}

void VideoDecoder::open(const uint8_t *extradata, size_t size)
{
    avcodec_free_context(&context_);
    const AVCodec *found = avcodec_find_decoder(CodecId(codec_));
    if (!found || !packet_ || !frame_ || size > (1 << 20) || !(context_ = avcodec_alloc_context3(found)))
        return;
    context_->width = width_;
    context_->height = height_;
    context_->thread_count = 1;
    if (deblocking_ == kDeblockingOff)
        context_->skip_loop_filter = AVDISCARD_ALL;
    if (size > 0) {
        context_->extradata = static_cast<uint8_t *>(av_mallocz(size + AV_INPUT_BUFFER_PADDING_SIZE));
        if (context_->extradata) {
            std::memcpy(context_->extradata, extradata, size);
            context_->extradata_size = int(size);
        }
    }
    if (avcodec_open2(context_, found, nullptr) < 0)
        avcodec_free_context(&context_);
}

bool VideoDecoder::unwrapAvc(const uint8_t *&data, size_t &size)
{
    if (size < kAvcPacketHeader)
        return false;
    const uint8_t type = data[0];
    data += kAvcPacketHeader;
    size -= kAvcPacketHeader;
    if (type == kAvcSequenceHeader)
        open(data, size);
    return type == kAvcPictures;
}

VideoDecoder::~VideoDecoder()
{
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&context_);
}

void VideoDecoder::restart()
{
    if (context_)
        avcodec_flush_buffers(context_);
}

QImage VideoDecoder::decode(const uint8_t *data, size_t size, bool wantPicture)
{
    if (codec_ == VideoCodec::Avc && !unwrapAvc(data, size))
        return {};
    if (!context_ || size == 0 || size > size_t(INT32_MAX) - AV_INPUT_BUFFER_PADDING_SIZE
        || av_new_packet(packet_, int(size)) < 0)
        return {};
    std::memcpy(packet_->data, data, size);
    const int sent = avcodec_send_packet(context_, packet_);
    av_packet_unref(packet_);
    if (sent < 0)
        return {};
    QImage image;
    while (avcodec_receive_frame(context_, frame_) == 0) {
        if (wantPicture)
            image = PictureFromVideoFrame(*frame_);
    }
    return image;
}

}  // namespace swf
