#include "swf/media/audiodecoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "swf/media/quietffmpeg.h"
#include "swf/media/speexframes.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace swf {

namespace {

AVCodecID CodecId(const SoundFormat &format)
{
    switch (format.codec) {
    case SoundCodec::PcmNativeEndian:
    case SoundCodec::PcmLittleEndian:
        return format.sixteenBit ? AV_CODEC_ID_PCM_S16LE : AV_CODEC_ID_PCM_U8;
    case SoundCodec::Adpcm:
        return AV_CODEC_ID_ADPCM_SWF;
    case SoundCodec::Mp3:
        return AV_CODEC_ID_MP3;
    case SoundCodec::Nellymoser16k:
    case SoundCodec::Nellymoser8k:
    case SoundCodec::Nellymoser:
        return AV_CODEC_ID_NELLYMOSER;
    case SoundCodec::G711ALaw:
        return AV_CODEC_ID_PCM_ALAW;
    case SoundCodec::G711MuLaw:
        return AV_CODEC_ID_PCM_MULAW;
    case SoundCodec::Speex:
        return AV_CODEC_ID_SPEEX;
    }
    return AV_CODEC_ID_NONE;
}

}  // namespace

AudioDecoder::AudioDecoder(const SoundFormat &format) : format_(format)
{
    QuietenFfmpeg();
    const AVCodec *codec = avcodec_find_decoder(CodecId(format));
    if (!codec)
        return;
    context_ = avcodec_alloc_context3(codec);
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    if (!context_ || !packet_ || !frame_) {
        avcodec_free_context(&context_);
        return;
    }
    context_->sample_rate = format.rate;
    av_channel_layout_default(&context_->ch_layout, format.channels());
    if (avcodec_open2(context_, codec, nullptr) < 0) {
        avcodec_free_context(&context_);
        return;
    }
    if (format.codec == SoundCodec::Mp3)
        parser_ = av_parser_init(AV_CODEC_ID_MP3);
}

AudioDecoder::~AudioDecoder()
{
    av_parser_close(parser_);
    swr_free(&converter_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&context_);
}

size_t AudioDecoder::chunkSize() const
{
    constexpr size_t kFramesPerChunk = 4096;
    constexpr size_t kNellymoserBlock = 64;
    const size_t channels = size_t(format_.channels());
    switch (format_.codec) {
    case SoundCodec::PcmNativeEndian:
    case SoundCodec::PcmLittleEndian:
        return kFramesPerChunk * channels * (format_.sixteenBit ? 2 : 1);
    case SoundCodec::G711ALaw:
    case SoundCodec::G711MuLaw:
        return kFramesPerChunk * channels;
    case SoundCodec::Nellymoser16k:
    case SoundCodec::Nellymoser8k:
    case SoundCodec::Nellymoser:
        return kNellymoserBlock * 64;
    default:
        return 0;
    }
}

void AudioDecoder::decode(const uint8_t *data, size_t size, PcmBuffer &out)
{
    if (!context_ || !data || size == 0 || out.frameCount() >= PcmBuffer::kMostFrames)
        return;
    if (parser_)
        decodeParsed(data, size, out);
    else if (format_.codec == SoundCodec::Speex)
        decodeSpeex(data, size, out);
    else
        decodeChunked(data, size, out);
}

void AudioDecoder::decodeChunked(const uint8_t *data, size_t size, PcmBuffer &out)
{
    const size_t chunk = chunkSize();
    while (size > 0 && out.frameCount() < PcmBuffer::kMostFrames) {
        const size_t part = chunk ? std::min(chunk, size) : size;
        sendPacket(data, part, out);
        data += part;
        size -= part;
    }
}

void AudioDecoder::decodeSpeex(const uint8_t *data, size_t size, PcmBuffer &out)
{
    for (const SpeexFrame &frame : SplitSpeexFrames(data, size)) {
        if (out.frameCount() >= PcmBuffer::kMostFrames)
            return;
        sendPacket(data + frame.offset, frame.size, out);
    }
}

void AudioDecoder::decodeParsed(const uint8_t *data, size_t size, PcmBuffer &out)
{
    // The parser may read a little past the end of what it is given.
    std::vector<uint8_t> padded(size + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    std::memcpy(padded.data(), data, size);
    const uint8_t *at = padded.data();
    while (size > 0 && out.frameCount() < PcmBuffer::kMostFrames) {
        uint8_t *frameData = nullptr;
        int frameSize = 0;
        const int used = av_parser_parse2(parser_, context_, &frameData, &frameSize, at, int(size),
                                          AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
        if (used <= 0 && frameSize <= 0)
            break;
        at += used;
        size -= size_t(std::max(used, 0));
        if (frameSize > 0)
            sendPacket(frameData, size_t(frameSize), out);
    }
}

void AudioDecoder::sendPacket(const uint8_t *data, size_t size, PcmBuffer &out)
{
    if (size > size_t(INT32_MAX) - AV_INPUT_BUFFER_PADDING_SIZE || av_new_packet(packet_, int(size)) < 0)
        return;
    std::memcpy(packet_->data, data, size);
    if (avcodec_send_packet(context_, packet_) < 0)
        ++out.rejectedPackets;
    av_packet_unref(packet_);
    receiveFrames(out);
}

void AudioDecoder::receiveFrames(PcmBuffer &out)
{
    while (avcodec_receive_frame(context_, frame_) == 0) {
        out.sourceFrames += frame_->nb_samples;
        if (openConverter())
            convert(const_cast<const uint8_t *const *>(frame_->extended_data), frame_->nb_samples, out);
    }
}

bool AudioDecoder::openConverter()
{
    if (converter_ || converterFailed_)
        return converter_ != nullptr;
    AVChannelLayout input;
    if (frame_->ch_layout.nb_channels > 0)
        av_channel_layout_copy(&input, &frame_->ch_layout);
    else
        av_channel_layout_default(&input, format_.channels());
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    const int inputRate = frame_->sample_rate > 0 ? frame_->sample_rate : format_.rate;
    const int made = swr_alloc_set_opts2(&converter_, &stereo, AV_SAMPLE_FMT_S16, PcmBuffer::kRate, &input,
                                         AVSampleFormat(frame_->format), inputRate, 0, nullptr);
    const bool mono = input.nb_channels == 1;
    av_channel_layout_uninit(&input);
    // A mono sound plays at full level on both sides, not lowered as a
    // centre speaker's share would be.
    static const double kMonoToBoth[2] = {1.0, 1.0};
    if (made >= 0 && mono)
        swr_set_matrix(converter_, kMonoToBoth, 1);
    if (made < 0 || swr_init(converter_) < 0) {
        swr_free(&converter_);
        converterFailed_ = true;
    }
    return converter_ != nullptr;
}

void AudioDecoder::convert(const uint8_t *const *input, int inputFrames, PcmBuffer &out)
{
    const int room = int(std::min<int64_t>(swr_get_out_samples(converter_, inputFrames),
                                           PcmBuffer::kMostFrames - out.frameCount()));
    if (room <= 0)
        return;
    const size_t before = out.samples.size();
    out.samples.resize(before + size_t(room) * PcmBuffer::kChannels);
    uint8_t *target = reinterpret_cast<uint8_t *>(out.samples.data() + before);
    const int made = swr_convert(converter_, &target, room, const_cast<const uint8_t **>(input), inputFrames);
    out.samples.resize(before + size_t(std::max(made, 0)) * PcmBuffer::kChannels);
}

void AudioDecoder::finish(PcmBuffer &out)
{
    if (!context_)
        return;
    if (parser_ && out.frameCount() < PcmBuffer::kMostFrames) {
        uint8_t *frameData = nullptr;
        int frameSize = 0;
        av_parser_parse2(parser_, context_, &frameData, &frameSize, nullptr, 0, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
        if (frameSize > 0)
            sendPacket(frameData, size_t(frameSize), out);
    }
    if (avcodec_send_packet(context_, nullptr) == 0)
        receiveFrames(out);
    if (converter_)
        convert(nullptr, 0, out);
}

}  // namespace swf
