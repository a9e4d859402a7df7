#include "swf/definetags.h"

namespace swf {

void DefineMorphShapeTag(Tag, DefineContext &) {}

}  // namespace swf
