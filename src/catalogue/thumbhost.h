#pragma once
// What the thumbnail worker may ask of the catalogue view. Every call is
// carried out on the interface thread (the worker blocks meanwhile), and
// every call names the load it belongs to: a view that has been cleared
// and refilled since answers "nothing" (an invalid state, -1), so a late
// request of a stopped worker can never reach the new list.

#include <QList>
#include <QString>
#include <QtGlobal>

struct TThumbnail;

// One item as the worker sees it at the moment of asking.
struct TThumbItemState {
    bool valid = false;
    quint64 id = 0;        // stable while the item lives
    bool hasImage = false;
    QString path;
};

// The item the worker is to make next, and how.
struct TThumbWork {
    TThumbItemState item;  // invalid: nothing is left to make
    bool onScreen = false;
    // Whether the tile will be kept in memory; otherwise the worker only
    // makes sure of the movie's picture in the thumbnail cache, and the
    // tile is painted when its item is shown.
    bool paintTile = true;
};

class TThumbHost {
public:
    virtual ~TThumbHost() = default;
    // Shows "Total file: N" and the progress range; answers N.
    virtual int workerStarted(quint64 load) = 0;
    // The first item on screen that still lacks a thumbnail: from the
    // first item on the diagonal (20, 20), (21, 21)... of the client area
    // (probing no further than the client area reaches) onwards, while the
    // icons' tops lie between -99 and the client height and their left
    // edges inside the client width. When the screen is done, the first
    // item without a thumbnail whose id is `nextId` or larger (the walk
    // goes on where it was even when items were removed meanwhile).
    virtual TThumbWork nextWork(quint64 load, quint64 nextId) = 0;
    // Gives item `id` its thumbnail, detail texts and progress; answers the
    // new image index, or -1 when the item is gone.
    virtual int storeThumbnail(quint64 load, quint64 id, const TThumbnail &thumbnail) = 0;
    // Puts the progress back to 0 at the end of the worker's run.
    virtual void workerFinished(quint64 load) = 0;
};
