#include "swf/media/soundrecorder.h"

#include <QSaveFile>
#include <QtEndian>
#include <cmath>

#include "swf/media/soundmixer.h"

namespace swf {

namespace {

constexpr double kRateForZero = 12.0;
// Twenty minutes: a recording that would take more memory stops there.
constexpr int64_t kMostFrames = int64_t(PcmBuffer::kRate) * 60 * 20;

void AppendU32(QByteArray &out, uint32_t value)
{
    const uint32_t le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), 4);
}

void AppendU16(QByteArray &out, uint16_t value)
{
    const uint16_t le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), 2);
}

QByteArray WavHeader(uint32_t dataBytes)
{
    constexpr int kChannels = PcmBuffer::kChannels, kBits = 16;
    QByteArray header("RIFF");
    AppendU32(header, 36 + dataBytes);
    header.append("WAVEfmt ");
    AppendU32(header, 16);
    AppendU16(header, 1);  // plain PCM
    AppendU16(header, kChannels);
    AppendU32(header, PcmBuffer::kRate);
    AppendU32(header, PcmBuffer::kRate * kChannels * kBits / 8);
    AppendU16(header, kChannels * kBits / 8);
    AppendU16(header, kBits);
    header.append("data");
    AppendU32(header, dataBytes);
    return header;
}

}  // namespace

SoundRecorder::SoundRecorder(std::shared_ptr<SoundMixer> mixer, double frameRate)
    : mixer_(std::move(mixer)),
      framesPerMovieFrame_(PcmBuffer::kRate / (frameRate > 0 ? frameRate : kRateForZero))
{
}

void SoundRecorder::recordFrame()
{
    owed_ += framesPerMovieFrame_;
    const int64_t frames = int64_t(std::floor(owed_));
    owed_ -= double(frames);
    if (frames <= 0 || frameCount() + frames > kMostFrames)
        return;
    const size_t before = samples_.size();
    samples_.resize(before + size_t(frames) * PcmBuffer::kChannels);
    mixer_->mix(samples_.data() + before, int(frames));
}

bool SoundRecorder::writeWav(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray data = WavHeader(uint32_t(samples_.size() * sizeof(int16_t)));
    for (const int16_t sample : samples_)
        AppendU16(data, uint16_t(sample));
    return file.write(data) == data.size() && file.commit();
}

}  // namespace swf
