// flash.geom.Transform: a clip's matrix and colour transform (its own and
// those it is drawn with) and its bounds on the stage, read and written
// through accessors on the prototype; MovieClip.transform makes one.

#include <memory>

#include "swf/avm1/clipgeometry.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/geomobjects.h"
#include "swf/avm1/machine.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

struct TransformState : NativeState {
    ClipObject *clip = nullptr;

    void collectReferences(std::vector<Object *> &out) const override
    {
        if (clip)
            out.push_back(clip);
    }
};

// The placed object a Transform acts on, while its clip is on the stage.
DisplayObject *PlacementOf(const Value &self)
{
    const auto *state = NativeOf<TransformState>(self);
    return state && state->clip ? state->clip->displayObject() : nullptr;
}

// From the clip's own placement up to the root's.
template <class T, class F> T Concatenated(const Value &self, F member)
{
    const auto *state = NativeOf<TransformState>(self);
    T result;
    for (TimelineState *timeline = state && state->clip ? state->clip->state() : nullptr; timeline;
         timeline = timeline->parent())
        if (const DisplayObject *placement = timeline->owner())
            result = member(*placement) * result;
    return result;
}

Value GetMatrix(Machine &m, const Value &self, const Args &)
{
    const DisplayObject *placement = PlacementOf(self);
    return placement ? Value(NewMatrix(m, placement->matrix)) : Value();
}

Value SetMatrix(Machine &m, const Value &self, const Args &args)
{
    DisplayObject *placement = PlacementOf(self);
    Matrix matrix;
    if (placement && ReadMatrix(m, args[0].object(), matrix)) {
        placement->matrix = matrix;
        placement->transformedByScript = true;
    }
    return {};
}

Value GetColorTransform(Machine &m, const Value &self, const Args &)
{
    const DisplayObject *placement = PlacementOf(self);
    return placement ? Value(NewColorTransform(m, ColorTransformState::From(placement->colorTransform))) : Value();
}

Value SetColorTransform(Machine &, const Value &self, const Args &args)
{
    DisplayObject *placement = PlacementOf(self);
    const auto *colour = NativeOf<ColorTransformState>(args[0]);
    if (placement && colour) {
        placement->colorTransform = colour->toDisplay();
        placement->transformedByScript = true;
    }
    return {};
}

Value GetConcatenatedMatrix(Machine &m, const Value &self, const Args &)
{
    if (!PlacementOf(self))
        return {};
    return Value(NewMatrix(m, Concatenated<Matrix>(self, [](const DisplayObject &o) { return o.matrix; })));
}

Value GetConcatenatedColorTransform(Machine &m, const Value &self, const Args &)
{
    if (!PlacementOf(self))
        return {};
    const ColorTransform colour =
        Concatenated<ColorTransform>(self, [](const DisplayObject &o) { return o.colorTransform; });
    return Value(NewColorTransform(m, ColorTransformState::From(colour)));
}

// The clip's bounds on the stage, in whole pixels.
Value GetPixelBounds(Machine &m, const Value &self, const Args &)
{
    const auto *state = NativeOf<TransformState>(self);
    if (!PlacementOf(self))
        return {};
    const TimelineState *parent = state->clip->state()->parent();
    Matrix toStage;
    for (; parent; parent = parent->parent())
        if (parent->owner())
            toStage = parent->owner()->matrix * toStage;
    const QRectF bounds = toStage.toQTransform().mapRect(BoundsInParent(*state->clip));
    const QRect pixels = QRectF(bounds.topLeft() / 20.0, bounds.size() / 20.0).toAlignedRect();
    return Value(NewRectangle(m, pixels.x(), pixels.y(), pixels.width(), pixels.height()));
}

Value Construct(Machine &, const Value &self, const Args &args)
{
    auto *clip = dynamic_cast<ClipObject *>(args[0].object());
    if (Object *object = self.object(); object && clip) {
        auto state = std::make_unique<TransformState>();
        state->clip = clip;
        object->native = std::move(state);
    }
    return {};
}

Object *NewTransform(Machine &m, ClipObject *clip)
{
    Object *object = m.make<Object>(m.builtinPrototypes["flash.geom.Transform"]);
    Construct(m, Value(object), Args({Value(clip)}));
    return object;
}

Value GetClipTransform(Machine &m, const Value &self, const Args &)
{
    auto *clip = dynamic_cast<ClipObject *>(self.object());
    return clip && clip->state() ? Value(NewTransform(m, clip)) : Value();
}

// Giving a clip another clip's Transform copies that clip's matrix and
// colour transform.
Value SetClipTransform(Machine &, const Value &self, const Args &args)
{
    auto *clip = dynamic_cast<ClipObject *>(self.object());
    DisplayObject *target = clip ? clip->displayObject() : nullptr;
    const DisplayObject *source = PlacementOf(args[0]);
    if (target && source && target != source) {
        target->matrix = source->matrix;
        target->colorTransform = source->colorTransform;
        target->transformedByScript = true;
    }
    return {};
}

}  // namespace

void InstallTransformClass(Machine &m, Object *package)
{
    Object *proto = m.newObject();
    DefinePackageClass(m, package, "Transform", "flash.geom.Transform", proto, Construct);
    DefineAccessor(m, proto, "matrix", GetMatrix, SetMatrix);
    DefineAccessor(m, proto, "concatenatedMatrix", GetConcatenatedMatrix, nullptr);
    DefineAccessor(m, proto, "colorTransform", GetColorTransform, SetColorTransform);
    DefineAccessor(m, proto, "concatenatedColorTransform", GetConcatenatedColorTransform, nullptr);
    DefineAccessor(m, proto, "pixelBounds", GetPixelBounds, nullptr);
    DefineAccessor(m, m.clipProto, "transform", GetClipTransform, SetClipTransform, kDontEnum | kVersion8Up);
}

}  // namespace swf::avm1
