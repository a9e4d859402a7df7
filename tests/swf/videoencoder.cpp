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
    case TestCodec::Avc:
        return AV_CODEC_ID_H264;
    }
    return AV_CODEC_ID_NONE;
}

void Drain(AVCodecContext *context, AVPacket *packet, EncodedVideo &out)
{
    while (avcodec_receive_packet(context, packet) == 0) {
        out.frames.emplace_back(reinterpret_cast<const char *>(packet->data), packet->size);
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
    const AVPixelFormat format = kind == TestCodec::ScreenVideo ? AV_PIX_FMT_BGR24 : AV_PIX_FMT_YUV420P;
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
        video.setup = QByteArray(reinterpret_cast<const char *>(context->extradata), context->extradata_size);
        for (size_t i = 0; i < colours.size(); ++i) {
            av_frame_make_writable(frame);
            if (format == AV_PIX_FMT_BGR24)
                FillBgr(*frame, colours[i]);
            else
                FillYuv(*frame, colours[i]);
            frame->pts = int64_t(i);
            avcodec_send_frame(context, frame);
            Drain(context, packet, video);
        }
        avcodec_send_frame(context, nullptr);
        Drain(context, packet, video);
    }
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&context);
    return video;
}

}  // namespace swftest
