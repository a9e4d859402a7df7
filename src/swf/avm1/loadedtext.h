#pragma once
// The default onData of the objects that load text (LoadVars, XML): no
// text calls onLoad(false); a text is read by the object's own `reader`
// method ("decode", "parseXML"), marks it loaded and calls onLoad(true).

#include "swf/avm1/function.h"

namespace swf::avm1 {

Value AnswerLoadedText(Machine &machine, const Value &self, const Value &text, const char *reader);

}  // namespace swf::avm1
