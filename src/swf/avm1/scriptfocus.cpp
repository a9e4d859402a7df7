#include "swf/avm1/scriptfocus.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/broadcaster.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/characters/textfieldcharacter.h"
#include "swf/timeline/button.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

// Clips have their own _focusrect from SWF 6 on.
constexpr int kOwnFocusRectVersion = 6;

TextFieldCharacter *FieldOf(Object *object)
{
    auto *field = dynamic_cast<TextFieldObject *>(object);
    return field ? field->field() : nullptr;
}

// The clip of a clip or button object still on the stage; null otherwise.
TimelineState *LiveState(Object *object)
{
    auto *clip = dynamic_cast<ClipObject *>(object);
    TimelineState *state = clip ? clip->state() : nullptr;
    return state && !state->isUnloading() ? state : nullptr;
}

bool IsButton(const TimelineState &state)
{
    return state.owner() && dynamic_cast<const ButtonCharacter *>(state.owner()->character);
}

// The timeline that holds `object`: a clip's parent, a field's clip.
const TimelineState *HolderOf(Object *object)
{
    if (auto *clip = dynamic_cast<ClipObject *>(object))
        return clip->state();
    if (auto *field = dynamic_cast<TextFieldObject *>(object))
        return field->parentState();
    return nullptr;
}

Value ValueOf(Object *object) { return object ? Value(object) : Value::null(); }

}  // namespace

bool ScriptFocus::acceptsFocus(Object *object) const
{
    if (FieldOf(object))
        return true;
    TimelineState *state = LiveState(object);
    if (!state)
        return false;
    return IsButton(*state) || machine_.toBoolean(machine_.get(object, "focusEnabled"))
           || (actsAsButton && actsAsButton(*state));
}

Object *ScriptFocus::current() const { return FieldOf(focus_) || LiveState(focus_) ? focus_ : nullptr; }

bool ScriptFocus::setFocus(Object *object)
{
    if (object && !acceptsFocus(object))
        return false;
    moveTo(object, true);
    return true;
}

void ScriptFocus::lose(Object *object)
{
    if (object && current() == object)
        moveTo(nullptr, false);
}

void ScriptFocus::loseWithin(const TimelineState &timeline)
{
    for (const TimelineState *state = HolderOf(current()); state; state = state->parent()) {
        if (state == &timeline) {
            moveTo(nullptr, false);
            return;
        }
    }
}

void ScriptFocus::moveTo(Object *object, bool highlighted, bool byKeyboard)
{
    Object *old = current();
    focus_ = object;
    highlighted_ = highlighted && object;
    ownRectangle_ = ownRectangle(object);
    begin_ = 0;
    end_ = fieldLength();
    if (old == object)
        return;
    if (byKeyboard) {
        roll(old, false);
        roll(object, true);
    }
    if (old && machine_.get(old, "onKillFocus").isObject())
        machine_.callMethod(Value(old), "onKillFocus", Args({ValueOf(object)}));
    if (object && machine_.get(object, "onSetFocus").isObject())
        machine_.callMethod(Value(object), "onSetFocus", Args({ValueOf(old)}));
    const Value selection = machine_.get(machine_.global, "Selection");
    if (selection.isObject())
        Broadcast(machine_, selection, "onSetFocus", Args({ValueOf(old), ValueOf(object)}));
}

void ScriptFocus::roll(Object *object, bool over)
{
    if (TimelineState *state = LiveState(object); state && rolled)
        rolled(*state, over);
}

// Text fields show their caret instead; an object without a _focusrect
// of its own follows the movie's, as it is when drawn.
std::optional<bool> ScriptFocus::ownRectangle(Object *object) const
{
    auto *clip = dynamic_cast<ClipObject *>(object);
    if (!clip)
        return false;
    if (setsMoviesRect(*clip))
        return std::nullopt;
    return clip->focusRect;
}

Object *ScriptFocus::highlighted() const
{
    return highlighted_ && ownRectangle_.value_or(moviesRect_) ? current() : nullptr;
}

bool ScriptFocus::setsMoviesRect(const ClipObject &clip) const
{
    return machine_.version() < kOwnFocusRectVersion || !clip.state() || !clip.state()->parent();
}

Value ScriptFocus::focusRect(const ClipObject &clip) const
{
    if (setsMoviesRect(clip))
        return Value(moviesRect_);
    return clip.focusRect ? Value(*clip.focusRect) : Value::null();
}

// Null and undefined leave the movie's value as it is, and let a clip's
// follow it again.
void ScriptFocus::setFocusRect(ClipObject &clip, const Value &value)
{
    const bool unset = value.isNull() || value.isUndefined();
    if (setsMoviesRect(clip)) {
        if (!unset)
            moviesRect_ = machine_.toBoolean(value);
    } else {
        clip.focusRect = unset ? std::nullopt : std::optional<bool>(machine_.toBoolean(value));
    }
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

void ScriptFocus::setFieldSelection(const FieldSelection &selection)
{
    const int length = fieldLength();
    begin_ = std::clamp(selection.begin, 0, length);
    end_ = std::clamp(selection.end, 0, length);
}

void ScriptFocus::clickField(Object *field, int caret)
{
    if (!FieldOf(field))
        return;
    if (current() != field)
        moveTo(field, false);
    highlighted_ = false;
    setFieldSelection({caret, caret});
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

void DropFocusFrom(Machine &machine, Object *object)
{
    if (machine.focus)
        machine.focus->lose(object);
}

}  // namespace swf::avm1
