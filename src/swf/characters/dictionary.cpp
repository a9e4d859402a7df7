#include "swf/characters/dictionary.h"

namespace swf {

void Dictionary::add(std::shared_ptr<Character> character)
{
    if (!character)
        return;
    characters_.emplace(character->id(), std::move(character));
}

Character *Dictionary::find(uint16_t id) const
{
    const auto it = characters_.find(id);
    return it == characters_.end() ? nullptr : it->second.get();
}

}  // namespace swf
