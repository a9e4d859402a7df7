#pragma once
// The stream sound of one timeline (the movie's or a sprite's): the format
// from its SoundStreamHead and the SoundStreamBlock of each frame that has
// one. The blocks stay in the movie's body until a player first plays the
// stream; then all of them are decoded in order as one sound. A frame's
// block starts where the stated sample counts of the blocks before it end,
// which is where the sound must be when that frame shows.
// Built by the loading thread, then read-only and shared.

#include <memory>
#include <vector>

#include "swf/format/swfreader.h"
#include "swf/media/pcmbuffer.h"
#include "swf/media/soundformat.h"

namespace swf {

class SoundStream : public SoundSource {
public:
    // What one block costs to keep, for the movie's memory budget.
    static constexpr size_t kBlockBytes = 32;

    SoundStream(const SoundFormat &format, uint16_t samplesPerBlock);

    // Tag codes 18 and 45; null when the body is too short.
    static std::shared_ptr<SoundStream> fromHead(SwfReader body);

    // Tag code 19 in timeline frame `frame` (frames come in order). Bytes
    // stay where they are.
    void addBlock(int frame, SwfReader body);

    const SoundFormat &format() const { return format_; }
    // The 44.1 kHz frame where the block of timeline frame `frame` starts;
    // -1 when that frame has no block.
    int64_t blockStart(int frame) const;
    // Frames at the stream's own rate that its blocks state together.
    int64_t statedSampleCount() const { return statedTotal_; }
    size_t blockCount() const { return blocks_.size(); }

protected:
    void decodeInto(PcmBuffer &out) const override;

private:
    struct Block {
        int frame = 0;
        const uint8_t *data = nullptr;
        size_t size = 0;
        int64_t firstSample = 0;  // at the stream's own rate
    };

    SoundFormat format_;
    uint16_t samplesPerBlock_;
    std::vector<Block> blocks_;
    int64_t statedTotal_ = 0;
};

}  // namespace swf
