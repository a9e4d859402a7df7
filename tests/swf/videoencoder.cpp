#include "videoencoder.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace swftest {

namespace {

// BT.601, limited range, as the engine converts back.
void FillFlat(AVFrame &frame, const QColor &c)
{
    const int r = c.red(), g = c.green(), b = c.blue();
    const int y = 16 + (66 * r + 129 * g + 25 * b + 128) / 256;
    const int u = 128 + (-38 * r - 74 * g + 112 * b + 128) / 256;
    const int v = 128 + (112 * r - 94 * g - 18 * b + 128) / 256;
    for (int row = 0; row < frame.height; ++row)
        memset(frame.data[0] + row * frame.linesize[0], y, size_t(frame.width));
    for (int row = 0; row < frame.height / 2; ++row) {
        memset(frame.data[1] + row * frame.linesize[1], u, size_t(frame.width / 2));
        memset(frame.data[2] + row * frame.linesize[2], v, size_t(frame.width / 2));
    }
}

void Drain(AVCodecContext *context, AVPacket *packet, std::vector<QByteArray> &out)
{
    while (avcodec_receive_packet(context, packet) == 0) {
        out.emplace_back(reinterpret_cast<const char *>(packet->data), packet->size);
        av_packet_unref(packet);
    }
}

}  // namespace

EncodedVideo EncodeFlatFrames(bool avc, const std::vector<QColor> &colours, int width, int height, int keyInterval)
{
    EncodedVideo video;
    std::vector<QByteArray> &out = video.frames;
    const AVCodec *codec = avcodec_find_encoder(avc ? AV_CODEC_ID_H264 : AV_CODEC_ID_FLV1);
    AVCodecContext *context = codec ? avcodec_alloc_context3(codec) : nullptr;
    if (!context)
        return video;
    if (avc)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    context->width = width;
    context->height = height;
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->time_base = AVRational{1, 12};
    context->gop_size = keyInterval;
    context->max_b_frames = 0;
    AVFrame *frame = av_frame_alloc();
    AVPacket *packet = av_packet_alloc();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width;
    frame->height = height;
    if (avcodec_open2(context, codec, nullptr) == 0 && av_frame_get_buffer(frame, 0) == 0) {
        video.setup = QByteArray(reinterpret_cast<const char *>(context->extradata), context->extradata_size);
        for (size_t i = 0; i < colours.size(); ++i) {
            av_frame_make_writable(frame);
            FillFlat(*frame, colours[i]);
            frame->pts = int64_t(i);
            avcodec_send_frame(context, frame);
            Drain(context, packet, out);
        }
        avcodec_send_frame(context, nullptr);
        Drain(context, packet, out);
    }
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&context);
    return video;
}

}  // namespace swftest
