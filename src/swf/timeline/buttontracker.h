#pragma once
// The mouse and the keys as the buttons of one player see them.
//
// At most one button is active at a time: the one under the pointer, or
// the one that took a press and holds it while the pointer is dragged
// away. It moves through the states of a Flash button (idle, over and up,
// over and down, out and down; a menu button lets go of a press that
// leaves it and takes one that comes in), shows the picture of its state
// at once, and each transition fires the button's action records that
// name it. A key fires the records that name it on the first button that
// has one (the lowest depth first, a button before what it shows); the
// keyboard focus is the script engine's, which has the tracker click the
// focused button.
//
// Fired records go to the ButtonActionListener set on the tracker (the
// script engine), in the order of the transitions. Their actions may
// change any display list, so the tracker finds its buttons again from the
// root by path after every record.
//
// A clip that takes the mouse (the listener says which: those with button
// handlers) is such a button too: its shapes (or those of the clip the
// listener names as its hit area) are its hit area, its children
// take no mouse of their own, and its transitions go to the listener.
//
// Buttons are found again after display lists change (a new frame, a
// goto): the host calls refresh(), which also re-picks under a pointer
// that did not move. Owned by the player with the root timeline; the
// player's thread.

#include <QPointF>
#include <optional>
#include <vector>

#include "swf/timeline/button.h"
#include "swf/timeline/displaylist.h"

namespace swf {

class TimelineState;

// A placed object named by the depths that lead to it from the root, each
// with the character and placing frame that make it the same object.
struct ObjectPath {
    struct Step {
        int depth;
        uint16_t characterId;
        int placeFrame;
        bool operator==(const Step &o) const
        {
            return depth == o.depth && characterId == o.characterId && placeFrame == o.placeFrame;
        }
    };
    std::vector<Step> steps;
    bool operator==(const ObjectPath &o) const { return steps == o.steps; }
    bool operator!=(const ObjectPath &o) const { return !(*this == o); }
};

// An object of a display list with the timeline that holds it.
struct PlacedObject {
    TimelineState *timeline = nullptr;
    DisplayObject *object = nullptr;
    // Of the object's own timeline, as the player counts sprites in sprites.
    int nesting = 0;
};

// The object at `path` now; a null object when it has gone.
PlacedObject ResolvePath(TimelineState &root, const ObjectPath &path);
// The path from `root` to the object that shows `timeline`; none when
// `timeline` is not under `root`.
std::optional<ObjectPath> PathTo(const TimelineState &root, const TimelineState &timeline);

class ButtonActionListener {
public:
    virtual ~ButtonActionListener() = default;
    // `record` of the button `button`, which `timeline` holds, fires now.
    virtual void buttonActionFired(TimelineState &timeline, DisplayObject &button,
                                   const ButtonActionRecord &record) = 0;
    // Whether the clip takes the mouse as a button, and shows the hand
    // while it is over it.
    virtual bool clipTakesMouse(TimelineState &) { return false; }
    virtual bool clipShowsHand(TimelineState &) { return true; }
    // The clip whose shapes stand for the clip's own (hitArea); null for none.
    virtual TimelineState *clipHitArea(TimelineState &) { return nullptr; }
    // A transition of a clip that takes the mouse, or of a button (after
    // its records; `clip` is the picture it shows).
    virtual void clipMouseEvent(TimelineState &clip, uint16_t transition) { (void)clip, (void)transition; }
};

class ButtonTracker {
public:
    ButtonTracker(TimelineState &root, PlayerContext &context) : root_(root), context_(context) {}

    void setListener(ButtonActionListener *listener) { listener_ = listener; }

    // The pointer in stage twips. Moves while the button is down are drags.
    void mouseMove(const QPointF &stagePoint);
    void mouseDown(const QPointF &stagePoint);
    void mouseUp(const QPointF &stagePoint);
    // The pointer left the stage: nothing is under it any more.
    void mouseLeave();
    void refresh();

    // Flash key codes; `character` is the text the key types, 0 for none.
    // True when a button's record for the key fired: the key is taken.
    bool keyDown(int keyCode, char32_t character);
    // A press and a release of `button` at once, as a key gives them.
    void click(const ObjectPath &button);

    // An enabled button is under the pointer, or holds a press there.
    bool overButton() const;

private:
    enum class State : uint8_t { OverUp, OverDown, OutDown };
    struct Firing {
        ObjectPath button;
        uint16_t transition = 0;
        int keyCode = 0;
    };

    void update();
    void enter(const std::optional<ObjectPath> &target);
    void leave(uint16_t transition);
    void setState(State state, uint16_t transition);
    void showPicture(const ObjectPath &path, ButtonPicture picture);
    // The sound the button's DefineButtonSound gives the transition.
    void playSound(const ObjectPath &path, uint16_t transition);
    std::optional<ObjectPath> pick() const;
    bool isMenu(const ObjectPath &path);
    void fireQueued();
    void fire(const Firing &firing);
    void fireRecords(const Firing &firing, const ButtonCharacter &button);
    bool takesMouse(TimelineState &clip) const;

    TimelineState &root_;
    PlayerContext &context_;
    ButtonActionListener *listener_ = nullptr;
    std::optional<QPointF> pointer_;
    bool down_ = false;
    std::optional<ObjectPath> active_;
    State state_ = State::OverUp;
    std::vector<Firing> queued_;
};

}  // namespace swf
