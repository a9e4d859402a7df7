// Error: a message, a name and a toString that shows the message.

#include "swf/avm1/builtins.h"
#include "swf/avm1/machine.h"

namespace swf::avm1 {

namespace {

Value ErrorConstruct(Machine &m, const Value &self, const Args &args)
{
    if (Object *object = self.object(); object && !args[0].isUndefined())
        m.set(object, "message", args[0]);
    return self;
}

Value ErrorCall(Machine &m, const Value &, const Args &args)
{
    Object *error = m.make<Object>(m.errorProto, Object::Kind::Error);
    return ErrorConstruct(m, Value(error), args);
}

Value ToStringMethod(Machine &m, const Value &self, const Args &)
{
    return Value(m.toString(m.getMember(self, "message")));
}

}  // namespace

void InstallErrorClass(Machine &m)
{
    m.errorProto = m.newObject();
    DefineClass(m, "Error", m.errorProto, ErrorCall, ErrorConstruct);
    m.defineValue(m.errorProto, "message", Value("Error"));
    m.defineValue(m.errorProto, "name", Value("Error"));
    m.defineMethod(m.errorProto, "toString", ToStringMethod);
}

}  // namespace swf::avm1
