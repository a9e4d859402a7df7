#include "swf/definetags.h"

namespace swf {

void DefineShapeTag(Tag, DefineContext &) {}

}  // namespace swf
