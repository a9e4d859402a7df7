#include "swf/render/focusrectangle.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "swf/format/types.h"

namespace swf {

namespace {

constexpr double kBandTwips = 3 * kTwipsPerPixel;
const QColor kFocusYellow(255, 255, 0);

}  // namespace

void DrawFocusRectangle(QPainter &painter, const QTransform &stageToDevice, const QRectF &bounds)
{
    if (bounds.isEmpty())
        return;
    QPainterPath band;
    band.setFillRule(Qt::OddEvenFill);
    band.addRect(bounds);
    // A rectangle thinner than two bands is all band.
    const double inset = std::min({kBandTwips, bounds.width() / 2, bounds.height() / 2});
    band.addRect(bounds.adjusted(inset, inset, -inset, -inset));
    painter.save();
    painter.resetTransform();
    painter.fillPath(stageToDevice.map(band), kFocusYellow);
    painter.restore();
}

}  // namespace swf
