#pragma once
// A button (DefineButton, DefineButton2). Without mouse interaction a
// button shows its up state, so the character keeps only the up-state
// records, as a one-frame timeline that places them; a placed button then
// runs like a stopped one-frame sprite (sprites inside it still animate).

#include "swf/characters/character.h"
#include "swf/characters/definetags.h"
#include "swf/media/soundinfo.h"
#include "swf/timeline/timeline.h"

namespace swf {

class ButtonCharacter : public Character {
public:
    ButtonCharacter(uint16_t id, Timeline upState) : Character(id), upState_(std::move(upState)) {}

    const Timeline &upState() const { return upState_; }

    // DefineButtonCxform: a colour transform for every record of a
    // DefineButton (the first version has none of its own).
    void setColorTransform(const ColorTransform &cx);

    // DefineButtonSound: what the button plays as the mouse changes its
    // state.
    const ButtonSounds &sounds() const { return sounds_; }
    void setSounds(ButtonSounds sounds) { sounds_ = std::move(sounds); }

    void render(RenderContext &, const Matrix &, const ColorTransform &, uint16_t) const override {}

private:
    Timeline upState_;
    ButtonSounds sounds_;
};

void DefineButtonTag(Tag tag, DefineContext &ctx);        // 7, 34
void DefineButtonCxformTag(Tag tag, DefineContext &ctx);  // 23
void DefineButtonSoundTag(Tag tag, DefineContext &ctx);   // 17

}  // namespace swf
