#pragma once
// Decoded sound, ready for the mixer: 16-bit samples, stereo interleaved,
// at the mixer's rate of 44,100 frames per second.
//
// SoundSource is what the mixer plays: a sound whose samples are decoded
// the first time anyone asks for them (loading a movie decodes nothing, so
// thumbnails never pay for sound), then kept. Definitions are shared
// between players and threads, so the first decode is guarded and every
// later call only reads.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace swf {

struct PcmBuffer {
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;
    // No sound is decoded past this many frames (ten minutes), whatever
    // its data claims.
    static constexpr int64_t kMostFrames = int64_t(kRate) * 600;

    std::vector<int16_t> samples;  // left, right, left, right...
    // Frames at the sound's own rate that the decoder produced, before
    // resampling: what the sound's header promises to be there.
    int64_t sourceFrames = 0;
    // Packets the decoder refused; what they held is missing.
    int rejectedPackets = 0;

    int64_t frameCount() const { return int64_t(samples.size()) / kChannels; }
};

class SoundSource {
public:
    virtual ~SoundSource() = default;

    // The decoded samples; decodes on the first call (from any thread).
    const PcmBuffer &pcm() const
    {
        std::call_once(decoded_, [this] {
            decodeInto(pcm_);
            ready_ = true;
        });
        return pcm_;
    }
    // Whether pcm() would return at once.
    bool isDecoded() const { return ready_; }

protected:
    virtual void decodeInto(PcmBuffer &out) const = 0;

private:
    mutable std::once_flag decoded_;
    mutable PcmBuffer pcm_;
    mutable std::atomic<bool> ready_{false};
};

}  // namespace swf
