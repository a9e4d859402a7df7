#include "swf/render/displayrenderer.h"

#include <QPainter>
#include <QImage>
#include <algorithm>
#include <cmath>

#include "swf/characters/drawing.h"
#include "swf/characters/textfieldcharacter.h"
#include "swf/render/filterpainter.h"
#include "swf/timeline/playercontext.h"
#include "swf/timeline/scriptmasks.h"
#include "swf/timeline/timelinestate.h"

namespace swf {

namespace {

enum BlendMode : uint8_t {
    kLayer = 2,
    kMultiply = 3,
    kScreen = 4,
    kLighten = 5,
    kDarken = 6,
    kDifference = 7,
    kAdd = 8,
    kSubtract = 9,
    kInvert = 10,
    kAlpha = 11,
    kErase = 12,
    kOverlay = 13,
    kHardLight = 14,
};

bool IsBlended(uint8_t mode)
{
    return mode >= kLayer && mode <= kHardLight;
}

QPainter::CompositionMode CompositionFor(uint8_t mode)
{
    switch (mode) {
    case kMultiply: return QPainter::CompositionMode_Multiply;
    case kScreen: return QPainter::CompositionMode_Screen;
    case kLighten: return QPainter::CompositionMode_Lighten;
    case kDarken: return QPainter::CompositionMode_Darken;
    case kDifference: return QPainter::CompositionMode_Difference;
    case kAdd: return QPainter::CompositionMode_Plus;
    case kAlpha: return QPainter::CompositionMode_DestinationIn;
    case kErase: return QPainter::CompositionMode_DestinationOut;
    case kOverlay: return QPainter::CompositionMode_Overlay;
    case kHardLight: return QPainter::CompositionMode_HardLight;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

// Blend modes that QPainter has no composition mode for, done by hand on
// the target picture: subtract takes the layer's colour from what lies
// below, invert turns what lies below to its negative, both on the
// premultiplied values (so transparent below counts as black). The layer's
// alpha says how much of the result shows; alpha adds up as in normal
// drawing.
void ComposeByHand(QImage &target, const QImage &layer, const QPoint &at, uint8_t mode)
{
    const QRect area = QRect(at, layer.size()).intersected(target.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto *dst = reinterpret_cast<QRgb *>(target.scanLine(y));
        const auto *src = reinterpret_cast<const QRgb *>(layer.constScanLine(y - at.y()));
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb s = src[x - at.x()];
            if (qAlpha(s) == 0)
                continue;
            const QRgb d = dst[x];
            const int sa = qAlpha(s);
            const int dstChannel[3] = {qRed(d), qGreen(d), qBlue(d)};
            const int srcChannel[3] = {qRed(s), qGreen(s), qBlue(s)};
            int out[3];
            for (int c = 0; c < 3; ++c) {
                const int blended = mode == kSubtract ? std::max(0, dstChannel[c] - srcChannel[c])
                                                      : 255 - dstChannel[c];
                out[c] = (sa * blended + (255 - sa) * dstChannel[c] + 127) / 255;
            }
            const int alpha = sa + (qAlpha(d) * (255 - sa) + 127) / 255;
            dst[x] = qRgba(std::min(out[0], alpha), std::min(out[1], alpha), std::min(out[2], alpha), alpha);
        }
    }
}

// Layers and the painting into them: filling, drawing, composing back.
constexpr int kLayerWork = 4;

int64_t TargetPixels(const RenderContext &context)
{
    const QPaintDevice *device = context.painter->device();
    return int64_t(device->width()) * device->height();
}

// What the script masks know an object by: a clip's timeline, or the
// character of a text field.
const void *MaskKey(const DisplayObject &object)
{
    return object.children ? static_cast<const void *>(object.children.get()) : object.character;
}

// A text field masks with its embedded letters where they are; device
// text masks everything away.
QPainterPath FieldMaskArea(const Character *field)
{
    const auto *text = dynamic_cast<const TextFieldCharacter *>(field);
    return text ? text->letters() : QPainterPath();
}

}  // namespace

bool DisplayRenderer::OffscreenBudget::spend(int64_t work)
{
    if (work > left_)
        return false;
    left_ -= work;
    return true;
}

DisplayRenderer::DisplayRenderer(RenderContext &context, const QPainterPath &baseClip)
    : context_(context),
      baseClip_(baseClip),
      insideLayer_(false),
      ownBudget_(kOffscreenWorkPerPixel * TargetPixels(context)),
      budget_(ownBudget_)
{
}

DisplayRenderer::DisplayRenderer(RenderContext &context, const QPainterPath &baseClip, OffscreenBudget &budget)
    : context_(context), baseClip_(baseClip), insideLayer_(true), budget_(budget)
{
}

void DisplayRenderer::renderList(const DisplayList &list, const Matrix &toStage, const ColorTransform &cx)
{
    // A movie loaded into a clip fills with the bitmaps of its own file.
    const Dictionary *outerDictionary = context_.dictionary;
    if (list.ownDictionary())
        context_.dictionary = list.ownDictionary();
    const size_t firstOfLevel = clips_.size();
    for (const auto &[depth, object] : list.objects()) {
        closeClipsBelow(firstOfLevel, depth);
        if (!object.visible || isScriptMask(object))
            continue;
        const Matrix objectToStage = toStage * object.matrix;
        if (object.clipDepth > 0) {
            openClip(firstOfLevel, object, objectToStage);
            continue;
        }
        renderObject(object, objectToStage, cx * object.colorTransform);
    }
    if (clips_.size() > firstOfLevel) {
        clips_.resize(firstOfLevel);
        clipsChanged_ = true;
    }
    context_.dictionary = outerDictionary;
}

void DisplayRenderer::renderTimeline(const TimelineState &timeline, const Matrix &toStage, const ColorTransform &cx)
{
    if (const Drawing *drawing = timeline.drawing(); drawing && !drawing->isEmpty()) {
        if (clipsChanged_)
            applyClips();
        drawing->render(context_, toStage, cx, 0);
    }
    masks_ = &timeline.context().masks;
    renderList(timeline.displayList(), toStage, cx);
}

void DisplayRenderer::renderObject(const DisplayObject &object, const Matrix &toStage,
                                   const ColorTransform &cx)
{
    const ScriptMasks *masks = masksOf(object);
    const bool masked = masks && masks->isMasked(MaskKey(object));
    if (masked)
        openScriptMask(*masks->maskPartyOf(MaskKey(object)));
    if (IsBlended(object.blendMode) || !object.filters.empty())
        renderLayered(object, toStage, cx);
    else
        renderContent(object, toStage, cx);
    if (masked) {
        clips_.pop_back();
        clipsChanged_ = true;
    }
}

const ScriptMasks *DisplayRenderer::masksOf(const DisplayObject &object) const
{
    return object.children ? &object.children->context().masks : masks_;
}

// A clip or a field that a script made the mask of another is drawn only
// as that one's mask.
bool DisplayRenderer::isScriptMask(const DisplayObject &object) const
{
    const ScriptMasks *masks = masksOf(object);
    return masks && masks->isMask(MaskKey(object));
}

// The mask's shapes where they are on the stage clip the object and all
// it holds; without a mask nothing shows.
void DisplayRenderer::openScriptMask(const MaskParty &mask)
{
    ActiveClip clip;
    clip.clipDepth = UINT16_MAX;
    clip.devicePaths.emplace_back();
    if (mask.clip)
        addTimelineOutline(*mask.clip, TimelineToStage(*mask.clip), clip.devicePaths.back());
    if (mask.parent)
        for (const auto &entry : mask.parent->displayList().objects())
            if (entry.second.character == mask.fieldKey)
                addPath(FieldMaskArea(mask.fieldKey), TimelineToStage(*mask.parent) * entry.second.matrix,
                        clip.devicePaths.back());
    clips_.push_back(std::move(clip));
    clipsChanged_ = true;
}

double DisplayRenderer::pixelsPerStagePixel() const
{
    return std::sqrt(std::fabs(context_.stageToDevice.determinant())) * kTwipsPerPixel;
}

QRect DisplayRenderer::layerArea(const DisplayObject &object, const Matrix &toStage) const
{
    const QPaintDevice *device = context_.painter->device();
    float reach = 0;
    for (const Filter &filter : object.filters)
        reach += filter.reach();
    const int margin = int(std::ceil(reach * pixelsPerStagePixel())) + 1;
    // A full-size layer per object is what costs.
    QRect area = baseClip_.boundingRect().toAlignedRect().intersected(QRect(0, 0, device->width(), device->height()));
    const QRectF box = deviceBounds(object, toStage);
    if (!box.isEmpty())
        area = area.intersected(box.toAlignedRect().adjusted(-margin, -margin, margin, margin));
    return area;
}

QImage DisplayRenderer::renderLayer(const DisplayObject &object, const Matrix &toStage,
                                    const ColorTransform &cx, const QRect &area)
{
    QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull())
        return layer;
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        layerPainter.setRenderHints(context_.painter->renderHints());
        RenderContext layerContext = context_;
        layerContext.painter = &layerPainter;
        const QTransform shift = QTransform::fromTranslate(-area.x(), -area.y());
        layerContext.stageToDevice = context_.stageToDevice * shift;
        DisplayRenderer(layerContext, shift.map(baseClip_), budget_).renderContent(object, toStage, cx);
    }
    for (const Filter &filter : object.filters) {
        if (!budget_.spend(FilterWork(filter, layer.size())))
            break;
        ApplyFilter(filter, layer, pixelsPerStagePixel());
    }
    return layer;
}

void DisplayRenderer::renderLayered(const DisplayObject &object, const Matrix &toStage,
                                    const ColorTransform &cx)
{
    const uint8_t mode = IsBlended(object.blendMode) ? object.blendMode : 0;
    if ((mode == kAlpha || mode == kErase) && !insideLayer_)
        return;
    const QRect area = layerArea(object, toStage);
    if (area.isEmpty())
        return;
    if (!budget_.spend(kLayerWork * int64_t(area.width()) * area.height())) {
        if (mode != kAlpha && mode != kErase)
            renderContent(object, toStage, cx);
        return;
    }
    const QImage layer = renderLayer(object, toStage, cx, area);
    if (layer.isNull())
        return;
    QPainter &painter = *context_.painter;
    applyClips();
    const QTransform saved = painter.worldTransform();
    painter.resetTransform();
    auto *target = dynamic_cast<QImage *>(painter.device());
    if ((mode == kSubtract || mode == kInvert) && target && clips_.empty()) {
        ComposeByHand(*target, layer, area.topLeft(), mode);
    } else {
        if (mode == kAlpha)  // keeps the layer outside the object's box
            painter.setClipRect(deviceBounds(object, toStage), Qt::IntersectClip);
        painter.setCompositionMode(CompositionFor(mode));
        painter.drawImage(area.topLeft(), layer);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    painter.setWorldTransform(saved);
    if (mode == kAlpha)
        clipsChanged_ = true;
}

QRectF DisplayRenderer::deviceBounds(const DisplayObject &object, const Matrix &toStage) const
{
    QRectF bounds;
    if (object.children) {
        if (const Drawing *drawing = object.children->drawing(); drawing && !drawing->isEmpty())
            bounds = (toStage.toQTransform() * context_.stageToDevice).mapRect(drawing->bounds().toQRectF());
        for (const auto &entry : object.children->displayList().objects())
            bounds |= deviceBounds(entry.second, toStage * entry.second.matrix);
    } else if (object.character) {
        const QRectF own = object.character->bounds().toQRectF();
        bounds = (toStage.toQTransform() * context_.stageToDevice).mapRect(own);
    }
    return bounds;
}

// The background belongs to the object's cached picture, so it fills the
// device-pixel box around the object and takes the colour transform; its
// alpha is ignored, as the background is opaque by definition.
void DisplayRenderer::fillBackground(const DisplayObject &object, const Matrix &toStage,
                                     const ColorTransform &cx)
{
    const QRectF bounds = deviceBounds(object, toStage);
    const QRect box(QPoint(qRound(bounds.left()), qRound(bounds.top())),
                    QPoint(qRound(bounds.right()) - 1, qRound(bounds.bottom()) - 1));
    if (bounds.isEmpty() || box.isEmpty())
        return;
    if (clipsChanged_)
        applyClips();
    Rgba colour = cx.apply(object.background);
    colour.a = 255;
    QPainter &painter = *context_.painter;
    const QTransform saved = painter.worldTransform();
    painter.resetTransform();
    painter.fillRect(box, colour.toQColor());
    painter.setWorldTransform(saved);
}

void DisplayRenderer::renderContent(const DisplayObject &object, const Matrix &toStage,
                                    const ColorTransform &cx)
{
    if (object.hasBackground)
        fillBackground(object, toStage, cx);
    if (object.children) {
        renderTimeline(*object.children, toStage, cx);
        return;
    }
    if (!object.character)
        return;
    if (clipsChanged_)
        applyClips();
    object.character->render(context_, toStage, cx, object.ratio);
}

void DisplayRenderer::addTimelineOutline(const TimelineState &timeline, const Matrix &toStage, QPainterPath &out) const
{
    if (const Drawing *drawing = timeline.drawing())
        addPath(drawing->outline(0), toStage, out);
    for (const auto &entry : timeline.displayList().objects()) {
        const DisplayObject &child = entry.second;
        if (child.clipDepth == 0)
            addOutline(child, toStage * child.matrix, out);
    }
}

void DisplayRenderer::addOutline(const DisplayObject &object, const Matrix &toStage, QPainterPath &out) const
{
    if (object.children) {
        addTimelineOutline(*object.children, toStage, out);
        return;
    }
    if (object.character)
        addPath(object.character->outline(object.ratio), toStage, out);
}

void DisplayRenderer::addPath(const QPainterPath &path, const Matrix &toStage, QPainterPath &out) const
{
    if (path.isEmpty())
        return;
    const QPainterPath device = (toStage.toQTransform() * context_.stageToDevice).map(path);
    out = out.isEmpty() ? device : out.united(device);
}

void DisplayRenderer::openClip(size_t firstOfLevel, const DisplayObject &object, const Matrix &toStage)
{
    ActiveClip clip;
    clip.clipDepth = object.clipDepth;
    clip.devicePaths.emplace_back();
    addOutline(object, toStage, clip.devicePaths.back());
    for (size_t i = firstOfLevel; i < clips_.size(); ++i)
        clip.devicePaths.insert(clip.devicePaths.end(), clips_[i].devicePaths.begin(),
                                clips_[i].devicePaths.end());
    clips_.push_back(std::move(clip));
    clipsChanged_ = true;
}

void DisplayRenderer::closeClipsBelow(size_t firstOfLevel, int depth)
{
    const auto ended = [depth](const ActiveClip &clip) { return clip.clipDepth < depth; };
    const auto begin = clips_.begin() + std::ptrdiff_t(firstOfLevel);
    const auto kept = std::remove_if(begin, clips_.end(), ended);
    if (kept != clips_.end()) {
        clips_.erase(kept, clips_.end());
        clipsChanged_ = true;
    }
}

void DisplayRenderer::applyClips()
{
    QPainter &painter = *context_.painter;
    const QTransform saved = painter.worldTransform();
    painter.resetTransform();
    painter.setClipPath(baseClip_, Qt::ReplaceClip);
    for (const ActiveClip &clip : clips_)
        for (const QPainterPath &path : clip.devicePaths)
            painter.setClipPath(path, Qt::IntersectClip);
    painter.setWorldTransform(saved);
    clipsChanged_ = false;
}

}  // namespace swf
