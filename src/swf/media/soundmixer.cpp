#include "swf/media/soundmixer.h"

#include <algorithm>
#include <cmath>

namespace swf {

namespace {

constexpr int kFullLevel = 32768;

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

}  // namespace

SoundMixer::SoundMixer(std::shared_ptr<const void> keepAlive) : keepAlive_(std::move(keepAlive)) {}

void SoundMixer::stopWhere(std::vector<Voice> &voices, uint16_t soundId, const void *owner)
{
    voices.erase(std::remove_if(voices.begin(), voices.end(),
                                [&](const Voice &v) { return v.soundId == soundId && v.owner == owner; }),
                 voices.end());
}

void SoundMixer::startEvent(const SoundSource &sound, uint16_t soundId, const SoundInfo &info)
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
    voices_.push_back(std::move(voice));
}

void SoundMixer::startStream(const SoundSource &stream, const void *owner, int64_t position, int frame)
{
    std::lock_guard<std::mutex> lock(mutex_);
    stopWhere(voices_, 0, owner);
    if (int(voices_.size()) >= kMostVoices)
        return;
    Voice voice;
    voice.source = &stream;
    voice.owner = owner;
    voice.begin = voice.position = std::max<int64_t>(0, position);
    voice.startFrame = frame;
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

bool SoundMixer::mixVoice(Voice &voice, int32_t *sum, int frames)
{
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
            to[2 * i] += from[2 * i] * left / kFullLevel;
            to[2 * i + 1] += from[2 * i + 1] * right / kFullLevel;
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
                                     [&](Voice &v) { return v.source->isDecoded() && !mixVoice(v, sum.data(), frames); }),
                      voices_.end());
    }
    for (size_t i = 0; i < sum.size(); ++i)
        out[i] = int16_t(std::clamp<int32_t>(sum[i], INT16_MIN, INT16_MAX));
}

}  // namespace swf
