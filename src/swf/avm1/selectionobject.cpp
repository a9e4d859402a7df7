// Selection: the keyboard focus (getFocus gives the focused object's
// path, setFocus takes an object or a path) and the selection in the
// focused text field. It keeps listeners, told of every change of the focus.

#include "swf/avm1/broadcaster.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/interpreter.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/scriptfocus.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/avm1/variables.h"

namespace swf::avm1 {

namespace {

ScriptFocus *FocusOf(const Value &self) { return FocusOf(self.object()); }

Value GetFocus(Machine &, const Value &self, const Args &)
{
    ScriptFocus *focus = FocusOf(self);
    Object *focused = focus ? focus->current() : nullptr;
    if (auto *clip = dynamic_cast<ClipObject *>(focused))
        return Value(clip->targetPath());
    if (auto *field = dynamic_cast<TextFieldObject *>(focused))
        return Value(field->targetPath());
    return Value::null();
}

// A path is read from the root of level 0.
Object *FocusTarget(Machine &m, const Value &target)
{
    if (target.isObject())
        return target.object();
    Activation activation;
    activation.baseClip = activation.target = m.clips ? m.clips->level(0) : nullptr;
    return activation.target ? ResolveTarget(m, activation, m.toString(target)) : nullptr;
}

Value SetFocus(Machine &m, const Value &self, const Args &args)
{
    ScriptFocus *focus = FocusOf(self);
    if (!focus || args.size() == 0)
        return Value(false);
    if (args[0].isNull() || args[0].isUndefined())
        return Value(focus->setFocus(nullptr));
    Object *target = FocusTarget(m, args[0]);
    return Value(target && focus->setFocus(target));
}

Value GetBeginIndex(Machine &, const Value &self, const Args &)
{
    ScriptFocus *focus = FocusOf(self);
    return Value(double(focus ? focus->beginIndex() : -1));
}

Value GetEndIndex(Machine &, const Value &self, const Args &)
{
    ScriptFocus *focus = FocusOf(self);
    return Value(double(focus ? focus->endIndex() : -1));
}

Value SetSelection(Machine &m, const Value &self, const Args &args)
{
    if (ScriptFocus *focus = FocusOf(self))
        focus->setSelection(m.toNumber(args[0]), m.toNumber(args[1]));
    return {};
}

}  // namespace

void InstallSelectionObject(Machine &m)
{
    Object *selection = m.newObject();
    selection->native = std::make_unique<ScriptFocus>(m);
    m.defineValue(m.global, "Selection", Value(selection));
    MakeBroadcaster(m, selection);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"getFocus", GetFocus},
        {"setFocus", SetFocus},
        {"getBeginIndex", GetBeginIndex},
        {"getEndIndex", GetEndIndex},
        // The caret stands at the end of the selection.
        {"getCaretIndex", GetEndIndex},
        {"setSelection", SetSelection},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(selection, name, fn);
}

}  // namespace swf::avm1
