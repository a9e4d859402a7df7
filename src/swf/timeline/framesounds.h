#pragma once
// The sounds a timeline starts as it shows a frame: the frame's event
// sounds, and its stream sound from the frame's block on when the stream
// is not already playing there. Used by TimelineState on its player's
// thread; silent when the player's context has no mixer.

#include <cstdint>

namespace swf {

class Dictionary;
class Timeline;
struct PlayerContext;
struct ButtonSounds;

// `dictionary`: a loaded movie's own, when not the player's.
void StartFrameSounds(const Timeline &timeline, int frame, PlayerContext &context, const void *owner,
                      const Dictionary *dictionary = nullptr);
// The sound DefineButtonSound gives a button's state change, if any.
void StartButtonSound(const ButtonSounds &sounds, uint16_t transition, PlayerContext &context);
// A goto, or the timeline's end: its stream stops.
void StopTimelineStream(PlayerContext &context, const void *owner);

}  // namespace swf
