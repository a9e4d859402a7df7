#pragma once
// Where BitmapData meets the display: bitmaps that scripts show on clips
// (attachBitmap), clips drawn into bitmaps (draw) through a painter the
// player gives (the renderer lives above the script machine), and the
// library's pictures by linkage name (loadBitmap). One player's thread.

#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "swf/characters/scriptbitmap.h"
#include "swf/format/types.h"
#include "swf/timeline/filter.h"

namespace swf {
class Dictionary;
class DisplayList;
}  // namespace swf

namespace swf::avm1 {

class ClipObject;

// Paints `list` into `target`: `toTarget` maps the list's twips to the
// target's twips (20 to a pixel); only `clip` (pixels) is touched.
using ClipPainter = std::function<void(QImage &target, const DisplayList &list, const Matrix &toTarget,
                                       const ColorTransform &cx, const QRect &clip, bool smoothing)>;
// Draws `filter` on a premultiplied picture at one pixel per stage pixel.
using FilterPainter = std::function<void(const Filter &filter, QImage &picture)>;

class ClipBitmaps {
public:
    ClipBitmaps(const Dictionary *dictionary, const std::unordered_map<std::string, uint16_t> *exports)
        : dictionary_(dictionary), exports_(exports)
    {
    }

    void setPainter(ClipPainter painter) { painter_ = std::move(painter); }
    void setFilterPainter(FilterPainter painter) { filterPainter_ = std::move(painter); }

    // Shows `surface` on `parent` at a script depth, replacing what is
    // there; false when the depth is out of range or the clip is gone.
    bool attach(ClipObject *parent, std::shared_ptr<const BitmapSurface> surface, double depth, bool smoothing);
    // Draws the clip's content (without its own placement) into `target`.
    void drawClip(ClipObject *clip, QImage &target, const Matrix &toTarget, const ColorTransform &cx,
                  const QRect &area, bool smoothing) const;
    // The picture exported as `name` (any case below SWF 7 is the caller's
    // matter), or a null image.
    QImage exportedPicture(const std::string &name) const;
    // BitmapData.applyFilter's drawing; false where the player gave none.
    bool applyFilter(const Filter &filter, QImage &picture) const;

private:
    const Dictionary *dictionary_;
    const std::unordered_map<std::string, uint16_t> *exports_;
    ClipPainter painter_;
    FilterPainter filterPainter_;
};

}  // namespace swf::avm1
