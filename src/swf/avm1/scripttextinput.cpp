// The script engine's side of a person's typing: a click on a field that
// takes text or lets it be selected gives it the focus with the caret
// under the pointer; the characters typed and the editing commands go to
// the focused field; a change of its text reaches its variable, then its
// onChanged handler and its listeners.

#include "swf/avm1/broadcaster.h"
#include "swf/avm1/clipgeometry.h"
#include "swf/avm1/quietly.h"
#include "swf/avm1/scriptengine.h"
#include "swf/avm1/scriptfocus.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/characters/edittextcharacter.h"
#include "swf/characters/textfieldcharacter.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

constexpr int kNestingLimit = 64;

bool ShowsField(const DisplayObject &object)
{
    return dynamic_cast<const TextFieldCharacter *>(object.character)
           || dynamic_cast<const EditTextCharacter *>(object.character);
}

struct FieldHit {
    TimelineState *parent = nullptr;
    DisplayObject *object = nullptr;
    QPointF local;
};

// The topmost shown field under the stage point `mouse`; clips above
// hide those below only where a field of theirs is.
bool FieldUnder(TimelineState &state, const QPointF &mouse, int nesting, FieldHit &hit)
{
    if (nesting > kNestingLimit)
        return false;
    auto &objects = state.displayList().objects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        DisplayObject &object = it->second;
        if (!object.visible || object.clipDepth)
            continue;
        if (object.children) {
            if (FieldUnder(*object.children, mouse, nesting + 1, hit))
                return true;
            continue;
        }
        if (!ShowsField(object))
            continue;
        bool invertible = false;
        const QTransform toStage = object.matrix.toQTransform() * ToStage(state);
        const QPointF local = toStage.inverted(&invertible).map(mouse);
        if (invertible && object.character->bounds().toQRectF().contains(local)) {
            hit = {&state, &object, local};
            return true;
        }
    }
    return false;
}

}  // namespace

void ScriptEngine::clickTextField()
{
    if (!machine_.focus || !root_)
        return;
    for (TimelineState *level : levelsTopFirst()) {
        FieldHit hit;
        if (!FieldUnder(*level, level->context().mouse, 0, hit))
            continue;
        TextFieldObject *object = textFields_.objectFor(*hit.parent, *hit.object);
        TextFieldCharacter *field = object ? object->field() : nullptr;
        if (field && (field->settings().editable || field->settings().selectable)) {
            machine_.refillActionBudget();
            Quietly([&] { machine_.focus->clickField(object, field->indexAt(hit.local)); });
            runQueue();
        }
        return;
    }
}

TextFieldObject *ScriptEngine::focusedField()
{
    auto *object = dynamic_cast<TextFieldObject *>(machine_.focus ? machine_.focus->current() : nullptr);
    return object && object->field() ? object : nullptr;
}

template <class Edit> void ScriptEngine::editFocusedField(Edit &&edit)
{
    TextFieldObject *object = focusedField();
    if (!object)
        return;
    TextFieldCharacter &field = *object->field();
    FieldSelection selection = machine_.focus->fieldSelection();
    const bool changed = edit(field, selection);
    machine_.focus->setFieldSelection(selection);
    if (!changed)
        return;
    machine_.refillActionBudget();
    Quietly([&] {
        object->pushVariable(machine_);
        if (handlerMethods() && machine_.get(object, "onChanged").isObject())
            machine_.callMethod(Value(object), "onChanged", Args({Value(object)}));
        Broadcast(machine_, Value(object), "onChanged", Args({Value(object)}));
    });
    runQueue();
}

void ScriptEngine::textInput(const QString &typed)
{
    editFocusedField([&](TextFieldCharacter &field, FieldSelection &selection) {
        return TypeIntoField(field, selection, typed);
    });
}

void ScriptEngine::textControl(TextControl control)
{
    editFocusedField([&](TextFieldCharacter &field, FieldSelection &selection) {
        return ApplyTextControl(field, selection, control, clipboard_);
    });
}

}  // namespace swf::avm1
