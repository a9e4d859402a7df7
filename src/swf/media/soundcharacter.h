#pragma once
// An event sound (DefineSound): its format, the sample count its header
// states and its coded data, which stays in the movie's body (kept for the
// life of the movie) until a player first plays the sound and decodes it
// (see SoundSource). Never drawn. Shared by every player of the movie.

#include "swf/characters/character.h"
#include "swf/characters/definetags.h"
#include "swf/media/pcmbuffer.h"
#include "swf/media/soundformat.h"

namespace swf {

class SoundCharacter : public Character, public SoundSource {
public:
    SoundCharacter(uint16_t id, const SoundFormat &format, uint32_t sampleCount, const uint8_t *data,
                   size_t size);

    const SoundFormat &format() const { return format_; }
    // Frames at the sound's own rate, as the tag states.
    uint32_t statedSampleCount() const { return sampleCount_; }

    void render(RenderContext &, const Matrix &, const ColorTransform &, uint16_t) const override {}

protected:
    void decodeInto(PcmBuffer &out) const override;

private:
    SoundFormat format_;
    uint32_t sampleCount_;
    const uint8_t *data_;
    size_t size_;
};

void DefineSoundTag(Tag tag, DefineContext &ctx);  // 14

}  // namespace swf
