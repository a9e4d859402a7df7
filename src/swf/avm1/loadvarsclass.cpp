// LoadVars: variables read from a text file of the movie's folder
// ("name=value&..."), decoded onto the object. load() answers on a later
// tick through onData, whose default decodes the text and calls
// onLoad(success). Nothing is ever sent: send and sendAndLoad refuse.

#include "swf/avm1/builtins.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/loadaddress.h"
#include "swf/avm1/loadedtext.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/movieloader.h"

namespace swf::avm1 {

namespace {

Value Load(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object || args.size() < 1 || !m.clips)
        return Value(false);
    m.set(object, "loaded", Value(false));
    m.clips->loader().requestData(object, m.toString(args[0]));
    return Value(true);
}

Value Refuse(Machine &, const Value &, const Args &) { return Value(false); }
Value Nothing(Machine &, const Value &, const Args &) { return {}; }

Value Decode(Machine &m, const Value &self, const Args &args)
{
    Object *object = self.object();
    if (!object || args.size() < 1)
        return {};
    for (const auto &[name, value] : DecodeFormData(m.toString(args[0])))
        m.set(object, name, Value(value));
    return {};
}

Value ToString(Machine &m, const Value &self, const Args &)
{
    Object *object = self.object();
    if (!object)
        return Value("");
    std::string text;
    for (const std::string &name : m.enumerate(object)) {
        text += (text.empty() ? "" : "&") + UrlEncode(name) + "=" + UrlEncode(m.toString(m.get(object, name)));
        m.countActions(1);
    }
    return Value(text);
}

// The text arrived (a string) or could not be read (undefined).
Value OnData(Machine &m, const Value &self, const Args &args) { return AnswerLoadedText(m, self, args[0], "decode"); }

Value Construct(Machine &, const Value &, const Args &) { return {}; }

}  // namespace

void InstallLoadVarsClass(Machine &m)
{
    Object *proto = m.newObject();
    DefineClass(m, "LoadVars", proto, Construct, Construct);
    const std::pair<const char *, NativeFunction> methods[] = {
        {"load", Load},         {"send", Refuse},     {"sendAndLoad", Refuse},
        {"decode", Decode},     {"toString", ToString}, {"onData", OnData},
        {"onLoad", Nothing},    {"addRequestHeader", Nothing},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(proto, name, fn);
    m.defineValue(proto, "contentType", Value("application/x-www-form-urlencoded"));
}

}  // namespace swf::avm1
