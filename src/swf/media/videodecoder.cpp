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
// The byte an FLV file puts first: frame type (1 a key frame) and codec.
constexpr uint8_t kFlvAvcCodec = 7, kFlvKeyFrame = 1;
constexpr uint8_t kIdrPicture = 5;
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
// block has data needs nothing earlier. The second version adds a byte of
// flags to the header (an image or palette of its own, which no frame
// here carries) and to each block, whose data may instead change only some
// rows of the previous frame's block or start from its compressed state.
bool IsScreenVideoKeyFrame(const uint8_t *data, size_t size, bool version2)
{
    constexpr uint32_t kDiffBlock = 0x04, kPrimedByPrevious = 0x01;
    SwfReader r(data, size);
    const uint32_t blockWidth = (r.ub(4) + 1) * 16;
    const uint32_t width = r.ub(12);
    const uint32_t blockHeight = (r.ub(4) + 1) * 16;
    const uint32_t height = r.ub(12);
    const uint32_t blocks = ((width + blockWidth - 1) / blockWidth) * ((height + blockHeight - 1) / blockHeight);
    if (version2 && r.u8() != 0)
        return false;
    if (r.overrun() || blocks == 0)
        return false;
    for (uint32_t i = 0; i < blocks; ++i) {
        const uint32_t bytes = uint32_t(r.u8()) << 8 | r.u8();
        if (bytes == 0 || r.overrun())
            return false;
        if (version2 && (r.u8() & (kDiffBlock | kPrimedByPrevious)))
            return false;
        r.skip(bytes - (version2 ? 1 : 0));
    }
    return !r.overrun();
}

// Whether the NAL units (each after a big-endian length of `lengthSize`
// bytes) hold an instantaneous refresh picture.
bool HasIdrPicture(const uint8_t *data, size_t size, int lengthSize)
{
    size_t at = 0;
    while (at + size_t(lengthSize) < size) {
        size_t length = 0;
        for (int i = 0; i < lengthSize; ++i)
            length = length << 8 | data[at++];
        if (length == 0 || length > size - at)
            return false;
        if ((data[at] & 0x1f) == kIdrPicture)
            return true;
        at += length;
    }
    return false;
}

}  // namespace

AvcPacket::AvcPacket(const uint8_t *from, size_t bytes, int lengthSize)
{
    int frameType = 0;
    if (bytes > 0 && (from[0] & 0x0f) == kFlvAvcCodec) {
        frameType = from[0] >> 4;
        ++from;
        --bytes;
    }
    if (bytes < kAvcPacketHeader)
        return;
    data = from + kAvcPacketHeader;
    size = bytes - kAvcPacketHeader;
    if (from[0] == kAvcSequenceHeader) {
        type = Type::Setup;
    } else if (from[0] == kAvcPictures) {
        type = Type::Pictures;
        key = frameType ? frameType == kFlvKeyFrame : HasIdrPicture(data, size, lengthSize);
    }
}

int AvcPacket::lengthSize() const
{
    // The fifth byte of the record ends in the length's size less one.
    constexpr size_t kLengthSizeByte = 4;
    return type == Type::Setup && size > kLengthSizeByte ? (data[kLengthSizeByte] & 3) + 1 : kDefaultLengthSize;
}

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
    case VideoCodec::ScreenVideo2:
        return IsScreenVideoKeyFrame(data, size, codec == VideoCodec::ScreenVideo2);
    case VideoCodec::Avc:
        return false;  // see AvcFrameOf
    }
    return false;
}

VideoDecoder::VideoDecoder(VideoCodec codec, int width, int height, int deblocking)
    : codec_(codec), width_(width), height_(height), deblocking_(deblocking)
{
    QuietenFfmpeg();
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    received_ = av_frame_alloc();
    open(nullptr, 0);
}

void VideoDecoder::open(const uint8_t *extradata, size_t size)
{
    avcodec_free_context(&context_);
    const AVCodec *found = avcodec_find_decoder(CodecId(codec_));
    if (!found || !packet_ || !frame_ || !received_ || size > (1 << 20) || !(context_ = avcodec_alloc_context3(found)))
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
    const AvcPacket packet(data, size);
    data = packet.data;
    size = packet.size;
    if (packet.type == AvcPacket::Type::Setup)
        open(data, size);
    return packet.type == AvcPacket::Type::Pictures;
}

VideoDecoder::~VideoDecoder()
{
    av_frame_free(&received_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&context_);
}

void VideoDecoder::restart()
{
    if (context_)
        avcodec_flush_buffers(context_);
}

bool VideoDecoder::decode(const uint8_t *data, size_t size)
{
    if (codec_ == VideoCodec::Avc && !unwrapAvc(data, size))
        return false;
    if (!context_ || size == 0 || size > size_t(INT32_MAX) - AV_INPUT_BUFFER_PADDING_SIZE
        || av_new_packet(packet_, int(size)) < 0)
        return false;
    std::memcpy(packet_->data, data, size);
    const int sent = avcodec_send_packet(context_, packet_);
    av_packet_unref(packet_);
    if (sent < 0)
        return false;
    bool pictured = false;
    while (avcodec_receive_frame(context_, received_) == 0) {
        av_frame_unref(frame_);
        av_frame_move_ref(frame_, received_);
        pictured = true;
    }
    return pictured;
}

QImage VideoDecoder::lastPicture() const
{
    return frame_ && frame_->data[0] ? PictureFromVideoFrame(*frame_) : QImage();
}

}  // namespace swf
