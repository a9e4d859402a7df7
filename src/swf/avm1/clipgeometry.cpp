#include "swf/avm1/clipgeometry.h"

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
    // The player keeps bounds in whole twips.
    const QRectF mapped = transform.mapRect(bounds.toQRectF());
    return QRectF(QPointF(std::round(mapped.left()), std::round(mapped.top())),
                  QPointF(std::round(mapped.right()), std::round(mapped.bottom())));
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

// A mirrored matrix (negative determinant) reads as a negative x scale
// with the rotation of the unmirrored x axis.
bool Mirrored(const Matrix &m) { return double(m.a) * m.d - double(m.b) * m.c < 0; }

}  // namespace

double XScale(const Matrix &m)
{
    const double scale = std::hypot(m.a, m.b) * 100.0;
    return Mirrored(m) ? -scale : scale;
}

double YScale(const Matrix &m) { return std::hypot(m.c, m.d) * 100.0; }

double Rotation(const Matrix &m)
{
    if (m.a == 0 && m.b == 0)
        return 0;
    return Mirrored(m) ? std::atan2(-m.b, -m.a) * kDegrees : std::atan2(m.b, m.a) * kDegrees;
}

void SetXScale(Matrix &m, double percent)
{
    const double angle = Rotation(m) / kDegrees;
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
    const double xScale = XScale(m) / 100.0;
    const double yScale = std::hypot(m.c, m.d);
    const double radians = std::fmod(degrees, 360.0) / kDegrees;
    m.a = std::cos(radians) * xScale;
    m.b = std::sin(radians) * xScale;
    m.c = -std::sin(radians) * yScale;
    m.d = std::cos(radians) * yScale;
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
        SetXScale(object->matrix, twips / extent * 100.0);
    else
        SetYScale(object->matrix, twips / extent * 100.0);
}

}  // namespace swf::avm1
