#pragma once
// The catalogue's tiles in memory, bounded whatever the folder's size.
//
// Policy: at most `capacity` tiles stay in memory. Every tile the view
// paints becomes the most recent one, so the tiles on screen and those
// the person scrolled past lately (the margin around the screen) stay;
// a tile the worker makes for an item off screen joins as the least
// recent one, so walking a large folder never pushes the screen's tiles
// out. The worker paints tiles only for the screen and its near
// neighbours while they fit; for the other items it only makes sure the
// shared thumbnail cache holds their pictures. A dropped (or never
// painted) tile is made when its item is painted, from that cache or by
// the engine (see TTileRestorer).
//
// Owned by the catalogue model; interface thread only.

#include <QImage>
#include <list>
#include <unordered_map>

class TTileStore {
public:
    explicit TTileStore(int capacity);

    void setCapacity(int capacity);
    int capacity() const { return capacity_; }
    int size() const { return int(tiles_.size()); }

    // Keeps `tile` for image `index`, as the most recent tile or, with
    // `shown` false, as the least recent one.
    void put(int index, const QImage &tile, bool shown);
    // The tile of image `index`, which becomes the most recent one; null
    // when it was dropped.
    QImage get(int index);
    bool contains(int index) const { return tiles_.count(index) != 0; }
    void clear();

private:
    void dropOverCapacity();

    struct Entry {
        QImage tile;
        std::list<int>::iterator place;
    };
    int capacity_;
    std::list<int> order_;  // most recent first
    std::unordered_map<int, Entry> tiles_;
};
