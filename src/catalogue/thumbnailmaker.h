#pragma once
// Makes one catalogue thumbnail from a movie file: reads its header, loads
// it into the engine, moves to the middle frame, paints it at 120 x 90 and
// frames it with the caption lines. Runs on the thumbnail worker's thread
// (or any thread); it shares nothing but the files of the thumbnail cache
// and never throws.

#include <QImage>
#include <QString>
#include <QStringList>

#include "catalogue/swfheader.h"
#include "catalogue/thumbnailpainter.h"

struct TThumbnail {
    QImage picture;        // the 120 x 120 tile; null only when not asked for
    TSwfHeader header;     // as the reader left it (all zero when it raised)
    bool failed = false;   // the header could not be read: no detail texts
    QString error;         // the reader's text when failed
};

// The frame a thumbnail shows, counted from 0 as the engine counts: half
// the recorded count; -1 (stay on the first frame) for 0 or 1 frames.
int ThumbnailFrame(uint32_t frameCount);

class TThumbnailCache;

// With `cache`, the movie's picture comes from the shared thumbnail cache
// when it holds a current one, and a picture painted here is kept there.
// With a cache and `paintTile` false, the tile is not painted: the movie's
// picture is only made sure of in the cache (not even decoded when it is
// there already), for a tile that will be painted when it is shown.
TThumbnail MakeThumbnail(const QString &path, const TThumbStyle &style, const TThumbnailCache *cache = nullptr,
                         bool paintTile = true);
