#include "swf/avm1/clipgeometry.h"

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

std::optional<QRectF> Mapped(const Rect &bounds, const QTransform &transform)
{
    return transform.mapRect(bounds.toQRectF());
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

double XScale(const Matrix &m) { return std::hypot(m.a, m.b) * 100.0; }
double YScale(const Matrix &m) { return std::hypot(m.c, m.d) * 100.0; }

double Rotation(const Matrix &m)
{
    if (m.a == 0 && m.b == 0)
        return 0;
    return std::atan2(m.b, m.a) * kDegrees;
}

void SetXScale(Matrix &m, double percent)
{
    const double angle = std::atan2(m.b, m.a);
    m.a = std::cos(angle) * percent / 100.0;
    m.b = std::sin(angle) * percent / 100.0;
}

void SetYScale(Matrix &m, double percent)
{
    const double angle = std::atan2(-m.c, m.d);
    m.c = -std::sin(angle) * percent / 100.0;
    m.d = std::cos(angle) * percent / 100.0;
}

void SetRotation(Matrix &m, double degrees)
{
    const double xScale = std::hypot(m.a, m.b);
    const double yScale = std::hypot(m.c, m.d);
    const double radians = std::fmod(degrees, 360.0) / kDegrees;
    m.a = std::cos(radians) * xScale;
    m.b = std::sin(radians) * xScale;
    m.c = -std::sin(radians) * yScale;
    m.d = std::cos(radians) * yScale;
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
    if (extent <= 0)
        return;
    if (width)
        SetXScale(object->matrix, twips / extent * 100.0);
    else
        SetYScale(object->matrix, twips / extent * 100.0);
}

}  // namespace swf::avm1
