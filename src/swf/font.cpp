#include "swf/definetags.h"

namespace swf {

void DefineFontTag(Tag, DefineContext &) {}
void DefineFontInfoTag(Tag, DefineContext &) {}

}  // namespace swf
