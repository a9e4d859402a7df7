#pragma once
// The yellow rectangle the player draws around the object with the
// keyboard focus: a band three stage pixels wide just inside the object's
// bounds, over everything the stage shows.

#include <QRectF>
#include <QTransform>

class QPainter;

namespace swf {

// `bounds` in stage twips; `stageToDevice` maps them to the painter's device.
void DrawFocusRectangle(QPainter &painter, const QTransform &stageToDevice, const QRectF &bounds);

}  // namespace swf
