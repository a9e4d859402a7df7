#include "swf/characters/textcharacter.h"

#include <QPainter>

namespace swf {

TextCharacter::TextCharacter(uint16_t id, const Rect &bounds, const Matrix &matrix, std::vector<Run> runs)
    : Character(id), bounds_(bounds), matrix_(matrix), runs_(std::move(runs))
{
    const QTransform toText = matrix_.toQTransform();
    for (const Run &run : runs_)
        for (const QPainterPath &glyph : run.glyphs)
            outline_.addPath(toText.map(glyph));
    outline_.setFillRule(Qt::OddEvenFill);
}

void TextCharacter::render(RenderContext &ctx, const Matrix &toStage, const ColorTransform &cx, uint16_t) const
{
    if (!ctx.painter || runs_.empty())
        return;
    QPainter &painter = *ctx.painter;
    painter.save();
    painter.setTransform(matrix_.toQTransform() * toStage.toQTransform() * ctx.stageToDevice);
    painter.setRenderHint(QPainter::Antialiasing, ctx.antialias());
    painter.setPen(Qt::NoPen);
    for (const Run &run : runs_) {
        painter.setBrush(cx.apply(run.color.toQColor()));
        for (const QPainterPath &glyph : run.glyphs)
            painter.drawPath(glyph);
    }
    painter.restore();
}

}  // namespace swf
