#include "swf/characters/scriptbitmap.h"

#include "swf/characters/bitmap.h"

namespace swf {

void SurfaceCharacter::render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, uint16_t) const
{
    if (surface_->disposed())
        return;
    DrawPictureCharacter(ctx, toStage, cx, surface_->pixels, surface_->width(), surface_->height(),
                         smoothing_ && ctx.smoothBitmaps());
}

QPainterPath SurfaceCharacter::outline(uint16_t) const
{
    return PictureOutline(surface_->width(), surface_->height());
}

Rect SurfaceCharacter::bounds() const { return PictureBounds(surface_->width(), surface_->height()); }

}  // namespace swf
