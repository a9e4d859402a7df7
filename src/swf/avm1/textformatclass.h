#pragma once
// TextFormat objects and the formats of text fields: a script's TextFormat
// read into a format (unset where the object says null) and a format
// written out as a new TextFormat object (null where it is unset).

#include "swf/characters/textformat.h"

namespace swf::avm1 {

class Machine;
class Object;

TextFormat ReadTextFormat(Machine &machine, Object *object);
Object *NewTextFormatObject(Machine &machine, const TextFormat &format);

}  // namespace swf::avm1
