#include "player/mixerdevice.h"

#include <algorithm>
#include <cstring>

#include "swf/media/soundmixer.h"

namespace {

constexpr qint64 kBytesPerFrame = swf::PcmBuffer::kChannels * sizeof(int16_t);
// One read mixes at most this much (about 0.19 s), whatever the sink asks.
constexpr qint64 kMostFramesPerRead = 8192;

}  // namespace

TMixerDevice::TMixerDevice(std::shared_ptr<swf::SoundMixer> mixer, QObject *parent)
    : QIODevice(parent), mixer_(std::move(mixer))
{
}

qint64 TMixerDevice::bytesAvailable() const
{
    return kMostFramesPerRead * kBytesPerFrame + QIODevice::bytesAvailable();
}

qint64 TMixerDevice::readData(char *data, qint64 maxSize)
{
    const qint64 frames = std::min(maxSize / kBytesPerFrame, kMostFramesPerRead);
    if (frames <= 0)
        return 0;
    buffer_.resize(size_t(frames) * swf::PcmBuffer::kChannels);
    mixer_->mix(buffer_.data(), int(frames));
    std::memcpy(data, buffer_.data(), size_t(frames * kBytesPerFrame));
    return frames * kBytesPerFrame;
}

qint64 TMixerDevice::writeData(const char *, qint64)
{
    return -1;
}
