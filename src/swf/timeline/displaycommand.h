#pragma once
// One change of a display list, as a PlaceObject or RemoveObject tag states
// it: parsed once at load time into this plain record, replayed by the
// timeline every time its frame is entered.

#include <cstdint>
#include <string>

#include <vector>

#include "swf/characters/definetags.h"
#include "swf/format/types.h"
#include "swf/timeline/actionblock.h"
#include "swf/timeline/filter.h"

namespace swf {

struct DisplayCommand {
    enum class Kind : uint8_t { Place, Remove };

    Kind kind = Kind::Place;
    // Place with move set changes the object already at the depth; without
    // it a new object is put there.
    bool move = false;
    bool hasCharacter = false;
    bool hasMatrix = false;
    bool hasColorTransform = false;
    bool hasRatio = false;
    bool hasName = false;
    bool hasClipDepth = false;
    bool hasVisible = false;
    bool visible = true;
    bool hasBlendMode = false;
    bool cacheAsBitmap = false;
    bool hasFilters = false;
    bool hasBackground = false;
    uint8_t blendMode = 0;
    uint16_t depth = 0;
    uint16_t characterId = 0;
    uint16_t ratio = 0;
    uint16_t clipDepth = 0;
    Matrix matrix;
    ColorTransform colorTransform;
    Rgba background;
    std::string name;
    std::vector<Filter> filters;
    std::vector<ClipEventHandler> clipEvents;
};

// Tag codes 4, 26, 70 and 5, 28. A body too short for its required fields
// returns false; optional fields cut off at the end are left out. Clip
// event flags are two bytes wide before SWF 6.
bool ParsePlaceObject(Tag tag, DisplayCommand &command, int swfVersion);
bool ParseRemoveObject(Tag tag, DisplayCommand &command);

}  // namespace swf
