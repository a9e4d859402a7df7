#pragma once
// A button (DefineButton, DefineButton2): the pictures of its three shown
// states (up, over, down) as one-frame timelines that place the state's
// records, the records of its hit area, and its action records with the
// transitions and keys that fire them. A placed button runs the timeline
// of the state the mouse gives it like a stopped one-frame sprite (sprites
// inside it still animate); until the mouse comes it shows the up state.
// Immutable after loading, shared by every player of the movie.

#include <QByteArray>
#include <vector>

#include "swf/characters/character.h"
#include "swf/characters/definetags.h"
#include "swf/media/soundinfo.h"
#include "swf/timeline/frameaction.h"
#include "swf/timeline/timeline.h"

namespace swf {

enum class ButtonPicture : uint8_t { Up, Over, Down };

// The transitions of a button's state machine, as the bits of an action
// record's conditions name them. The key code sits above them.
enum ButtonTransition : uint16_t {
    kIdleToOverUp = 0x0001,       // roll over
    kOverUpToIdle = 0x0002,       // roll out
    kOverUpToOverDown = 0x0004,   // press
    kOverDownToOverUp = 0x0008,   // release
    kOverDownToOutDown = 0x0010,  // drag out
    kOutDownToOverDown = 0x0020,  // drag over
    kOutDownToIdle = 0x0040,      // release outside
    kIdleToOverDown = 0x0080,     // drag over, menu buttons
    kOverDownToIdle = 0x0100,     // drag out, menu buttons
};

// One condition record: its action bytes as stored, for a script engine,
// and the actions among them that need none.
struct ButtonActionRecord {
    uint16_t conditions = 0;
    QByteArray actions;
    std::vector<FrameAction> simpleActions;

    bool firesOn(ButtonTransition transition) const { return conditions & transition; }
    // The key that fires the record (1..19 for the special keys, else the
    // character's code), 0 for none.
    int keyCode() const { return conditions >> 9; }
};

class ButtonCharacter : public Character {
public:
    struct Definition {
        Timeline pictures[3];                  // by ButtonPicture
        std::vector<DisplayCommand> hitArea;   // records of the hit test state
        std::vector<ButtonActionRecord> actions;
        // A menu button takes a press that began elsewhere and lets go of
        // one that leaves it.
        bool trackAsMenu = false;
    };

    ButtonCharacter(uint16_t id, Definition definition) : Character(id), def_(std::move(definition)) {}

    const Timeline &picture(ButtonPicture state) const { return def_.pictures[int(state)]; }
    const Timeline &upState() const { return picture(ButtonPicture::Up); }
    const std::vector<DisplayCommand> &hitArea() const { return def_.hitArea; }
    const std::vector<ButtonActionRecord> &actions() const { return def_.actions; }
    bool trackAsMenu() const { return def_.trackAsMenu; }

    // DefineButtonCxform: a colour transform for every record of a
    // DefineButton (the first version has none of its own).
    void setColorTransform(const ColorTransform &cx);

    // DefineButtonSound: what the button plays as the mouse changes its
    // state.
    const ButtonSounds &sounds() const { return sounds_; }
    void setSounds(ButtonSounds sounds) { sounds_ = std::move(sounds); }

    void render(RenderContext &, const Matrix &, const ColorTransform &, uint16_t) const override {}

private:
    Definition def_;
    ButtonSounds sounds_;
};

void DefineButtonTag(Tag tag, DefineContext &ctx);        // 7, 34
void DefineButtonCxformTag(Tag tag, DefineContext &ctx);  // 23
void DefineButtonSoundTag(Tag tag, DefineContext &ctx);   // 17

}  // namespace swf
