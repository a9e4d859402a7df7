#pragma once
// The characters a movie defines, by id. Owned by the loaded movie and
// shared read-only by its players once loading is done.

#include <memory>
#include <unordered_map>

#include "swf/characters/character.h"

namespace swf {

class Dictionary {
public:
    // The first definition of an id wins; later duplicates are ignored,
    // as players do.
    void add(std::shared_ptr<Character> character);

    Character *find(uint16_t id) const;

    template <class T>
    T *findAs(uint16_t id) const { return dynamic_cast<T *>(find(id)); }

    size_t size() const { return characters_.size(); }

private:
    std::unordered_map<uint16_t, std::shared_ptr<Character>> characters_;
};

}  // namespace swf
