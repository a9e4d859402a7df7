#pragma once
// What every timeline of one player shares: the movie's dictionary, the
// script host, and the limits that keep a hostile movie (a sprite that
// places itself, a tree that doubles at every level) from making a player
// grow without end. Owned by the player, used on its thread.

#include <QPointF>
#include <cstddef>

#include "swf/characters/dictionary.h"
#include "swf/media/soundmixer.h"
#include "swf/timeline/scripthost.h"
#include "swf/timeline/scriptmasks.h"

namespace swf {

class TimelineState;

struct PlayerContext {
    // Objects alive in all display lists of the player together.
    static constexpr size_t kObjectLimit = 50000;
    // Sprites inside sprites.
    static constexpr int kNestingLimit = 32;
    // From this SWF version on a placement refuses a taken depth.
    static constexpr int kOccupiedDepthRefusedFrom = 6;

    explicit PlayerContext(const Dictionary &dict) : dictionary(dict) {}

    const Dictionary &dictionary;
    // The movie's SWF version, where the rules of placing differ.
    int movieVersion = 0;
    size_t liveObjects = 0;
    // Where frames start their sounds; null while the host wants silence.
    SoundMixer *sounds = nullptr;
    // The player's mixer, silent or not: where the clips' sound settings
    // go, so they hold when sound comes on.
    SoundMixer *mixer = nullptr;
    // Runs the frame's scripts; null in a player without scripts.
    ScriptHost *scripts = nullptr;
    // Every running timeline, newest first: each tick steps them in this
    // order, so a clip moves on before the clips older than it.
    TimelineState *newestTimeline = nullptr;
    // Placed sprites without a name are called "instance1", "instance2"...
    int unnamedClips = 0;
    ScriptMasks masks;
    // Where the pointer was last seen, in stage twips.
    QPointF mouse;
};

}  // namespace swf
