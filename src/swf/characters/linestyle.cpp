#include "swf/characters/linestyle.h"

namespace swf {

namespace {

CapStyle ToCap(unsigned bits)
{
    return bits == 1 ? CapStyle::None : bits == 2 ? CapStyle::Square : CapStyle::Round;
}

JoinStyle ToJoin(unsigned bits)
{
    return bits == 1 ? JoinStyle::Bevel : bits == 2 ? JoinStyle::Miter : JoinStyle::Round;
}

// The flag bits shared by LINESTYLE2 and MORPHLINESTYLE2, up to and
// including the miter limit.
void ReadLineFlags(SwfReader &reader, LineStyle &line)
{
    line.startCap = ToCap(reader.ub(2));
    line.join = ToJoin(reader.ub(2));
    line.hasFill = reader.flag();
    line.noHScale = reader.flag();
    line.noVScale = reader.flag();
    reader.ub(1);  // pixel hinting: device pixels are what we snap to anyway
    reader.ub(5);
    line.noClose = reader.flag();
    line.endCap = ToCap(reader.ub(2));
    if (line.join == JoinStyle::Miter)
        line.miterLimit = reader.fixed8();
}

void CopyFlags(const LineStyle &from, LineStyle &to)
{
    to.startCap = from.startCap;
    to.endCap = from.endCap;
    to.join = from.join;
    to.miterLimit = from.miterLimit;
    to.noHScale = from.noHScale;
    to.noVScale = from.noVScale;
    to.noClose = from.noClose;
    to.hasFill = from.hasFill;
}

Qt::PenCapStyle QtCap(CapStyle cap)
{
    switch (cap) {
    case CapStyle::None: return Qt::FlatCap;
    case CapStyle::Square: return Qt::SquareCap;
    case CapStyle::Round: break;
    }
    return Qt::RoundCap;
}

Qt::PenJoinStyle QtJoin(JoinStyle join)
{
    switch (join) {
    case JoinStyle::Bevel: return Qt::BevelJoin;
    case JoinStyle::Miter: return Qt::MiterJoin;
    case JoinStyle::Round: break;
    }
    return Qt::RoundJoin;
}

}  // namespace

LineStyle ReadLineStyle(SwfReader &reader, int shapeVersion)
{
    LineStyle line;
    line.width = reader.u16();
    if (shapeVersion < 4) {
        line.color = shapeVersion >= 3 ? reader.rgba() : reader.rgb();
        return line;
    }
    ReadLineFlags(reader, line);
    if (line.hasFill)
        line.fill = ReadFillStyle(reader, shapeVersion);
    else
        line.color = reader.rgba();
    return line;
}

MorphLineStyle ReadMorphLineStyle(SwfReader &reader, bool version2)
{
    MorphLineStyle morph;
    morph.start.width = reader.u16();
    morph.end.width = reader.u16();
    if (version2) {
        ReadLineFlags(reader, morph.start);
        CopyFlags(morph.start, morph.end);
    }
    if (morph.start.hasFill) {
        const MorphFillStyle fill = ReadMorphFillStyle(reader);
        morph.start.fill = fill.start;
        morph.end.fill = fill.end;
    } else {
        morph.start.color = reader.rgba();
        morph.end.color = reader.rgba();
    }
    return morph;
}

LineStyle MorphLineStyle::at(double t) const
{
    LineStyle mixed = start;
    mixed.width = start.width + (end.width - start.width) * t;
    mixed.color = lerp(start.color, end.color, t);
    if (start.hasFill)
        mixed.fill = MorphFillStyle{start.fill, end.fill}.at(t);
    return mixed;
}

QPen LinePen(const LineStyle &line, const QBrush &brush, double deviceScale, double stageScale)
{
    QPen pen(brush, line.width);
    pen.setCapStyle(QtCap(line.startCap));
    pen.setJoinStyle(QtJoin(line.join));
    if (line.join == JoinStyle::Miter)
        pen.setMiterLimit(line.miterLimit);

    const double deviceWidth = line.width * (line.scalesWithTransform() ? deviceScale : stageScale);
    if (deviceWidth < 1.0) {
        pen.setCosmetic(true);
        pen.setWidthF(1.0);
    } else if (!line.scalesWithTransform()) {
        pen.setCosmetic(true);
        pen.setWidthF(deviceWidth);
    }
    return pen;
}

}  // namespace swf
