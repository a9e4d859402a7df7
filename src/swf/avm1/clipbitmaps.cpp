#include "swf/avm1/clipbitmaps.h"

#include "swf/avm1/clipobject.h"
#include "swf/avm1/scriptdepth.h"
#include "swf/characters/bitmap.h"
#include "swf/characters/dictionary.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

bool ClipBitmaps::attach(ClipObject *parent, std::shared_ptr<const BitmapSurface> surface, double depth,
                         bool smoothing)
{
    uint16_t listDepth = 0;
    TimelineState *state = parent ? parent->state() : nullptr;
    if (!state || !ListDepth(depth, listDepth))
        return false;
    DisplayList &list = state->displayList();
    list.remove(listDepth);
    DisplayObject *placed = list.placeNew(listDepth, 0, nullptr, std::string());
    if (!placed)
        return false;
    placed->ownCharacter = std::make_shared<SurfaceCharacter>(std::move(surface), smoothing);
    placed->character = placed->ownCharacter.get();
    return true;
}

void ClipBitmaps::drawClip(ClipObject *clip, QImage &target, const Matrix &toTarget, const ColorTransform &cx,
                           const QRect &area, bool smoothing) const
{
    if (painter_ && clip && clip->state())
        painter_(target, clip->state()->displayList(), toTarget, cx, area, smoothing);
}

bool ClipBitmaps::applyFilter(const Filter &filter, QImage &picture) const
{
    if (!filterPainter_)
        return false;
    filterPainter_(filter, picture);
    return true;
}

QImage ClipBitmaps::exportedPicture(const std::string &name) const
{
    if (!exports_ || !dictionary_)
        return {};
    auto it = exports_->find(name);
    if (it == exports_->end())
        return {};
    const auto *picture = dictionary_->findAs<BitmapCharacter>(it->second);
    return picture ? picture->image() : QImage();
}

}  // namespace swf::avm1
