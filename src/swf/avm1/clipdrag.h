#pragma once
// The one clip of a player that follows the pointer (startDrag): it keeps
// its distance to the pointer, or puts its origin on it (lockCenter),
// inside an optional rectangle of its parent's space. While it moves, the
// topmost clip under its origin becomes its _droptarget, which stays when
// the drag ends. A new drag ends the old one. The player's thread.

#include <QPointF>
#include <QRectF>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace swf {
class TimelineState;
}

namespace swf::avm1 {

class ClipObject;

// What startDrag, stopDrag and _droptarget reach (the script engine).
class ClipDragHost {
public:
    virtual ~ClipDragHost() = default;
    // `bounds` in the parent's pixels.
    virtual void startDrag(ClipObject *clip, bool lockCenter, const std::optional<QRectF> &bounds) = 0;
    virtual void stopDrag() = 0;
    // The slash path of where the clip's last drag left it; "" when none.
    virtual std::string dropTargetOf(const ClipObject *clip) const = 0;
};

class ClipDrag {
public:
    // `bounds`: in the parent's space, pixels; its sides may come in any order.
    void start(ClipObject *clip, bool lockCenter, const std::optional<QRectF> &bounds,
               const std::vector<TimelineState *> &levelsTopFirst);
    void stop(const std::vector<TimelineState *> &levelsTopFirst);
    // The pointer moved: the clip follows it.
    void follow(const std::vector<TimelineState *> &levelsTopFirst);
    // The clip is going away.
    void forget(const ClipObject *clip);
    ClipObject *dragged() const { return clip_; }
    std::string dropTargetOf(const ClipObject *clip) const;

private:
    ClipObject *clip_ = nullptr;
    // The clip's position less the pointer's, in twips of the parent.
    QPointF offset_;
    std::optional<QRectF> bounds_;
    std::unordered_map<const ClipObject *, std::string> dropTargets_;
};

// The innermost clip whose shapes cover `stagePoint` (twips) on the
// topmost level that has one, leaving out `skip` and what it holds; null
// when nothing does.
TimelineState *ClipUnder(const std::vector<TimelineState *> &levelsTopFirst, const QPointF &stagePoint,
                         const TimelineState *skip);

}  // namespace swf::avm1
