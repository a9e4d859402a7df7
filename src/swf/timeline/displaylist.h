#pragma once
// The objects on one timeline (the root or one placed sprite), by depth.
// Each object is a character placed with its matrix, colour transform and
// the other PlaceObject properties; a placed sprite or button also owns the
// TimelineState of its own objects. Owned by its TimelineState; one
// player's thread.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "swf/timeline/displaycommand.h"
#include "swf/timeline/playercontext.h"

namespace swf {

class Character;
class Timeline;
class TimelineState;

struct DisplayObject {
    DisplayObject();
    ~DisplayObject();
    DisplayObject(DisplayObject &&) noexcept;
    DisplayObject &operator=(DisplayObject &&) noexcept;

    uint16_t characterId = 0;
    const Character *character = nullptr;  // null when the id is undefined
    // A character of this object alone (a script's bitmap, a text field as
    // scripts changed or made it); `character` points at it while it is set.
    std::shared_ptr<Character> ownCharacter;
    // The timeline of a sprite, the up state of a button, else null.
    const Timeline *childTimeline = nullptr;
    // The frame whose command put this character here: an object that a
    // rebuild places again from the same frame is the same object.
    int placeFrame = -1;
    Matrix matrix;
    ColorTransform colorTransform;
    uint16_t ratio = 0;
    uint16_t clipDepth = 0;
    bool visible = true;
    uint8_t blendMode = 0;
    // An opaque background fills the object's box below its content.
    bool hasBackground = false;
    Rgba background;
    std::string name;
    std::vector<Filter> filters;
    // The clip event handlers of the placement that made it.
    const std::vector<ClipEventHandler> *clipEvents = nullptr;
    // Made by a script (attachMovie, duplicateMovieClip...): the timeline
    // neither removes it nor places it again when it goes back.
    bool scripted = false;
    // A script moved, turned, scaled or recoloured it: the timeline's
    // moves no longer change its matrix or colour transform.
    bool transformedByScript = false;
    // _xscale, _yscale and _rotation as scripts last saw them (with the
    // skew that completes them): the player keeps them apart from the
    // matrix, so that a flip stays a negative scale rather than a half
    // turn, until the timeline gives the object a new matrix.
    bool scaleRotationKnown = false;
    double xScale = 100, yScale = 100, rotation = 0, skew = 0;
    // Removed, but kept below every depth until its unload handlers ran.
    bool unloading = false;
    std::unique_ptr<TimelineState> children;
};

// Depths as the file numbers them (scripts count theirs from 16384 lower);
// scripts reach far above a file's depths, and clips that wait for their
// unload handlers lie below zero.
using Depth = int32_t;

class DisplayList {
public:
    using Objects = std::map<Depth, DisplayObject>;

    // `dictionary`: where the list's character ids are looked up, when not
    // the player's own (a movie loaded into a clip or a level).
    explicit DisplayList(PlayerContext &context, const Dictionary *dictionary = nullptr)
        : context_(&context), dictionary_(dictionary)
    {
    }
    ~DisplayList();
    DisplayList(DisplayList &&other) noexcept;
    DisplayList &operator=(DisplayList &&other) noexcept;

    // Applies one command of frame `frame`; returns the object when the
    // command put a new one on the list.
    DisplayObject *apply(const DisplayCommand &command, int frame);

    const Dictionary &dictionary() const { return dictionary_ ? *dictionary_ : context_->dictionary; }
    const Dictionary *ownDictionary() const { return dictionary_; }

    const Objects &objects() const { return objects_; }
    Objects &objects() { return objects_; }
    DisplayObject *find(Depth depth);
    // The depth `object` lies at; false when it is not on this list.
    bool depthOf(const DisplayObject *object, Depth &depth) const;
    // For scripts: a new object of `characterId` (or running `timeline`
    // when given) at a free depth (null when taken or when the player is
    // full), removing one, and moving one to another depth (swapping with
    // what is there).
    DisplayObject *placeNew(Depth depth, uint16_t characterId, const Timeline *timeline,
                            const std::string &name);
    void remove(Depth depth);
    void swap(Depth depth, Depth otherDepth);

private:
    DisplayObject *place(const DisplayCommand &command, int frame);
    void setCharacter(DisplayObject &object, uint16_t id, int frame) const;
    bool canReplace(const DisplayObject &object, uint16_t id) const;

    PlayerContext *context_;
    const Dictionary *dictionary_;
    Objects objects_;
};

}  // namespace swf
