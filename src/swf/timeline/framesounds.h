#pragma once
// The sounds a timeline starts as it shows a frame: the frame's event
// sounds, and its stream sound from the frame's block on when the stream
// is not already playing there. Used by TimelineState on its player's
// thread; silent when the player's context has no mixer.

#include <cstdint>

#include "swf/media/soundmixer.h"

namespace swf {

class Dictionary;
class Timeline;
class TimelineState;
struct PlayerContext;
struct ButtonSounds;

// The sounds belong to `owner`, whose clip's sound settings apply to them.
// `dictionary`: a loaded movie's own, when not the player's.
void StartFrameSounds(const Timeline &timeline, int frame, PlayerContext &context, const TimelineState *owner,
                      const Dictionary *dictionary = nullptr);
// The sound DefineButtonSound gives a button's state change, if any; it
// belongs to the timeline `holder` that holds the button.
void StartButtonSound(const ButtonSounds &sounds, uint16_t transition, PlayerContext &context,
                      const TimelineState *holder);
// A goto, or the timeline's end: its stream stops.
void StopTimelineStream(PlayerContext &context, const void *owner);
// A timeline that is gone: its stream stops and its sound settings go.
void ForgetTimelineSounds(PlayerContext &context, const TimelineState *timeline);
// `timeline` and the timelines it is placed in, innermost first: whose
// sound settings apply to the sounds it starts.
SoundMixer::Clips SoundClipsOf(const TimelineState *timeline);

}  // namespace swf
