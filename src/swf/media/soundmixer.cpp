#include "swf/media/soundmixer.h"

#include <algorithm>
#include <cmath>

namespace swf {

namespace {

constexpr int kFullLevel = 32768;
constexpr double kMostShare = 2;

// The envelope's left and right levels (0..32768) at played frame `at`:
// straight lines between its points, flat before the first and after the
// last.
void EnvelopeLevels(const std::vector<SoundInfo::EnvelopePoint> &envelope, int64_t at, int &left, int &right)
{
    left = right = kFullLevel;
    if (envelope.empty())
        return;
    const auto next = std::find_if(envelope.begin(), envelope.end(),
                                   [at](const SoundInfo::EnvelopePoint &p) { return int64_t(p.position) > at; });
    if (next == envelope.begin() || next == envelope.end()) {
        const SoundInfo::EnvelopePoint &p = next == envelope.end() ? envelope.back() : envelope.front();
        left = p.left;
        right = p.right;
        return;
    }
    const SoundInfo::EnvelopePoint &a = *(next - 1), &b = *next;
    const double t = double(at - a.position) / double(b.position - a.position);
    left = int(std::lround(a.left + (b.left - a.left) * t));
    right = int(std::lround(a.right + (b.right - a.right) * t));
}

// A level as a multiplier of kFullLevel.
int64_t Fixed(double level) { return std::llround(level * kFullLevel); }

}  // namespace

SoundLevels SoundLevels::around(const SoundLevels &inner) const
{
    SoundLevels out;
    out.leftToLeft = leftToLeft * inner.leftToLeft + rightToLeft * inner.leftToRight;
    out.rightToLeft = leftToLeft * inner.rightToLeft + rightToLeft * inner.rightToRight;
    out.leftToRight = leftToRight * inner.leftToLeft + rightToRight * inner.leftToRight;
    out.rightToRight = leftToRight * inner.rightToLeft + rightToRight * inner.rightToRight;
    return out;
}

bool SoundLevels::operator==(const SoundLevels &other) const
{
    return leftToLeft == other.leftToLeft && rightToLeft == other.rightToLeft && rightToRight == other.rightToRight
           && leftToRight == other.leftToRight;
}

SoundMixer::SoundMixer(std::shared_ptr<const void> keepAlive) : keepAlive_(std::move(keepAlive)) {}

void SoundMixer::stopWhere(std::vector<Voice> &voices, uint16_t soundId, const void *owner)
{
    voices.erase(std::remove_if(voices.begin(), voices.end(),
                                [&](const Voice &v) { return v.soundId == soundId && v.owner == owner; }),
                 voices.end());
}

void SoundMixer::startEvent(const SoundSource &sound, uint16_t soundId, const SoundInfo &info, Clips clips)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (info.stop) {
        stopWhere(voices_, soundId, nullptr);
        return;
    }
    const bool playing = std::any_of(voices_.begin(), voices_.end(),
                                     [&](const Voice &v) { return v.soundId == soundId && !v.owner; });
    if ((info.noMultiple && playing) || int(voices_.size()) >= kMostVoices)
        return;
    Voice voice;
    voice.source = &sound;
    voice.soundId = soundId;
    voice.begin = voice.position = info.hasInPoint ? info.inPoint : 0;
    voice.end = info.hasOutPoint ? int64_t(info.outPoint) : -1;
    voice.loopsLeft = std::max<int>(1, info.loops);
    voice.envelope = info.envelope;
    voice.clips = std::move(clips);
    voices_.push_back(std::move(voice));
}

void SoundMixer::startStream(const SoundSource &stream, Clips clips, int64_t position, int frame)
{
    const void *owner = clips.empty() ? nullptr : clips.front();
    std::lock_guard<std::mutex> lock(mutex_);
    stopWhere(voices_, 0, owner);
    if (int(voices_.size()) >= kMostVoices)
        return;
    Voice voice;
    voice.source = &stream;
    voice.owner = owner;
    voice.begin = voice.position = std::max<int64_t>(0, position);
    voice.startFrame = frame;
    voice.clips = std::move(clips);
    voices_.push_back(std::move(voice));
}

void SoundMixer::stopStream(const void *owner)
{
    if (!owner)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    stopWhere(voices_, 0, owner);
}

void SoundMixer::stopAll()
{
    std::lock_guard<std::mutex> lock(mutex_);
    voices_.clear();
}

void SoundMixer::setLevels(const void *clip, const SoundLevels &levels)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!clip)
        movieLevels_ = levels;
    else if (levels == SoundLevels())
        clipLevels_.erase(clip);
    else
        clipLevels_[clip] = levels;
}

void SoundMixer::forgetClip(const void *clip)
{
    std::lock_guard<std::mutex> lock(mutex_);
    clipLevels_.erase(clip);
    // Another clip made where this one was is not its parent.
    for (Voice &v : voices_)
        v.clips.erase(std::remove(v.clips.begin(), v.clips.end(), clip), v.clips.end());
}

SoundLevels SoundMixer::levelsOf(const Voice &voice) const
{
    SoundLevels levels;
    for (const void *clip : voice.clips) {
        const auto found = clipLevels_.find(clip);
        if (found != clipLevels_.end())
            levels = found->second.around(levels);
    }
    levels = movieLevels_.around(levels);
    // Shares that add up through many clips stay within what a sample can
    // carry.
    for (double *share : {&levels.leftToLeft, &levels.rightToLeft, &levels.rightToRight, &levels.leftToRight})
        *share = std::clamp(*share, 0.0, kMostShare);
    return levels;
}

void SoundMixer::setPaused(bool paused)
{
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = paused;
}

int SoundMixer::streamFrame(const void *owner, double framesPerSecond) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Voice &v : voices_) {
        if (v.owner == owner && owner)
            return v.startFrame + int(double(v.position - v.begin) * framesPerSecond / PcmBuffer::kRate);
    }
    return -1;
}

int SoundMixer::voiceCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return int(voices_.size());
}

void SoundMixer::decodeWaitingSounds()
{
    std::vector<const SoundSource *> waiting;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const Voice &v : voices_)
            if (!v.source->isDecoded())
                waiting.push_back(v.source);
    }
    for (const SoundSource *source : waiting)
        source->pcm();
}

bool SoundMixer::mixVoice(Voice &voice, const SoundLevels &levels, int32_t *sum, int frames)
{
    const int64_t leftToLeft = Fixed(levels.leftToLeft), rightToLeft = Fixed(levels.rightToLeft);
    const int64_t rightToRight = Fixed(levels.rightToRight), leftToRight = Fixed(levels.leftToRight);
    const PcmBuffer &pcm = voice.source->pcm();
    const int64_t end = voice.end >= 0 ? std::min(voice.end, pcm.frameCount()) : pcm.frameCount();
    int done = 0;
    while (done < frames) {
        if (voice.position >= end) {
            if (--voice.loopsLeft <= 0 || voice.begin >= end)
                return false;
            voice.position = voice.begin;
        }
        const int count = int(std::min<int64_t>(frames - done, end - voice.position));
        const int16_t *from = pcm.samples.data() + voice.position * PcmBuffer::kChannels;
        int32_t *to = sum + done * PcmBuffer::kChannels;
        for (int i = 0; i < count; ++i) {
            int left = kFullLevel, right = kFullLevel;
            EnvelopeLevels(voice.envelope, voice.played + i, left, right);
            const int64_t l = from[2 * i] * left / kFullLevel, r = from[2 * i + 1] * right / kFullLevel;
            to[2 * i] += int32_t((l * leftToLeft + r * rightToLeft) / kFullLevel);
            to[2 * i + 1] += int32_t((l * leftToRight + r * rightToRight) / kFullLevel);
        }
        voice.position += count;
        voice.played += count;
        done += count;
    }
    return true;
}

void SoundMixer::mix(int16_t *out, int frames)
{
    if (frames <= 0)
        return;
    // The movie stays while this mix reads its data, whatever the player
    // does meanwhile.
    const std::shared_ptr<const void> keepAlive = keepAlive_;
    decodeWaitingSounds();
    std::vector<int32_t> sum(size_t(frames) * PcmBuffer::kChannels, 0);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (paused_) {
            std::fill(out, out + sum.size(), int16_t(0));
            return;
        }
        // A sound started since the decode above waits for the next mix.
        voices_.erase(std::remove_if(voices_.begin(), voices_.end(),
                                     [&](Voice &v) {
                                         return v.source->isDecoded() && !mixVoice(v, levelsOf(v), sum.data(), frames);
                                     }),
                      voices_.end());
    }
    for (size_t i = 0; i < sum.size(); ++i)
        out[i] = int16_t(std::clamp<int32_t>(sum[i], INT16_MIN, INT16_MAX));
}

}  // namespace swf
