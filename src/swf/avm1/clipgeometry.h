#pragma once
// The geometry behind a clip's display properties: scale and rotation read
// from and written into its matrix, and its bounds in its parent's space
// (twips) for _width and _height.

#include <QRectF>
#include <QTransform>
#include <optional>

#include "swf/format/types.h"

namespace swf {
class TimelineState;
}

namespace swf::avm1 {

class ClipObject;

double XScale(const Matrix &m);
double YScale(const Matrix &m);
double Rotation(const Matrix &m);  // degrees
void SetXScale(Matrix &m, double percent);
void SetYScale(Matrix &m, double percent);
void SetRotation(Matrix &m, double degrees);

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
