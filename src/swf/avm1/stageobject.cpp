// Stage: the movie's size (read only), how it scales and aligns, the menu
// flag and the listeners told of a resize.

#include "swf/avm1/broadcaster.h"
#include "swf/avm1/builtins.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

Value StageWidth(Machine &m, const Value &, const Args &)
{
    return m.clips ? Value(m.clips->stageWidth()) : Value(0.0);
}

Value StageHeight(Machine &m, const Value &, const Args &)
{
    return m.clips ? Value(m.clips->stageHeight()) : Value(0.0);
}

void DefineReadOnly(Machine &m, Object *target, const char *name, NativeFunction getter)
{
    Property &p = target->putOwn(m.key(name), name, Value(), kDontEnum | kDontDelete);
    p.getter = m.newNative(getter);
}

}  // namespace

void InstallStageObject(Machine &m)
{
    Object *stage = m.newObject();
    m.defineValue(m.global, "Stage", Value(stage));
    MakeBroadcaster(m, stage);
    DefineReadOnly(m, stage, "width", StageWidth);
    DefineReadOnly(m, stage, "height", StageHeight);
    m.defineValue(stage, "scaleMode", Value("showAll"));
    m.defineValue(stage, "align", Value(""));
    m.defineValue(stage, "showMenu", Value(true));
}

}  // namespace swf::avm1
