// Speex sounds: a movie stores their 20 ms frames back to back, and each
// must reach the decoder on its own for the whole sound to be heard. The
// frames are made here with FFmpeg's Speex encoder at every quality.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
}

#include "soundbuilder.h"
#include "swf/media/soundcharacter.h"
#include "swf/media/speexframes.h"
#include "swf/moviedefinition.h"

using namespace swftest;

namespace {

constexpr int kSpeexRate = 16000;
constexpr int kFrameSamples = 320;
// Codec 11, the rate and size bits as writers set them (the codec fixes
// its own rate).
constexpr uint8_t kSpeexFlags = 0xb2;

// `count` frames of a tone at `quality` (0 to 10), each as the encoder
// packs it; empty when this FFmpeg has no Speex encoder.
std::vector<QByteArray> EncodeTone(int quality, int count)
{
    std::vector<QByteArray> frames;
    const AVCodec *codec = avcodec_find_encoder_by_name("libspeex");
    AVCodecContext *context = codec ? avcodec_alloc_context3(codec) : nullptr;
    if (!context)
        return frames;
    context->sample_rate = kSpeexRate;
    context->sample_fmt = AV_SAMPLE_FMT_S16;
    av_channel_layout_default(&context->ch_layout, 1);
    AVDictionary *options = nullptr;
    av_dict_set_int(&options, "cbr_quality", quality, 0);
    AVFrame *frame = av_frame_alloc();
    AVPacket *packet = av_packet_alloc();
    if (avcodec_open2(context, codec, &options) == 0) {
        frame->nb_samples = context->frame_size;
        frame->format = context->sample_fmt;
        av_channel_layout_copy(&frame->ch_layout, &context->ch_layout);
        av_frame_get_buffer(frame, 0);
        int t = 0;
        for (int i = 0; i <= count; ++i) {
            auto *samples = reinterpret_cast<int16_t *>(frame->data[0]);
            for (int k = 0; k < frame->nb_samples; ++k, ++t)
                samples[k] = int16_t(9000 * std::sin(t * 0.07));
            frame->pts = int64_t(i) * frame->nb_samples;
            avcodec_send_frame(context, i < count ? frame : nullptr);
            while (avcodec_receive_packet(context, packet) == 0) {
                frames.emplace_back(reinterpret_cast<const char *>(packet->data), packet->size);
                av_packet_unref(packet);
            }
        }
    }
    av_dict_free(&options);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&context);
    return frames;
}

QByteArray Joined(const std::vector<QByteArray> &frames)
{
    QByteArray all;
    for (const QByteArray &frame : frames)
        all += frame;
    return all;
}

std::vector<swf::SpeexFrame> Split(const QByteArray &data)
{
    return swf::SplitSpeexFrames(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()));
}

}  // namespace

TEST(Speex, FramesOfEveryQualityAreFoundWhereTheEncoderEndedThem)
{
    for (int quality = 0; quality <= 10; ++quality) {
        SCOPED_TRACE(quality);
        const std::vector<QByteArray> frames = EncodeTone(quality, 12);
        if (frames.empty())
            GTEST_SKIP() << "this FFmpeg has no Speex encoder";
        const std::vector<swf::SpeexFrame> found = Split(Joined(frames));
        ASSERT_EQ(found.size(), frames.size());
        size_t offset = 0;
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(found[i].offset, offset);
            EXPECT_EQ(found[i].size, size_t(frames[i].size()));
            offset += size_t(frames[i].size());
        }
    }
}

TEST(Speex, AOneSecondSoundDecodesWhole)
{
    const std::vector<QByteArray> frames = EncodeTone(8, kSpeexRate / kFrameSamples);
    if (frames.empty())
        GTEST_SKIP() << "this FFmpeg has no Speex encoder";
    SwfBuilder b(10, {0, 2000, 0, 2000}, 12, 1);
    b.tag(kDefineSoundTag, DefineSoundBody(1, kSpeexFlags, kSpeexRate, Joined(frames))).showFrame();
    const auto movie = swf::LoadMovieFromBytes(b.bytes());
    ASSERT_TRUE(movie);
    const auto *sound = movie->dictionary.findAs<swf::SoundCharacter>(1);
    ASSERT_NE(sound, nullptr);
    const swf::PcmBuffer &pcm = sound->pcm();
    EXPECT_EQ(pcm.rejectedPackets, 0);
    EXPECT_NEAR(double(pcm.sourceFrames), kSpeexRate, 2 * kFrameSamples);
    const auto loudest = std::max_element(pcm.samples.begin(), pcm.samples.end());
    ASSERT_NE(loudest, pcm.samples.end());
    EXPECT_GT(*loudest, 3000) << "the tone decoded as silence";
}

TEST(Speex, CutAndHostileDataEndTheFramesWithoutReadingPastThem)
{
    const QByteArray whole = Joined(EncodeTone(5, 6));
    if (whole.isEmpty())
        GTEST_SKIP() << "this FFmpeg has no Speex encoder";
    for (int cut = 0; cut < whole.size(); cut += 7) {
        const QByteArray part = whole.left(cut);
        for (const swf::SpeexFrame &frame : Split(part))
            EXPECT_LE(frame.offset + frame.size, size_t(part.size()));
    }
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        QByteArray noise(int(random() % 300), 0);
        for (char &c : noise)
            c = char(random());
        for (const swf::SpeexFrame &frame : Split(noise))
            EXPECT_LE(frame.offset + frame.size, size_t(noise.size()));
    }
    const QByteArray terminated = whole.left(42) + QByteArray(1, char(0x7f)) + whole.mid(42);
    EXPECT_EQ(Split(terminated).size(), 6u) << "a terminator byte between frames is skipped";
}
