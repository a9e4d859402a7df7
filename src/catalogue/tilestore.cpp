#include "catalogue/tilestore.h"

#include <algorithm>

TTileStore::TTileStore(int capacity) : capacity_(std::max(1, capacity)) {}

void TTileStore::setCapacity(int capacity)
{
    capacity_ = std::max(1, capacity);
    dropOverCapacity();
}

void TTileStore::put(int index, const QImage &tile, bool shown)
{
    const auto found = tiles_.find(index);
    if (found != tiles_.end()) {
        order_.erase(found->second.place);
        tiles_.erase(found);
    }
    const auto place = shown ? order_.insert(order_.begin(), index) : order_.insert(order_.end(), index);
    tiles_.emplace(index, Entry{tile, place});
    dropOverCapacity();
}

QImage TTileStore::get(int index)
{
    const auto found = tiles_.find(index);
    if (found == tiles_.end())
        return {};
    order_.splice(order_.begin(), order_, found->second.place);
    return found->second.tile;
}

void TTileStore::clear()
{
    order_.clear();
    tiles_.clear();
}

void TTileStore::dropOverCapacity()
{
    while (int(tiles_.size()) > capacity_) {
        tiles_.erase(order_.back());
        order_.pop_back();
    }
}
