// The script engine's side of the keys and the keyboard focus: a key's
// handlers in the player's order, Tab, the focused button, and where the
// focus rectangle goes.

#include "swf/avm1/scriptengine.h"

#include "swf/avm1/broadcaster.h"
#include "swf/avm1/clipgeometry.h"
#include "swf/avm1/keyobject.h"
#include "swf/avm1/quietly.h"
#include "swf/avm1/scriptfocus.h"
#include "swf/characters/dictionary.h"
#include "swf/timeline/button.h"
#include "swf/timeline/keycodes.h"
#include "swf/timeline/scriptmasks.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

const ButtonCharacter *ButtonShownBy(const TimelineState &picture)
{
    return picture.owner() ? dynamic_cast<const ButtonCharacter *>(picture.owner()->character) : nullptr;
}

// A button's rectangle is that of its hit area, whatever it shows.
std::optional<QRectF> HitAreaOnStage(const ButtonCharacter &button, const TimelineState &picture)
{
    const TimelineState *parent = picture.parent();
    if (!parent)
        return std::nullopt;
    const Matrix toStage = TimelineToStage(*parent) * picture.owner()->matrix;
    const Dictionary &dictionary = parent->displayList().dictionary();
    std::optional<QRectF> united;
    for (const DisplayCommand &record : button.hitArea()) {
        const Character *character = dictionary.find(record.characterId);
        if (!character || character->bounds().isEmpty())
            continue;
        const QRectF area = (toStage * record.matrix).toQTransform().mapRect(character->bounds().toQRectF());
        united = united ? united->united(area) : area;
    }
    return united;
}

}  // namespace

void ScriptEngine::keyChanged(int keyCode, char32_t character, bool pressed)
{
    if (!keys_)
        return;
    // The person's key is not the frame's work: its handlers get a budget.
    machine_.refillActionBudget();
    Quietly([&] {
        NoteKey(*keys_, keyCode, character, pressed);
        if (root_)
            queueMouseEvents(*root_, pressed ? kClipEventKeyDown : kClipEventKeyUp);
    });
    runQueue();
    const char *method = pressed ? "onKeyDown" : "onKeyUp";
    Quietly([&] {
        Object *focused = machine_.focus ? machine_.focus->current() : nullptr;
        if (focused && handlerMethods() && machine_.get(focused, method).isObject())
            machine_.callMethod(Value(focused), method, Args());
        Broadcast(machine_, Value(keys_), method, Args());
    });
    runQueue();
}

void ScriptEngine::tabPressed()
{
    if (!machine_.focus || !root_ || !keys_)
        return;
    machine_.refillActionBudget();
    Quietly([&] { machine_.focus->tab(*root_, keys_->down.test(kKeyShift)); });
    runQueue();
}

void ScriptEngine::keyboardLost()
{
    if (!machine_.focus)
        return;
    machine_.refillActionBudget();
    Quietly([&] { machine_.focus->windowLost(); });
    runQueue();
}

// A button's records for the roll run as the mouse's would, then the
// handlers of its object or of the clip.
void ScriptEngine::focusRolled(TimelineState &clip, bool over)
{
    const ButtonTransition transition = over ? kIdleToOverUp : kOverUpToIdle;
    const ButtonCharacter *button = ButtonShownBy(clip);
    if (button && clip.parent()) {
        for (const ButtonActionRecord &record : button->actions())
            if (record.firesOn(transition))
                actionsDue(*clip.parent(), record.actions);
    }
    clipMouseEvent(clip, transition);
}

TimelineState *ScriptEngine::focusedButton()
{
    auto *clip = dynamic_cast<ClipObject *>(machine_.focus ? machine_.focus->current() : nullptr);
    TimelineState *state = clip ? clip->state() : nullptr;
    if (!state || (!ButtonShownBy(*state) && !clipTakesMouse(*state)))
        return nullptr;
    return state;
}

std::optional<QRectF> ScriptEngine::focusRectangle()
{
    auto *clip = dynamic_cast<ClipObject *>(machine_.focus ? machine_.focus->highlighted() : nullptr);
    const TimelineState *state = clip ? clip->state() : nullptr;
    if (!state)
        return std::nullopt;
    if (const ButtonCharacter *button = ButtonShownBy(*state))
        return HitAreaOnStage(*button, *state);
    return ContentBounds(*state, ToStage(*state), true);
}

}  // namespace swf::avm1
