#pragma once
// What every timeline of one player shares: the movie's dictionary and the
// limits that keep a hostile movie (a sprite that places itself, a tree that
// doubles at every level, two frames that jump to each other) from making a
// player grow or loop without end. Owned by the player, used on its thread.

#include <cstddef>

#include "swf/characters/dictionary.h"
#include "swf/media/soundmixer.h"

namespace swf {

struct PlayerContext {
    // Objects alive in all display lists of the player together.
    static constexpr size_t kObjectLimit = 50000;
    // Sprites inside sprites.
    static constexpr int kNestingLimit = 32;
    // Gotos that frame actions may chain, each landing on a frame whose
    // actions jump again.
    static constexpr int kChainedGotoLimit = 16;

    explicit PlayerContext(const Dictionary &dict) : dictionary(dict) {}

    const Dictionary &dictionary;
    size_t liveObjects = 0;
    // Where frames start their sounds; null while the host wants silence.
    SoundMixer *sounds = nullptr;
};

}  // namespace swf
