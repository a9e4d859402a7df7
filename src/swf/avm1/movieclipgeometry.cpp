// MovieClip's geometry methods: getBounds and getRect in a target's space,
// hitTest against a point (by box or by shape) or another clip, and
// localToGlobal / globalToLocal, setMask, startDrag and stopDrag. Scripts speak pixels; the display list
// keeps twips, and points move between spaces in whole twips.

#include <cmath>

#include "swf/avm1/clipdrag.h"
#include "swf/avm1/clipgeometry.h"
#include "swf/avm1/clipmethods.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/interpreter.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/textfieldobject.h"
#include "swf/avm1/variables.h"
#include "swf/characters/areacontains.h"
#include "swf/characters/drawing.h"
#include "swf/timeline/hittest.h"
#include "swf/timeline/scriptmasks.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

// What getBounds reports for a clip that shows nothing: the largest
// coordinate twips can hold, on every side.
constexpr double kNoBounds = 0x7FFFFFF / kTwipsPerPixel;

// A clip given as an object or as a path from `from`.
ClipObject *ClipArg(Machine &m, ClipObject *from, const Value &value)
{
    Object *object = value.object();
    if (!object && value.isString()) {
        Activation activation;
        activation.baseClip = activation.target = from;
        object = ResolveTarget(m, activation, value.string());
    }
    return LiveClip(object);
}

Value BoundsObject(Machine &m, const std::optional<QRectF> &twips)
{
    Object *result = m.newObject();
    const QRectF box = twips.value_or(QRectF());
    m.set(result, "xMin", Value(twips ? box.left() / kTwipsPerPixel : kNoBounds));
    m.set(result, "xMax", Value(twips ? box.right() / kTwipsPerPixel : kNoBounds));
    m.set(result, "yMin", Value(twips ? box.top() / kTwipsPerPixel : kNoBounds));
    m.set(result, "yMax", Value(twips ? box.bottom() / kTwipsPerPixel : kNoBounds));
    return Value(result);
}

std::optional<QRectF> StageBounds(const ClipObject &clip, bool withLines = true)
{
    return ContentBounds(*clip.state(), ToStage(*clip.state()), withLines);
}

Value Bounds(Machine &m, const Value &self, const Args &args, bool withLines)
{
    ClipObject *clip = LiveClip(self);
    if (!clip)
        return {};
    ClipObject *space = args[0].isUndefined() ? clip : ClipArg(m, clip, args[0]);
    if (!space)
        return {};
    bool invertible = false;
    const QTransform fromStage = ToStage(*space->state()).inverted(&invertible);
    if (!invertible)
        return {};
    return BoundsObject(m, ContentBounds(*clip->state(), ToStage(*clip->state()) * fromStage, withLines));
}

Value GetBounds(Machine &m, const Value &self, const Args &args) { return Bounds(m, self, args, true); }
Value GetRect(Machine &m, const Value &self, const Args &args) { return Bounds(m, self, args, false); }

// Whether the clip's shapes (its drawing, its objects) cover a point of
// the stage.
bool ShapeContains(const ClipObject &clip, const QPointF &stagePoint)
{
    const TimelineState &state = *clip.state();
    const Dictionary &dictionary = state.context().dictionary;
    if (const DisplayObject *object = state.owner()) {
        bool invertible = false;
        const QTransform fromStage = ToStage(*state.parent()).inverted(&invertible);
        return invertible && ObjectContains(*object, fromStage.map(stagePoint), dictionary);
    }
    if (const Drawing *drawing = state.drawing(); drawing && AreaContains(drawing->hitArea(0), stagePoint))
        return true;
    const DisplayList &list = state.displayList();
    for (const auto &[depth, child] : list.objects())
        if (child.clipDepth == 0 && ObjectContains(child, stagePoint, dictionary)
            && ClipsAdmit(list, depth, stagePoint, dictionary))
            return true;
    return false;
}

Value HitTest(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = LiveClip(self);
    if (!clip)
        return {};
    if (args.size() >= 2) {
        const double x = m.toNumber(args[0]), y = m.toNumber(args[1]);
        if (!std::isfinite(x) || !std::isfinite(y))
            return Value(false);
        const QPointF point(x * kTwipsPerPixel, y * kTwipsPerPixel);
        if (m.toBoolean(args[2]))
            return Value(ShapeContains(*clip, point));
        const std::optional<QRectF> box = StageBounds(*clip);
        return Value(box && point.x() >= box->left() && point.x() <= box->right() && point.y() >= box->top()
                     && point.y() <= box->bottom());
    }
    ClipObject *other = args.size() == 1 ? ClipArg(m, clip, args[0]) : nullptr;
    if (!other)
        return Value(false);
    const std::optional<QRectF> mine = StageBounds(*clip), theirs = StageBounds(*other);
    return Value(mine && theirs && mine->left() <= theirs->right() && theirs->left() <= mine->right()
                 && mine->top() <= theirs->bottom() && theirs->top() <= mine->bottom());
}

// Moves the point object's x and y through `transform`, in whole twips.
void MapPoint(Machine &m, const Value &pointValue, const QTransform &transform)
{
    Object *point = pointValue.object();
    if (!point)
        return;
    const double x = m.toNumber(m.get(point, "x")), y = m.toNumber(m.get(point, "y"));
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    const QPointF mapped = transform.map(QPointF(std::round(x * kTwipsPerPixel), std::round(y * kTwipsPerPixel)));
    m.set(point, "x", Value(std::round(mapped.x()) / kTwipsPerPixel));
    m.set(point, "y", Value(std::round(mapped.y()) / kTwipsPerPixel));
}

Value LocalToGlobal(Machine &m, const Value &self, const Args &args)
{
    if (ClipObject *clip = LiveClip(self))
        MapPoint(m, args[0], ToStage(*clip->state()));
    return {};
}

Value GlobalToLocal(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = LiveClip(self);
    bool invertible = false;
    const QTransform fromStage = clip ? ToStage(*clip->state()).inverted(&invertible) : QTransform();
    if (invertible)
        MapPoint(m, args[0], fromStage);
    return {};
}

// A text field still on the stage, as one side of a mask.
TextFieldObject *LiveField(Object *object)
{
    auto *field = dynamic_cast<TextFieldObject *>(object);
    return field && field->parentState() && field->displayObject() ? field : nullptr;
}

MaskParty PartyOf(ClipObject *clip, TextFieldObject *field)
{
    if (clip)
        return MaskParty::Clip(clip->state());
    return field ? MaskParty::Field(field->displayObject()->ownCharacter, field->parentState()) : MaskParty();
}

// setMask(clip): the clip shows only where the other clip's shapes are;
// null unmasks it. Anything else masks it with nothing: it shows nothing.
// A text field may stand on either side (the method borrowed for it).
Value SetMask(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = LiveClip(self);
    TextFieldObject *field = clip ? nullptr : LiveField(self.object());
    TimelineState *home = clip ? clip->state() : field ? field->parentState() : nullptr;
    if (!home)
        return {};
    const MaskParty masked = PartyOf(clip, field);
    ScriptMasks &masks = home->context().masks;
    if (args[0].isNull()) {
        masks.remove(masked.key());
        return Value(true);
    }
    ClipObject *from = clip ? clip : field->parentClip();
    ClipObject *maskClip = from || args[0].isObject() ? ClipArg(m, from, args[0]) : nullptr;
    TextFieldObject *maskField = maskClip ? nullptr : LiveField(args[0].object());
    masks.set(masked, PartyOf(maskClip, maskField));
    // A clip layer of the timeline that takes part stops being one.
    for (DisplayObject *object : {clip ? clip->displayObject() : field->displayObject(),
                                  maskClip ? maskClip->displayObject()
                                  : maskField ? maskField->displayObject()
                                              : nullptr})
        if (object)
            object->clipDepth = 0;
    return Value(true);
}

// startDrag(lockCenter, left, top, right, bottom): the rectangle only
// when all four sides are given.
Value StartDrag(Machine &m, const Value &self, const Args &args)
{
    ClipObject *clip = LiveClip(self);
    if (!clip)
        return {};
    std::optional<QRectF> bounds;
    if (args.size() >= 5)
        bounds = QRectF(QPointF(m.toNumber(args[1]), m.toNumber(args[2])),
                        QPointF(m.toNumber(args[3]), m.toNumber(args[4])));
    if (auto *drags = dynamic_cast<ClipDragHost *>(&clip->binding()))
        drags->startDrag(clip, m.toBoolean(args[0]), bounds);
    return {};
}

// Ends whichever drag there is, whichever clip it is called on.
Value StopDrag(Machine &, const Value &self, const Args &)
{
    ClipObject *clip = LiveClip(self);
    if (auto *drags = clip ? dynamic_cast<ClipDragHost *>(&clip->binding()) : nullptr)
        drags->stopDrag();
    return {};
}

}  // namespace

// setMask came with players of version 6, getRect with version 8.
void InstallClipGeometryMethods(Machine &m)
{
    const std::pair<const char *, NativeFunction> methods[] = {
        {"getBounds", GetBounds},
        {"hitTest", HitTest},
        {"localToGlobal", LocalToGlobal},
        {"globalToLocal", GlobalToLocal},
        {"startDrag", StartDrag},
        {"stopDrag", StopDrag},
    };
    for (const auto &[name, fn] : methods)
        m.defineMethod(m.clipProto, name, fn);
    if (m.version() >= 6)
        m.defineMethod(m.clipProto, "setMask", SetMask);
    if (m.version() >= 8)
        m.defineMethod(m.clipProto, "getRect", GetRect);
}

}  // namespace swf::avm1
