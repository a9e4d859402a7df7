#include "swf/avm1/clipgeometry.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/clipobject.h"
#include "swf/characters/character.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

constexpr double kDegrees = 180.0 / M_PI;
// Sprites inside sprites deeper than this add nothing to a clip's bounds.
constexpr int kBoundsDepthLimit = 32;

QRectF ListBounds(const DisplayList &list, const QTransform &toParent, int depth);

// The player moves each corner to whole twips before it takes the box
// around them, so widths come out in whole twips too.
QRectF MapToWholeTwips(const QTransform &transform, const QRectF &rect)
{
    const QPointF corners[] = {transform.map(rect.topLeft()), transform.map(rect.topRight()),
                               transform.map(rect.bottomLeft()), transform.map(rect.bottomRight())};
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    for (const QPointF &corner : corners) {
        const double x = std::round(corner.x()), y = std::round(corner.y());
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QRectF ObjectBounds(const DisplayObject &object, const QTransform &toParent, int depth)
{
    const QTransform transform = object.matrix.toQTransform() * toParent;
    if (object.children)
        return depth < kBoundsDepthLimit ? ListBounds(object.children->displayList(), transform, depth + 1)
                                         : QRectF();
    if (!object.character)
        return {};
    const Rect bounds = object.character->bounds();
    if (bounds.isEmpty())
        return {};
    return MapToWholeTwips(transform, bounds.toQRectF());
}

QRectF ListBounds(const DisplayList &list, const QTransform &toParent, int depth)
{
    QRectF united;
    for (const auto &entry : list.objects()) {
        const QRectF part = ObjectBounds(entry.second, toParent, depth);
        if (!part.isEmpty())
            united = united.isEmpty() ? part : united.united(part);
    }
    return united;
}

}  // namespace

namespace {

void KnowScaleRotation(DisplayObject &object)
{
    if (object.scaleRotationKnown)
        return;
    const Matrix &m = object.matrix;
    // A mirrored matrix (negative determinant) reads as a negative x scale
    // with the rotation of the unmirrored x axis.
    const bool mirrored = double(m.a) * m.d - double(m.b) * m.c < 0;
    object.xScale = std::hypot(m.a, m.b) * (mirrored ? -100.0 : 100.0);
    object.yScale = std::hypot(m.c, m.d) * 100.0;
    const double turn = (m.a == 0 && m.b == 0) ? 0 : mirrored ? std::atan2(-m.b, -m.a) : std::atan2(m.b, m.a);
    const double yTurn = (m.c == 0 && m.d == 0) ? turn : std::atan2(-m.c, m.d);
    object.rotation = turn * kDegrees;
    object.skew = yTurn - turn;
    object.scaleRotationKnown = true;
}

void RebuildMatrix(DisplayObject &object)
{
    const double turn = object.rotation / kDegrees;
    const double yTurn = turn + object.skew;
    Matrix &m = object.matrix;
    m.a = std::cos(turn) * object.xScale / 100.0;
    m.b = std::sin(turn) * object.xScale / 100.0;
    m.c = -std::sin(yTurn) * object.yScale / 100.0;
    m.d = std::cos(yTurn) * object.yScale / 100.0;
}

}  // namespace

double XScale(DisplayObject &object)
{
    KnowScaleRotation(object);
    return object.xScale;
}

double YScale(DisplayObject &object)
{
    KnowScaleRotation(object);
    return object.yScale;
}

double Rotation(DisplayObject &object)
{
    KnowScaleRotation(object);
    return object.rotation;
}

void SetXScale(DisplayObject &object, double percent)
{
    KnowScaleRotation(object);
    object.xScale = percent;
    RebuildMatrix(object);
}

void SetYScale(DisplayObject &object, double percent)
{
    KnowScaleRotation(object);
    object.yScale = percent;
    RebuildMatrix(object);
}

// Kept within -180..180 degrees, as the player reports it.
void SetRotation(DisplayObject &object, double degrees)
{
    KnowScaleRotation(object);
    double turn = std::fmod(degrees, 360.0);
    if (turn > 180)
        turn -= 360;
    else if (turn < -180)
        turn += 360;
    object.rotation = turn;
    RebuildMatrix(object);
}

QRectF BoundsInParent(const ClipObject &clip)
{
    const TimelineState *state = clip.state();
    if (!state)
        return {};
    const DisplayObject *object = clip.displayObject();
    const QTransform transform = object ? object->matrix.toQTransform() : QTransform();
    return ListBounds(state->displayList(), transform, 0);
}

void SetSize(const ClipObject &clip, bool width, double twips)
{
    DisplayObject *object = clip.displayObject();
    if (!object || !clip.state())
        return;
    const QRectF local = ListBounds(clip.state()->displayList(), QTransform(), 0);
    const double extent = width ? local.width() : local.height();
    if (extent <= 0)
        return;
    if (width)
        SetXScale(*object, twips / extent * 100.0);
    else
        SetYScale(*object, twips / extent * 100.0);
}

}  // namespace swf::avm1
