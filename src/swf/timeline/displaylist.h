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
    // A character of this object alone (a text field as scripts changed or
    // made it); `character` points at it while it is set.
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
    std::unique_ptr<TimelineState> children;
};

class DisplayList {
public:
    using Objects = std::map<uint16_t, DisplayObject>;

    explicit DisplayList(PlayerContext &context) : context_(&context) {}
    ~DisplayList();
    DisplayList(DisplayList &&other) noexcept;
    DisplayList &operator=(DisplayList &&other) noexcept;

    // Applies one command of frame `frame`; returns the object when the
    // command put a new one on the list.
    DisplayObject *apply(const DisplayCommand &command, int frame);

    const Objects &objects() const { return objects_; }
    Objects &objects() { return objects_; }
    DisplayObject *find(uint16_t depth);
    // For scripts: a new object of `characterId` (or running `timeline`
    // when given) at a free depth (null when taken or when the player is
    // full), removing one, and moving one to another depth (swapping with
    // what is there).
    DisplayObject *placeNew(uint16_t depth, uint16_t characterId, const Timeline *timeline,
                            const std::string &name);
    void remove(uint16_t depth);
    void swap(uint16_t depth, uint16_t otherDepth);

private:
    DisplayObject *place(const DisplayCommand &command, int frame);
    void setCharacter(DisplayObject &object, uint16_t id, int frame) const;
    bool canReplace(const DisplayObject &object, uint16_t id) const;

    PlayerContext *context_;
    Objects objects_;
};

}  // namespace swf
