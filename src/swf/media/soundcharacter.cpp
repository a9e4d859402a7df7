#include "swf/media/soundcharacter.h"

#include <algorithm>
#include <memory>

#include "swf/media/audiodecoder.h"

namespace swf {

SoundCharacter::SoundCharacter(uint16_t id, const SoundFormat &format, uint32_t sampleCount,
                               const uint8_t *data, size_t size)
    : Character(id), format_(format), sampleCount_(sampleCount), data_(data), size_(size)
{
}

void SoundCharacter::decodeInto(PcmBuffer &out) const
{
    SwfReader r(data_, size_);
    // MP3 data starts with the frames the encoder's delay added; they are
    // decoded and then dropped.
    int64_t delayFrames = 0;
    if (format_.codec == SoundCodec::Mp3)
        delayFrames = std::max<int16_t>(0, r.s16());
    AudioDecoder decoder(format_);
    decoder.decode(r.current(), r.remaining(), out);
    decoder.finish(out);
    out.sourceFrames = std::max<int64_t>(0, out.sourceFrames - delayFrames);
    const int64_t drop = std::min(out.frameCount(), delayFrames * PcmBuffer::kRate / format_.rate);
    out.samples.erase(out.samples.begin(), out.samples.begin() + drop * PcmBuffer::kChannels);
    out.samples.shrink_to_fit();
}

void DefineSoundTag(Tag tag, DefineContext &ctx)
{
    SwfReader &r = tag.body;
    const uint16_t id = r.u16();
    const SoundFormat format = SoundFormat::fromFlags(r.u8());
    const uint32_t sampleCount = r.u32();
    if (r.overrun() || !ctx.budget.reserve(sizeof(SoundCharacter)))
        return;
    ctx.dictionary.add(std::make_shared<SoundCharacter>(id, format, sampleCount, r.current(), r.remaining()));
}

}  // namespace swf
