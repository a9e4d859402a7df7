#pragma once
// Which object of the movie has the keyboard focus, as Selection shows it:
// a text field, a button, or a clip. A change tells the object that loses
// the focus (onKillFocus), the one that gains it (onSetFocus), then
// Selection's listeners (onSetFocus(old, new)). A focused text field keeps
// a selection of its text. The focus goes (and they all hear of it) when a
// script removes or hides the focused object; an object that left the
// stage any other way quietly stops having it. The Selection object keeps
// it; the player's thread.
//
// The focused object is highlighted (the player draws a rectangle around
// it) from the moment Tab or a script gives it the focus until the mouse
// is used. Whether it gets a rectangle at all is its own _focusrect as it
// was when it gained the focus or, without one, the movie's as it is now.

#include <functional>
#include <optional>
#include <vector>

#include "swf/avm1/object.h"
#include "swf/characters/fieldediting.h"

namespace swf {
class TimelineState;
}

namespace swf::avm1 {

class ClipObject;
class Machine;

class ScriptFocus : public NativeState {
public:
    explicit ScriptFocus(Machine &machine) : machine_(machine) {}

    // Whether a clip takes the mouse as a button does; without it only
    // focusEnabled lets a script give a clip the focus.
    std::function<bool(TimelineState &)> actsAsButton;
    // The keyboard moves the focus onto (`over`) or off a clip or button:
    // it hears a roll over or out, as from the mouse.
    std::function<void(TimelineState &, bool over)> rolled;

    // Null when nothing has the focus, or what had it left the stage.
    Object *current() const;
    // Selection.setFocus: a text field, a button, or a clip that acts as a
    // button or asks for the focus (focusEnabled). Null takes the focus
    // away. False (and nothing changes) for an object that cannot have it.
    bool setFocus(Object *object);
    // Tab (Shift+Tab backwards): the next object in tab order among those
    // on `root` takes the focus.
    void tab(TimelineState &root, bool backwards);

    // The player's window lost the keyboard: the focus goes.
    void windowLost() { moveTo(nullptr, false, true); }
    // A script hides `object` or takes it off the stage: when it has the
    // focus, the focus goes.
    void lose(Object *object);
    // A script takes the clip `timeline` off the stage, with what it holds.
    void loseWithin(const TimelineState &timeline);

    // The mouse was used: the highlight goes until the focus moves again.
    void mouseUsed() { highlighted_ = false; }
    // The focused object while it shows a rectangle; null otherwise.
    Object *highlighted() const;

    // _focusrect of a clip or button. Up to SWF 5, and on the top of a
    // level, it is the movie's own; later a clip's own value, while set,
    // overrides it.
    Value focusRect(const ClipObject &clip) const;
    void setFocusRect(ClipObject &clip, const Value &value);

    // The selection of the focused text field, in characters; -1 without one.
    int beginIndex() const;
    int endIndex() const;
    void setSelection(double begin, double end);
    // The focused field's selection with the caret at its end, as typing
    // moves it.
    FieldSelection fieldSelection() const { return {begin_, end_}; }
    void setFieldSelection(const FieldSelection &selection);
    // A click on a text field: it takes the focus (not highlighted) with
    // the caret at `caret`.
    void clickField(Object *field, int caret);

    void collectReferences(std::vector<Object *> &out) const override;

private:
    bool acceptsFocus(Object *object) const;
    // The focus goes to `object` (null for none), highlighted or not;
    // `byKeyboard`, the objects it leaves and reaches hear a roll.
    void moveTo(Object *object, bool highlighted, bool byKeyboard = false);
    void roll(Object *object, bool over);
    std::optional<bool> ownRectangle(Object *object) const;
    bool setsMoviesRect(const ClipObject &clip) const;
    int fieldLength() const;

    Machine &machine_;
    Object *focus_ = nullptr;
    bool highlighted_ = false;
    std::optional<bool> ownRectangle_;
    bool moviesRect_ = true;
    int begin_ = 0;
    int end_ = 0;
};

// The focus the Selection object keeps; null for any other object.
ScriptFocus *FocusOf(Object *selection);
// `object` is hidden or taken off the stage by a script.
void DropFocusFrom(Machine &machine, Object *object);
void InstallSelectionObject(Machine &machine);

}  // namespace swf::avm1
