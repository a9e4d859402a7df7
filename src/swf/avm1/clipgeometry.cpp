#include "swf/avm1/clipgeometry.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/clipobject.h"
#include "swf/characters/character.h"
#include "swf/characters/drawing.h"
#include "swf/characters/morphshapecharacter.h"
#include "swf/timeline/scriptmasks.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

constexpr double kDegrees = 180.0 / M_PI;
// Sprites inside sprites deeper than this add nothing to a clip's bounds.
constexpr int kBoundsDepthLimit = 32;

void Unite(std::optional<QRectF> &into, const std::optional<QRectF> &part)
{
    if (part)
        into = into ? into->united(*part) : *part;
}

// The player moves each corner to whole twips before it takes the box
// around them, so widths come out in whole twips too.
std::optional<QRectF> Mapped(const Rect &bounds, const QTransform &transform)
{
    const QRectF rect = bounds.toQRectF();
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

std::optional<QRectF> TimelineBounds(const TimelineState &state, const QTransform &toSpace, bool withLines, int depth);

std::optional<QRectF> ObjectBounds(const DisplayObject &object, const QTransform &toParent, bool withLines, int depth)
{
    const QTransform transform = object.matrix.toQTransform() * toParent;
    if (object.children)
        return depth < kBoundsDepthLimit ? TimelineBounds(*object.children, transform, withLines, depth + 1)
                                         : std::nullopt;
    if (!object.character)
        return std::nullopt;
    const auto *morph = dynamic_cast<const MorphShapeCharacter *>(object.character);
    const Rect bounds = morph ? morph->startBounds() : object.character->bounds();
    if (bounds.isEmpty())
        return std::nullopt;
    return Mapped(bounds, transform);
}

std::optional<QRectF> TimelineBounds(const TimelineState &state, const QTransform &toSpace, bool withLines, int depth)
{
    std::optional<QRectF> united;
    if (const Drawing *drawing = state.drawing(); drawing && !drawing->isEmpty())
        united = Mapped(withLines ? drawing->bounds() : drawing->edgeBounds(), toSpace);
    for (const auto &entry : state.displayList().objects())
        Unite(united, ObjectBounds(entry.second, toSpace, withLines, depth));
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
    // An endless turn reads back as NaN but leaves the picture unturned.
    const double turn = std::isfinite(object.rotation) ? object.rotation / kDegrees : 0;
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
    double turn = std::fmod(degrees, 360.0);  // NaN for an endless turn
    if (turn > 180)
        turn -= 360;
    else if (turn < -180)
        turn += 360;
    object.rotation = turn;
    RebuildMatrix(object);
}

std::optional<QRectF> ContentBounds(const TimelineState &state, const QTransform &toSpace, bool withLines)
{
    return TimelineBounds(state, toSpace, withLines, 0);
}

QTransform ToStage(const TimelineState &state)
{
    return TimelineToStage(state).toQTransform();
}

double MouseIn(const TimelineState &state, bool x)
{
    bool invertible = false;
    const QPointF local = ToStage(state).inverted(&invertible).map(state.context().mouse);
    return invertible ? (x ? local.x() : local.y()) / kTwipsPerPixel : 0;
}

QRectF BoundsInParent(const ClipObject &clip)
{
    const TimelineState *state = clip.state();
    if (!state)
        return {};
    const DisplayObject *object = clip.displayObject();
    const QTransform transform = object ? object->matrix.toQTransform() : QTransform();
    return ContentBounds(*state, transform, true).value_or(QRectF());
}

void SetSize(const ClipObject &clip, bool width, double twips)
{
    DisplayObject *object = clip.displayObject();
    if (!object || !clip.state())
        return;
    const QRectF local = ContentBounds(*clip.state(), QTransform(), true).value_or(QRectF());
    const double extent = width ? local.width() : local.height();
    // Nothing to stretch: the player flattens the clip both ways instead.
    if (extent <= 0) {
        SetXScale(*object, 0);
        SetYScale(*object, 0);
        return;
    }
    if (width)
        SetXScale(*object, twips / extent * 100.0);
    else
        SetYScale(*object, twips / extent * 100.0);
}

}  // namespace swf::avm1
