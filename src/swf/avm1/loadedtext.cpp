#include "swf/avm1/loadedtext.h"

#include "swf/avm1/machine.h"

namespace swf::avm1 {

Value AnswerLoadedText(Machine &m, const Value &self, const Value &text, const char *reader)
{
    Object *object = self.object();
    if (!object)
        return {};
    if (text.isUndefined()) {
        m.callMethod(self, "onLoad", Args({Value(false)}));
        return {};
    }
    m.callMethod(self, reader, Args({text}));
    m.set(object, "loaded", Value(true));
    m.callMethod(self, "onLoad", Args({Value(true)}));
    return {};
}

}  // namespace swf::avm1
