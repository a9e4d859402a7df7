#pragma once
// The sounds a timeline starts as it shows a frame: the frame's event
// sounds, and its stream sound from the frame's block on when the stream
// is not already playing there. Used by TimelineState on its player's
// thread; silent when the player's context has no mixer.

namespace swf {

class Timeline;
struct PlayerContext;

void StartFrameSounds(const Timeline &timeline, int frame, PlayerContext &context, const void *owner);
// A goto, or the timeline's end: its stream stops.
void StopTimelineStream(PlayerContext &context, const void *owner);

}  // namespace swf
