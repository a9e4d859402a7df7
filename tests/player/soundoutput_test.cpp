// The players' sound output without a sound device: the mixer's samples as
// the sink would read them, and an output that stays silent and quick
// where it may not open a device.

#include <gtest/gtest.h>

#include "player/mixerdevice.h"
#include "player/soundoutput.h"
#include "swf/media/soundmixer.h"

namespace {

// A sound of `frames` stereo frames of one level, decoded at once.
class ConstantSound : public swf::SoundSource {
public:
    ConstantSound(int frames, int16_t level) : frames_(frames), level_(level) {}

protected:
    void decodeInto(swf::PcmBuffer &out) const override
    {
        out.samples.assign(size_t(frames_) * 2, level_);
        out.sourceFrames = frames_;
    }

private:
    int frames_;
    int16_t level_;
};

}  // namespace

TEST(SoundOutput, DeviceReadsTheMixWholeFramesAtATime)
{
    const ConstantSound sound(100, 500);
    auto mixer = std::make_shared<swf::SoundMixer>();
    mixer->startEvent(sound, 1, swf::SoundInfo());
    TMixerDevice device(mixer);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));

    const QByteArray first = device.read(4 * 60 + 3);  // a partial frame is left for later
    ASSERT_EQ(first.size(), 4 * 60);
    EXPECT_EQ(reinterpret_cast<const int16_t *>(first.constData())[0], 500);
    const QByteArray rest = device.read(4 * 60);
    ASSERT_EQ(rest.size(), 4 * 60);
    EXPECT_EQ(reinterpret_cast<const int16_t *>(rest.constData())[2 * 39], 500);
    EXPECT_EQ(reinterpret_cast<const int16_t *>(rest.constData())[2 * 40], 0);  // the sound has ended
    EXPECT_GT(device.bytesAvailable(), 0);  // and silence goes on
}

TEST(SoundOutput, WithoutADeviceStaysSilentAndStopsTheMixerWhenDestroyed)
{
    ASSERT_FALSE(TSoundOutput::deviceAllowed()) << "tests must never open the sound device";
    const ConstantSound sound(100, 500);
    auto mixer = std::make_shared<swf::SoundMixer>();
    mixer->startEvent(sound, 1, swf::SoundInfo());
    {
        TSoundOutput output(mixer);
        EXPECT_FALSE(output.isPlaying());
    }
    EXPECT_EQ(mixer->voiceCount(), 0);
}
