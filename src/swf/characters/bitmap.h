#pragma once
// Bitmap characters (DefineBits family, DefineBitsLossless family), decoded
// once at load time into premultiplied ARGB pictures. Shapes use them as
// bitmap fills; a movie may also place one directly, which draws it at its
// natural size. Immutable after loading; any thread may render.

#include <QImage>

#include "swf/characters/character.h"

namespace swf {

class BitmapCharacter : public Character {
public:
    BitmapCharacter(uint16_t id, QImage image) : Character(id), image_(std::move(image)) {}

    // Format_ARGB32_Premultiplied; 1 pixel = 20 twips in the bitmap's own space.
    const QImage &image() const { return image_; }

    void render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx,
                uint16_t ratio) const override;
    QPainterPath outline(uint16_t ratio) const override;
    Rect bounds() const override;

private:
    QImage image_;
};

// `image` (premultiplied ARGB) with `cx` applied to every pixel; the image
// itself (shared, no copy) when `cx` is the identity.
QImage ColorTransformedImage(const QImage &image, const ColorTransform &cx);

// Draws `image` with `cx` over the rectangle of `width` by `height` pixels
// at the origin of character space, as placed bitmaps and videos are
// drawn; smoothed only when `smooth`.
void DrawPictureCharacter(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, const QImage &image,
                          int width, int height, bool smooth);
// That rectangle as a path, for clip layers.
QPainterPath PictureOutline(int width, int height);
// And as bounds in twips.
Rect PictureBounds(int width, int height);

}  // namespace swf
