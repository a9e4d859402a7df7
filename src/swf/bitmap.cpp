#include "swf/bitmap.h"
#include "swf/definetags.h"

namespace swf {

void BitmapCharacter::render(RenderContext &, const Matrix &, const ColorTransform &, uint16_t) const {}
Rect BitmapCharacter::bounds() const { return {}; }

void JpegTablesTag(Tag, DefineContext &) {}
void DefineBitsJpegTag(Tag, DefineContext &) {}
void DefineBitsLosslessTag(Tag, DefineContext &) {}

}  // namespace swf
