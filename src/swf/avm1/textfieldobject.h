#pragma once
// A text field as scripts see it. It stands for the field of one display
// object, whose own TextFieldCharacter it changes; when the field leaves
// the display list the object answers like a plain one (its path stays).
// The field's properties (text, htmlText, border, _x...) are answered by
// the object itself, everything else is an ordinary property. A field with
// a variable shows that variable of its timeline: reading the text takes
// the variable's value first, writing it sets the variable too.

#include <QString>
#include <memory>
#include <string>

#include "swf/avm1/object.h"

namespace swf {
class TextFieldCharacter;
class TimelineState;
struct DisplayObject;
}  // namespace swf

namespace swf::avm1 {

class ClipBinding;
class ClipObject;
class Machine;

// Where a field's variable lives: "name", "clip.name", "/clip:name"...,
// read from the field's own timeline; no holder when there is none.
struct VariableSlot {
    Object *holder = nullptr;
    std::string name;
};

class TextFieldObject : public Object {
public:
    TextFieldObject(Object *proto, ClipBinding &binding, TimelineState *parent,
                    const std::shared_ptr<TextFieldCharacter> &field);

    // Null once the field has left the display list.
    TextFieldCharacter *field() const;
    DisplayObject *displayObject() const;
    TimelineState *parentState() const { return field() ? parent_ : nullptr; }
    ClipObject *parentClip() const;
    ClipBinding &binding() const { return binding_; }

    std::string name() const;
    std::string targetPath() const;
    int depth() const;  // as scripts number depths
    // removeTextField (and removeMovieClip called on a field).
    void removeFromParent();

    // The text after the variable has had its say; and set, with the
    // variable following.
    void pullVariable(Machine &machine);
    void setText(Machine &machine, const QString &text, bool html);
    // The field's text has changed some other way: the variable follows.
    void pushVariable(Machine &machine);

    Value getSpecial(Machine &machine, const std::string &name, bool &found) override;
    bool setSpecial(Machine &machine, const std::string &name, const Value &value) override;

private:
    VariableSlot boundSlot(Machine &machine) const;

    std::weak_ptr<TextFieldCharacter> field_;
    TimelineState *parent_;
    ClipBinding &binding_;
    std::string lastPath_;
};

}  // namespace swf::avm1
