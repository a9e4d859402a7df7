#pragma once
// Small pieces of scripts that tests of clips, fields and the focus put
// together: reading a variable, setting a member, calling a method.

#include <initializer_list>

#include "actionassembler.h"
#include "swf/avm1/code.h"

namespace swftest {

// Pushes the variable at `path`.
inline ActionAssembler &Get(ActionAssembler &a, const char *path)
{
    return a.push({path}).op(swf::avm1::kActionGetVariable);
}

// path.name = value
inline ActionAssembler Set(const char *path, const char *name, ActionAssembler::Item value)
{
    ActionAssembler a;
    Get(a, path).push({name, value}).op(swf::avm1::kActionSetMember);
    return a;
}

// path.method(args...), its result dropped; `args` go last first, as the
// machine pops them.
inline ActionAssembler Call(const char *path, const char *method,
                            std::initializer_list<ActionAssembler::Item> args = {})
{
    ActionAssembler a;
    if (args.size() > 0)
        a.push(args);
    a.push({int(args.size()), path}).op(swf::avm1::kActionGetVariable).push({method});
    a.op(swf::avm1::kActionCallMethod).op(swf::avm1::kActionPop);
    return a;
}

}  // namespace swftest
