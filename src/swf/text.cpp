#include "swf/definetags.h"

namespace swf {

void DefineTextTag(Tag, DefineContext &) {}

}  // namespace swf
