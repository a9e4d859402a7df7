#pragma once
// Which object of the movie has the keyboard focus, as Selection shows it:
// a text field, or a clip that may take it (focusEnabled, tabEnabled, or
// one that acts as a button). A change tells the object that loses the focus
// (onKillFocus), the one that gains it (onSetFocus), then Selection's
// listeners (onSetFocus(old, new)). A focused text field keeps a selection
// of its text. An object that left the stage or stopped taking the focus
// no longer has it. The Selection object keeps it; the player's thread.

#include <functional>
#include <vector>

#include "swf/avm1/object.h"

namespace swf {
class TimelineState;
}

namespace swf::avm1 {

class Machine;

class ScriptFocus : public NativeState {
public:
    explicit ScriptFocus(Machine &machine) : machine_(machine) {}

    // Whether a clip takes the mouse as a button does; without it only
    // focusEnabled lets a clip have the focus.
    std::function<bool(TimelineState &)> actsAsButton;

    // Null when nothing has the focus, or what had it cannot any more.
    Object *current() const;
    bool takesFocus(Object *object) const;
    // Null takes the focus away. False (and nothing changes) for an
    // object that cannot have it.
    bool setFocus(Object *object);
    // Tab (Shift+Tab backwards): the next object in tab order among those
    // on `root` takes the focus.
    void tab(TimelineState &root, bool backwards);

    // The selection of the focused text field, in characters; -1 without one.
    int beginIndex() const;
    int endIndex() const;
    void setSelection(double begin, double end);

    void collectReferences(std::vector<Object *> &out) const override;

private:
    int fieldLength() const;
    void moveTo(Object *object);

    Machine &machine_;
    Object *focus_ = nullptr;
    int begin_ = 0;
    int end_ = 0;
};

// The focus the Selection object keeps; null for any other object.
ScriptFocus *FocusOf(Object *selection);
void InstallSelectionObject(Machine &machine);

}  // namespace swf::avm1
