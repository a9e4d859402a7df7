#pragma once
// Mixes the sounds one player plays into 44.1 kHz stereo: event sounds
// started by frames (with their in and out points, loops and envelopes)
// and the stream sound of each timeline that has one, at most 32 at once.
//
// The player's thread starts and stops sounds; a sound output thread (or
// swfrender, on the player's thread) pulls samples with mix(). A mutex
// guards the voices; sounds are decoded on the thread that mixes, outside
// the lock, so starting a sound never waits for a decoder. The mixer keeps
// alive whatever its sounds' data lives in (the movie), so an output that
// outlives its player still mixes safely (silence, once the player has
// stopped everything).

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "swf/media/pcmbuffer.h"
#include "swf/media/soundinfo.h"

namespace swf {

// How loud a clip's sounds play in each ear: the share (0..1, or more
// where two shares add up) of the sound's left and right channels in the
// left and right outputs, the volume folded in.
struct SoundLevels {
    double leftToLeft = 1, rightToLeft = 0, rightToRight = 1, leftToRight = 0;

    // What `inner` sounds like once these levels apply to its output.
    SoundLevels around(const SoundLevels &inner) const;
    bool operator==(const SoundLevels &other) const;
};

class SoundMixer {
public:
    static constexpr int kMostVoices = 32;

    explicit SoundMixer(std::shared_ptr<const void> keepAlive = nullptr);

    // The clip that starts a sound and the clips it is placed in, innermost
    // first: their levels, and the movie's, apply while the sound plays.
    using Clips = std::vector<const void *>;

    // An event sound; `info` may stop the sound's copies instead, or skip
    // starting when one plays. Ignored when 32 sounds already play.
    void startEvent(const SoundSource &sound, uint16_t soundId, const SoundInfo &info, Clips clips = {});
    // The stream of the timeline `clips.front()`, from 44.1 kHz frame
    // `position`, which belongs to timeline frame `frame`. Replaces the
    // timeline's stream.
    void startStream(const SoundSource &stream, Clips clips, int64_t position, int frame);
    void stopStream(const void *owner);

    // The levels of the sounds of `clip` and of the clips inside it (null:
    // of the whole movie), heard from the next mixed block on, by the
    // sounds already playing too.
    void setLevels(const void *clip, const SoundLevels &levels);
    // A clip that is gone: its levels go, and its sounds that play on
    // keep only the levels of the clips around it.
    void forgetClip(const void *clip);
    void stopAll();
    // A paused mixer gives silence and keeps every sound where it was.
    void setPaused(bool paused);

    // Where the stream of `owner` says its timeline should be: the frame
    // it started at plus the frames its played samples span at
    // `framesPerSecond`; -1 when the owner has no stream playing.
    int streamFrame(const void *owner, double framesPerSecond) const;
    int voiceCount() const;

    // Fills `frames` stereo frames of `out` (interleaved) and moves every
    // sound on by as much; sounds that end are dropped.
    void mix(int16_t *out, int frames);

private:
    struct Voice {
        const SoundSource *source = nullptr;
        uint16_t soundId = 0;
        const void *owner = nullptr;  // the timeline of a stream, else null
        Clips clips;
        int64_t position = 0;         // next frame of the decoded sound
        int64_t begin = 0;            // where every loop starts
        int64_t end = -1;             // where every loop ends; -1: at the end
        int loopsLeft = 1;
        int64_t played = 0;           // frames played over all loops
        std::vector<SoundInfo::EnvelopePoint> envelope;
        int startFrame = 0;           // streams: the timeline frame at `begin`
    };

    void decodeWaitingSounds();
    SoundLevels levelsOf(const Voice &voice) const;
    // Adds the voice's next frames to `sum` at `levels`; false once it has
    // ended.
    static bool mixVoice(Voice &voice, const SoundLevels &levels, int32_t *sum, int frames);
    static void stopWhere(std::vector<Voice> &voices, uint16_t soundId, const void *owner);

    std::shared_ptr<const void> keepAlive_;
    mutable std::mutex mutex_;
    std::vector<Voice> voices_;
    std::unordered_map<const void *, SoundLevels> clipLevels_;
    SoundLevels movieLevels_;
    bool paused_ = false;
};

}  // namespace swf
