#include "catalogue/tilerestorer.h"

#include "catalogue/thumbnailcache.h"
#include "catalogue/thumbnailmaker.h"

TTileRestorer::TTileRestorer(QObject *parent) : QObject(parent)
{
    pool_.setMaxThreadCount(1);
}

TTileRestorer::~TTileRestorer()
{
    pool_.clear();
    pool_.waitForDone();
}

// The destructor waits for the job in work before the restorer goes, and
// a result queued to a restorer that is gone is discarded with it.
void TTileRestorer::request(quint64 load, quint64 id, const QString &path, const TThumbStyle &style)
{
    pool_.start(
        [this, load, id, path, style] {
            const TThumbnailCache cache;
            const QImage tile = MakeThumbnail(path, style, &cache).picture;
            QMetaObject::invokeMethod(
                this, [this, load, id, tile] { emit restored(load, id, tile); }, Qt::QueuedConnection);
        },
        ++nextPriority_);
}

void TTileRestorer::forget() { pool_.clear(); }

void TTileRestorer::waitForDone() { pool_.waitForDone(); }
