#include "swf/avm1/scriptfocus.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/broadcaster.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/characters/textfieldcharacter.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

TextFieldCharacter *FieldOf(Object *object)
{
    auto *field = dynamic_cast<TextFieldObject *>(object);
    return field ? field->field() : nullptr;
}

Value ValueOf(Object *object) { return object ? Value(object) : Value::null(); }

}  // namespace

bool ScriptFocus::takesFocus(Object *object) const
{
    if (FieldOf(object))
        return true;
    auto *clip = dynamic_cast<ClipObject *>(object);
    if (!clip || !clip->state())
        return false;
    for (const char *name : {"focusEnabled", "tabEnabled"})
        if (machine_.toBoolean(machine_.get(clip, name)))
            return true;
    return actsAsButton && actsAsButton(*clip->state());
}

Object *ScriptFocus::current() const { return takesFocus(focus_) ? focus_ : nullptr; }

bool ScriptFocus::setFocus(Object *object)
{
    if (object && !takesFocus(object))
        return false;
    moveTo(object);
    return true;
}

void ScriptFocus::moveTo(Object *object)
{
    Object *old = current();
    focus_ = object;
    begin_ = 0;
    end_ = fieldLength();
    if (old == object)
        return;
    if (old && machine_.get(old, "onKillFocus").isObject())
        machine_.callMethod(Value(old), "onKillFocus", Args({ValueOf(object)}));
    if (object && machine_.get(object, "onSetFocus").isObject())
        machine_.callMethod(Value(object), "onSetFocus", Args({ValueOf(old)}));
    const Value selection = machine_.get(machine_.global, "Selection");
    if (selection.isObject())
        Broadcast(machine_, selection, "onSetFocus", Args({ValueOf(old), ValueOf(object)}));
}

int ScriptFocus::fieldLength() const
{
    const TextFieldCharacter *field = FieldOf(focus_);
    return field ? field->content().text().size() : 0;
}

int ScriptFocus::beginIndex() const { return FieldOf(current()) ? std::min(begin_, fieldLength()) : -1; }
int ScriptFocus::endIndex() const { return FieldOf(current()) ? std::min(end_, fieldLength()) : -1; }

void ScriptFocus::setSelection(double begin, double end)
{
    if (!FieldOf(current()))
        return;
    const double length = fieldLength();
    const auto clampIndex = [length](double index) {
        return std::isfinite(index) ? int(std::clamp(std::trunc(index), 0.0, length)) : 0;
    };
    begin_ = clampIndex(begin);
    end_ = clampIndex(end);
    if (begin_ > end_)
        std::swap(begin_, end_);
}

void ScriptFocus::collectReferences(std::vector<Object *> &out) const
{
    if (focus_)
        out.push_back(focus_);
}

ScriptFocus *FocusOf(Object *selection)
{
    return selection ? dynamic_cast<ScriptFocus *>(selection->native.get()) : nullptr;
}

}  // namespace swf::avm1
