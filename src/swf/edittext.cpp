#include "swf/definetags.h"

namespace swf {

void DefineEditTextTag(Tag, DefineContext &) {}

}  // namespace swf
