#pragma once
// Pictures that scripts make and change (BitmapData): the pixels, kept
// premultiplied as the player keeps them, shared by the script object that
// owns them and by every clip that shows them, so that a clip keeps drawing
// what the script last wrote and a collected script object cannot pull the
// pixels from under a clip. One player's thread.

#include <QImage>
#include <memory>

#include "swf/characters/character.h"

namespace swf {

struct BitmapSurface {
    // Format_ARGB32_Premultiplied; null once disposed.
    QImage pixels;
    // An opaque surface keeps every alpha at 255.
    bool transparent = true;

    bool disposed() const { return pixels.isNull(); }
    int width() const { return pixels.width(); }
    int height() const { return pixels.height(); }
};

// A surface shown on a clip (attachBitmap): drawn at one pixel per stage
// pixel from the clip's origin, as it is at the time of drawing.
class SurfaceCharacter : public Character {
public:
    SurfaceCharacter(std::shared_ptr<const BitmapSurface> surface, bool smoothing)
        : Character(0), surface_(std::move(surface)), smoothing_(smoothing)
    {
    }

    void render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx,
                uint16_t ratio) const override;
    QPainterPath outline(uint16_t ratio) const override;
    Rect bounds() const override;

private:
    std::shared_ptr<const BitmapSurface> surface_;
    bool smoothing_;
};

}  // namespace swf
