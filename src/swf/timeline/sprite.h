#pragma once
// A sprite (DefineSprite): a character with a timeline of its own. The
// character holds the parsed timeline only; every placed copy gets its own
// TimelineState, which the display renderer draws.

#include "swf/characters/character.h"
#include "swf/timeline/timeline.h"

namespace swf {

class SpriteCharacter : public Character {
public:
    SpriteCharacter(uint16_t id, Timeline timeline) : Character(id), timeline_(std::move(timeline)) {}

    const Timeline &timeline() const { return timeline_; }

    // Drawn through its placed state, never as a leaf.
    void render(RenderContext &, const Matrix &, const ColorTransform &, uint16_t) const override {}

private:
    Timeline timeline_;
};

}  // namespace swf
