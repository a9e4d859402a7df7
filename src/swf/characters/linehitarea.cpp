#include "swf/characters/linehitarea.h"

#include <QPainterPathStroker>
#include <algorithm>

namespace swf {

namespace {

constexpr double kThinnestHitLine = 20;  // twips: one pixel

Qt::PenCapStyle HitCap(CapStyle cap)
{
    return cap == CapStyle::None ? Qt::FlatCap : cap == CapStyle::Square ? Qt::SquareCap : Qt::RoundCap;
}

}  // namespace

QPainterPath WithLineHitArea(const QPainterPath &area, const QPainterPath &line, const LineStyle &style)
{
    if (line.isEmpty())
        return area;
    QPainterPathStroker stroker;
    stroker.setWidth(std::max(style.width, kThinnestHitLine));
    stroker.setCapStyle(HitCap(style.startCap));
    stroker.setJoinStyle(Qt::RoundJoin);
    return area.united(stroker.createStroke(line));
}

}  // namespace swf
