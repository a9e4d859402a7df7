#include "videoencoder.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace swftest {

namespace {

// BT.601, limited range, as the engine converts back.
void FillYuv(AVFrame &frame, const QColor &c)
{
    const int r = c.red(), g = c.green(), b = c.blue();
    const int y = 16 + (66 * r + 129 * g + 25 * b + 128) / 256;
    const int u = 128 + (-38 * r - 74 * g + 112 * b + 128) / 256;
    const int v = 128 + (112 * r - 94 * g - 18 * b + 128) / 256;
    for (int row = 0; row < frame.height; ++row)
        memset(frame.data[0] + row * frame.linesize[0], row < frame.height / 2 ? y : 16, size_t(frame.width));
    for (int row = 0; row < frame.height / 2; ++row) {
        const bool top = row < frame.height / 4;
        memset(frame.data[1] + row * frame.linesize[1], top ? u : 128, size_t(frame.width / 2));
        memset(frame.data[2] + row * frame.linesize[2], top ? v : 128, size_t(frame.width / 2));
    }
}

void FillBgr(AVFrame &frame, const QColor &c)
{
    for (int row = 0; row < frame.height; ++row) {
        uint8_t *line = frame.data[0] + row * frame.linesize[0];
        const bool top = row < frame.height / 2;
        for (int x = 0; x < frame.width; ++x, line += 3) {
            line[0] = top ? uint8_t(c.blue()) : 0;
            line[1] = top ? uint8_t(c.green()) : 0;
            line[2] = top ? uint8_t(c.red()) : 0;
        }
    }
}

AVCodecID EncoderId(TestCodec codec)
{
    switch (codec) {
    case TestCodec::H263:
        return AV_CODEC_ID_FLV1;
    case TestCodec::ScreenVideo:
        return AV_CODEC_ID_FLASHSV;
    case TestCodec::ScreenVideo2:
        return AV_CODEC_ID_FLASHSV2;
    case TestCodec::Avc:
        return AV_CODEC_ID_H264;
    }
    return AV_CODEC_ID_NONE;
}

// The NAL units of data in start code form.
std::vector<QByteArray> NalUnits(const QByteArray &annexB)
{
    std::vector<QByteArray> units;
    const QByteArray startCode("\0\0\1", 3);
    int at = annexB.indexOf(startCode);
    while (at >= 0) {
        const int begin = at + 3;
        at = annexB.indexOf(startCode, begin);
        int end = at < 0 ? int(annexB.size()) : at;
        while (end > begin && annexB[end - 1] == '\0')
            --end;  // the four-byte start code's first zero
        units.push_back(annexB.mid(begin, end - begin));
    }
    return units;
}

QByteArray BigEndian(uint32_t value, int bytes)
{
    QByteArray out;
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char(value >> (8 * i)));
    return out;
}

QByteArray LengthPrefixed(const QByteArray &annexB)
{
    QByteArray out;
    for (const QByteArray &unit : NalUnits(annexB))
        out += BigEndian(uint32_t(unit.size()), 4) + unit;
    return out;
}

// The set-up record of one sequence and one picture parameter set, NAL
// lengths of four bytes.
QByteArray SetupRecord(const QByteArray &annexBHeaders)
{
    QByteArray sequence, picture;
    for (const QByteArray &unit : NalUnits(annexBHeaders)) {
        if (!unit.isEmpty() && (unit[0] & 0x1f) == 7)
            sequence = unit;
        else if (!unit.isEmpty() && (unit[0] & 0x1f) == 8)
            picture = unit;
    }
    if (sequence.size() < 4 || picture.isEmpty())
        return {};
    return QByteArray(1, '\1') + sequence.mid(1, 3) + char(0xff) + char(0xe1) + BigEndian(uint32_t(sequence.size()), 2)
           + sequence + char(1) + BigEndian(uint32_t(picture.size()), 2) + picture;
}

void Drain(TestCodec kind, AVCodecContext *context, AVPacket *packet, EncodedVideo &out)
{
    while (avcodec_receive_packet(context, packet) == 0) {
        out.frames.emplace_back(reinterpret_cast<const char *>(packet->data), packet->size);
        if (kind == TestCodec::Avc)
            out.frames.back() = LengthPrefixed(out.frames.back());
        out.keys.push_back(packet->flags & AV_PKT_FLAG_KEY);
        av_packet_unref(packet);
    }
}

}  // namespace

EncodedVideo EncodeFlatFrames(TestCodec kind, const std::vector<QColor> &colours, int width, int height,
                              int keyInterval)
{
    EncodedVideo video;
    const AVCodec *codec = avcodec_find_encoder(EncoderId(kind));
    const bool screen = kind == TestCodec::ScreenVideo || kind == TestCodec::ScreenVideo2;
    const AVPixelFormat format = screen ? AV_PIX_FMT_BGR24 : AV_PIX_FMT_YUV420P;
    AVCodecContext *context = codec ? avcodec_alloc_context3(codec) : nullptr;
    if (!context)
        return video;
    if (kind == TestCodec::Avc)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    context->width = width;
    context->height = height;
    context->pix_fmt = format;
    context->time_base = AVRational{1, 12};
    context->gop_size = keyInterval;
    context->max_b_frames = 0;
    AVFrame *frame = av_frame_alloc();
    AVPacket *packet = av_packet_alloc();
    frame->format = format;
    frame->width = width;
    frame->height = height;
    if (avcodec_open2(context, codec, nullptr) == 0 && av_frame_get_buffer(frame, 0) == 0) {
        if (kind == TestCodec::Avc)
            video.setup = SetupRecord(
                QByteArray(reinterpret_cast<const char *>(context->extradata), context->extradata_size));
        for (size_t i = 0; i < colours.size(); ++i) {
            av_frame_make_writable(frame);
            if (format == AV_PIX_FMT_BGR24)
                FillBgr(*frame, colours[i]);
            else
                FillYuv(*frame, colours[i]);
            frame->pts = int64_t(i);
            avcodec_send_frame(context, frame);
            Drain(kind, context, packet, video);
        }
        avcodec_send_frame(context, nullptr);
        Drain(kind, context, packet, video);
    }
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&context);
    return video;
}

}  // namespace swftest
