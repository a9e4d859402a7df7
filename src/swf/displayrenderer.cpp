#include "swf/displayrenderer.h"

#include <QPainter>
#include <algorithm>

#include "swf/timelinestate.h"

namespace swf {

DisplayRenderer::DisplayRenderer(RenderContext &context, const QPainterPath &baseClip)
    : context_(context), baseClip_(baseClip)
{
}

void DisplayRenderer::renderList(const DisplayList &list, const Matrix &toStage, const ColorTransform &cx)
{
    const size_t firstOfLevel = clips_.size();
    for (const auto &[depth, object] : list.objects()) {
        closeClipsBelow(firstOfLevel, depth);
        if (!object.visible)
            continue;
        const Matrix objectToStage = toStage * object.matrix;
        if (object.clipDepth > 0) {
            QPainterPath outline;
            addOutline(object, objectToStage, outline);
            clips_.push_back({outline, object.clipDepth});
            clipsChanged_ = true;
            continue;
        }
        renderObject(object, objectToStage, cx * object.colorTransform);
    }
    if (clips_.size() > firstOfLevel) {
        clips_.resize(firstOfLevel);
        clipsChanged_ = true;
    }
}

void DisplayRenderer::renderObject(const DisplayObject &object, const Matrix &toStage,
                                   const ColorTransform &cx)
{
    if (object.children) {
        renderList(object.children->displayList(), toStage, cx);
        return;
    }
    if (!object.character)
        return;
    if (clipsChanged_)
        applyClips();
    object.character->render(context_, toStage, cx, object.ratio);
}

void DisplayRenderer::addOutline(const DisplayObject &object, const Matrix &toStage, QPainterPath &out) const
{
    if (object.children) {
        for (const auto &entry : object.children->displayList().objects()) {
            const DisplayObject &child = entry.second;
            if (child.clipDepth == 0)
                addOutline(child, toStage * child.matrix, out);
        }
        return;
    }
    if (!object.character)
        return;
    const QPainterPath path = object.character->outline(object.ratio);
    if (path.isEmpty())
        return;
    const QPainterPath device = (toStage.toQTransform() * context_.stageToDevice).map(path);
    out = out.isEmpty() ? device : out.united(device);
}

void DisplayRenderer::closeClipsBelow(size_t firstOfLevel, uint16_t depth)
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
        painter.setClipPath(clip.devicePath, Qt::IntersectClip);
    painter.setWorldTransform(saved);
    clipsChanged_ = false;
}

}  // namespace swf
