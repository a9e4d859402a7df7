#include "swf/timeline/framesounds.h"

#include "swf/media/soundcharacter.h"
#include "swf/timeline/button.h"
#include "swf/timeline/playercontext.h"
#include "swf/timeline/timeline.h"
#include "swf/timeline/timelinestate.h"

namespace swf {

SoundMixer::Clips SoundClipsOf(const TimelineState *timeline)
{
    SoundMixer::Clips clips;
    for (; timeline; timeline = timeline->parent())
        clips.push_back(timeline);
    return clips;
}

namespace {

void StartStream(const SoundStream &stream, int frame, SoundMixer &mixer, const TimelineState *owner)
{
    const int64_t start = stream.blockStart(frame);
    if (start < 0)
        return;
    // A stream that runs on from an earlier frame stays; one that started
    // later (the timeline has looped) starts again here. At no frames a
    // second the stream's frame is the one it started at.
    const int playingFrom = mixer.streamFrame(owner, 0);
    if (playingFrom >= 0 && playingFrom <= frame)
        return;
    mixer.startStream(stream, SoundClipsOf(owner), start, frame);
}

}  // namespace

void StartFrameSounds(const Timeline &timeline, int frame, PlayerContext &context, const TimelineState *owner,
                      const Dictionary *dictionary)
{
    if (!context.sounds)
        return;
    const Dictionary &sounds = dictionary ? *dictionary : context.dictionary;
    for (const StartSoundCommand &command : timeline.frame(frame).sounds) {
        if (const auto *sound = sounds.findAs<SoundCharacter>(command.soundId))
            context.sounds->startEvent(*sound, command.soundId, command.info, SoundClipsOf(owner));
    }
    if (timeline.stream)
        StartStream(*timeline.stream, frame, *context.sounds, owner);
}

void StartButtonSound(const ButtonSounds &sounds, uint16_t transition, PlayerContext &context,
                      const TimelineState *holder)
{
    // The four sounds are for roll out, roll over, press and release.
    static constexpr uint16_t kTransitions[4] = {kOverUpToIdle, kIdleToOverUp, kOverUpToOverDown, kOverDownToOverUp};
    if (!context.sounds)
        return;
    for (int i = 0; i < 4; ++i) {
        const StartSoundCommand &change = sounds.changes[i];
        if (kTransitions[i] != transition || change.soundId == 0)
            continue;
        if (const auto *sound = context.dictionary.findAs<SoundCharacter>(change.soundId))
            context.sounds->startEvent(*sound, change.soundId, change.info, SoundClipsOf(holder));
    }
}

void StopTimelineStream(PlayerContext &context, const void *owner)
{
    if (context.sounds)
        context.sounds->stopStream(owner);
}

void ForgetTimelineSounds(PlayerContext &context, const TimelineState *timeline)
{
    StopTimelineStream(context, timeline);
    // A silent player's mixer holds the stream too, paused.
    if (context.mixer) {
        context.mixer->stopStream(timeline);
        context.mixer->forgetClip(timeline);
    }
}

}  // namespace swf
