#include "swf/avm1/clipdrag.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/clipgeometry.h"
#include "swf/avm1/clipobject.h"
#include "swf/characters/areacontains.h"
#include "swf/timeline/button.h"
#include "swf/characters/drawing.h"
#include "swf/timeline/hittest.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

bool IsClip(const DisplayObject &object)
{
    return object.children && !dynamic_cast<const ButtonCharacter *>(object.character);
}

// `point` in the coordinates of `timeline`.
TimelineState *ClipUnderIn(TimelineState &timeline, const QPointF &point, const TimelineState *skip)
{
    const DisplayList &list = timeline.displayList();
    for (auto it = list.objects().rbegin(); it != list.objects().rend(); ++it) {
        const auto &[depth, object] = *it;
        if (object.clipDepth > 0 || !object.visible || object.unloading || object.children.get() == skip)
            continue;
        TimelineState *found = nullptr;
        if (IsClip(object)) {
            if (const auto local = ToLocal(object.matrix, point))
                found = ClipUnderIn(*object.children, *local, skip);
        } else if (ObjectContains(object, point, list.dictionary())) {
            found = &timeline;
        }
        if (found && ClipsAdmit(list, depth, point, list.dictionary()))
            return found;
    }
    // What the drawing methods drew lies below the clip's objects.
    const Drawing *drawing = timeline.drawing();
    return drawing && AreaContains(drawing->hitArea(0), point) ? &timeline : nullptr;
}

QPointF PointerInParent(const TimelineState &state, bool &ok)
{
    ok = false;
    if (!state.parent())
        return {};
    const QTransform fromStage = ToStage(*state.parent()).inverted(&ok);
    return fromStage.map(state.context().mouse);
}

}  // namespace

TimelineState *ClipUnder(const std::vector<TimelineState *> &levelsTopFirst, const QPointF &stagePoint,
                         const TimelineState *skip)
{
    for (TimelineState *level : levelsTopFirst)
        if (level && level != skip)
            if (TimelineState *found = ClipUnderIn(*level, stagePoint, skip))
                return found;
    return nullptr;
}

void ClipDrag::start(ClipObject *clip, bool lockCenter, const std::optional<QRectF> &bounds,
                     const std::vector<TimelineState *> &levelsTopFirst)
{
    clip_ = nullptr;
    const DisplayObject *object = clip ? clip->displayObject() : nullptr;
    bool ok = false;
    const QPointF pointer = object ? PointerInParent(*clip->state(), ok) : QPointF();
    if (!ok)
        return;
    clip_ = clip;
    offset_ = lockCenter ? QPointF() : QPointF(object->matrix.tx, object->matrix.ty) - pointer;
    bounds_.reset();
    if (bounds)
        bounds_ = QRectF(bounds->topLeft() * kTwipsPerPixel, bounds->bottomRight() * kTwipsPerPixel).normalized();
    follow(levelsTopFirst);
}

void ClipDrag::stop(const std::vector<TimelineState *> &levelsTopFirst)
{
    follow(levelsTopFirst);
    clip_ = nullptr;
}

void ClipDrag::forget(const ClipObject *clip)
{
    if (clip == clip_)
        clip_ = nullptr;
    dropTargets_.erase(clip);
}

std::string ClipDrag::dropTargetOf(const ClipObject *clip) const
{
    const auto it = dropTargets_.find(clip);
    return it == dropTargets_.end() ? std::string() : it->second;
}

void ClipDrag::follow(const std::vector<TimelineState *> &levelsTopFirst)
{
    DisplayObject *object = clip_ ? clip_->displayObject() : nullptr;
    bool ok = false;
    const QPointF pointer = object ? PointerInParent(*clip_->state(), ok) : QPointF();
    if (!ok)
        return;
    QPointF at = pointer + offset_;
    if (bounds_) {
        at.setX(std::clamp(at.x(), bounds_->left(), bounds_->right()));
        at.setY(std::clamp(at.y(), bounds_->top(), bounds_->bottom()));
    }
    object->matrix.tx = std::round(at.x());
    object->matrix.ty = std::round(at.y());
    object->transformedByScript = true;
    const QPointF origin = ToStage(*clip_->state()).map(QPointF());
    TimelineState *target = ClipUnder(levelsTopFirst, origin, clip_->state());
    dropTargets_[clip_] = target ? clip_->binding().objectFor(target)->slashPath() : std::string();
}

}  // namespace swf::avm1
