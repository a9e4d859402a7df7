#pragma once
// The geometry behind a clip's display properties: scale and rotation read
// from and written into its matrix, and its bounds in its parent's space
// (twips) for _width and _height.

#include <QRectF>

#include "swf/format/types.h"

namespace swf::avm1 {

class ClipObject;

double XScale(const Matrix &m);
double YScale(const Matrix &m);
double Rotation(const Matrix &m);  // degrees
void SetXScale(Matrix &m, double percent);
void SetYScale(Matrix &m, double percent);
void SetRotation(Matrix &m, double degrees);

// Empty when the clip shows nothing.
QRectF BoundsInParent(const ClipObject &clip);
// Scales the clip so that its width (or height) in its parent is `twips`.
void SetSize(const ClipObject &clip, bool width, double twips);

}  // namespace swf::avm1
