#pragma once
// The text fields of one player that scripts can reach: a field placed by
// a timeline gets its own TextFieldCharacter and its script object the
// first time a script (or its variable) needs it; createTextField makes
// both at once. Fields with a variable are kept in step with it: placed
// fields start their variable, and the text shown follows the variable
// before and after each tick's scripts. One player's thread.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "swf/format/types.h"

namespace swf {
class TextFieldCharacter;
class TimelineState;
struct DisplayObject;
}  // namespace swf

namespace swf::avm1 {

class ClipBinding;
class Machine;
class Object;
class TextFieldObject;

class TextFieldRegistry {
public:
    TextFieldRegistry(Machine &machine, ClipBinding &binding) : machine_(machine), binding_(binding) {}

    // The object of the field `object` shows (placed in `parent`); null
    // when it shows no text field.
    TextFieldObject *objectFor(TimelineState &parent, DisplayObject &object);
    // A new empty field at a script depth of `parent`, `box` in twips;
    // null when the depth is out of range or the player is full.
    TextFieldObject *create(TimelineState &parent, const std::string &name, double depth, const Rect &box);

    // The variables of every bound field under `root` and the text they
    // show brought in step.
    void syncVariables(TimelineState &root);
    // The objects of fields still shown, for the collector; forgets the rest.
    void addRoots(std::vector<Object *> &roots);

private:
    void collectBound(TimelineState &state, int nesting, std::vector<TextFieldObject *> &out);

    Machine &machine_;
    ClipBinding &binding_;
    std::unordered_map<const TextFieldCharacter *, TextFieldObject *> objects_;
};

}  // namespace swf::avm1
