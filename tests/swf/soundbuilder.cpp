#include "soundbuilder.h"

#include "swf/media/soundrecorder.h"
#include "swf/movie.h"

namespace swftest {

QByteArray ConstantSamples(int count, int16_t value)
{
    BitWriter w;
    for (int i = 0; i < count; ++i)
        w.u16(uint16_t(value));
    return w.data();
}

QByteArray DefineSoundBody(uint16_t id, uint8_t formatFlags, uint32_t statedSamples, const QByteArray &data)
{
    BitWriter w;
    w.u16(id);
    w.u8(formatFlags);
    w.u32(statedSamples);
    w.bytes(data);
    return w.data();
}

QByteArray StartSoundBody(uint16_t id, const SoundInfoRecord &info)
{
    BitWriter w;
    w.u16(id);
    uint8_t flags = 0;
    flags |= info.stop ? 0x20 : 0;
    flags |= info.noMultiple ? 0x10 : 0;
    flags |= info.envelope.empty() ? 0 : 0x08;
    flags |= info.loops >= 0 ? 0x04 : 0;
    flags |= info.outPoint >= 0 ? 0x02 : 0;
    flags |= info.inPoint >= 0 ? 0x01 : 0;
    w.u8(flags);
    if (info.inPoint >= 0)
        w.u32(uint32_t(info.inPoint));
    if (info.outPoint >= 0)
        w.u32(uint32_t(info.outPoint));
    if (info.loops >= 0)
        w.u16(uint16_t(info.loops));
    if (!info.envelope.empty()) {
        w.u8(uint8_t(info.envelope.size()));
        for (const auto &point : info.envelope) {
            w.u32(point[0]);
            w.u16(uint16_t(point[1]));
            w.u16(uint16_t(point[2]));
        }
    }
    return w.data();
}

QByteArray StreamHeadBody(uint8_t formatFlags, uint16_t samplesPerBlock)
{
    BitWriter w;
    w.u8(formatFlags & 0x0f);
    w.u8(formatFlags);
    w.u16(samplesPerBlock);
    return w.data();
}

std::vector<int16_t> RecordSound(swf::MoviePlayer &player, int frames)
{
    player.setSoundEnabled(true);
    swf::SoundRecorder recorder(player.soundMixer(), player.header().frameRate);
    for (int shown = 0; shown < frames; ++shown) {
        if (shown > 0)
            player.advance();
        recorder.recordFrame();
    }
    return recorder.samples();
}

}  // namespace swftest
