#pragma once
// The geometry behind a clip's display properties: scale and rotation read
// from and written into its matrix, and its bounds in its parent's space
// (twips) for _width and _height.

#include <QRectF>
#include <QTransform>
#include <optional>

#include "swf/format/types.h"

namespace swf {
struct DisplayObject;
class TimelineState;
}

namespace swf::avm1 {

class ClipObject;

// Read from the matrix once, then kept with the object (see
// DisplayObject::scaleRotationKnown); writing one rebuilds the matrix.
double XScale(DisplayObject &object);
double YScale(DisplayObject &object);
double Rotation(DisplayObject &object);  // degrees, -180..180
void SetXScale(DisplayObject &object, double percent);
void SetYScale(DisplayObject &object, double percent);
void SetRotation(DisplayObject &object, double degrees);

// What the timeline shows (its drawing and its objects, with or without
// the thickness of lines) in the space `toSpace` maps its twips to; none
// when it shows nothing.
std::optional<QRectF> ContentBounds(const TimelineState &state, const QTransform &toSpace, bool withLines);
// Maps the timeline's twips to the stage's.
QTransform ToStage(const TimelineState &state);

// Where the pointer is in the timeline's space, in pixels: x or y.
double MouseIn(const TimelineState &state, bool x);

// Empty when the clip shows nothing.
QRectF BoundsInParent(const ClipObject &clip);
// Scales the clip so that its width (or height) in its parent is `twips`.
void SetSize(const ClipObject &clip, bool width, double twips);

}  // namespace swf::avm1
