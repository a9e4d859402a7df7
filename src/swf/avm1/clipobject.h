#pragma once
// A movie clip (a sprite's running timeline, or the root) as scripts see
// it. The object stays as long as scripts hold it; the timeline it stands
// for may go (removed from the display list), after which the object
// answers like a plain object. Display properties (_x, _alpha, ...) and
// children by instance name are answered by the clip itself; everything
// else is an ordinary property. The ClipBinding (the script engine) makes
// these objects and knows which one belongs to which timeline.

#include <optional>
#include <string>

#include "swf/avm1/object.h"
#include "swf/timeline/displaylist.h"
#include "swf/format/types.h"

namespace swf {
class TimelineState;
struct DisplayObject;
}  // namespace swf

namespace swf::avm1 {

class ClipObject;
class Machine;
class MovieLoader;

class ClipBinding {
public:
    virtual ~ClipBinding() = default;
    virtual ClipObject *objectFor(TimelineState *state) = 0;
    virtual ClipObject *level(int number) = 0;
    // Stage size in pixels, for _width of the root and Stage.
    virtual double stageWidth() const = 0;
    virtual double stageHeight() const = 0;
    virtual void fsCommand(const std::string &command, const std::string &args) = 0;
    // getURL of a web address; the host opens it only for a person's click.
    virtual void navigate(const std::string &url, const std::string &target) = 0;
    // SWF 4's call: runs the actions of a frame of `clip` now.
    virtual void callFrame(ClipObject *clip, Machine &machine, const Value &frame) = 0;
    // duplicateMovieClip (given the properties of `initObject` before the
    // registered class runs) and removeMovieClip.
    virtual ClipObject *duplicate(ClipObject *source, Machine &machine, const std::string &name, double depth,
                                  Object *initObject = nullptr) = 0;
    virtual void remove(ClipObject *clip) = 0;
    // attachMovie (a sprite exported under `exportName`, given the
    // properties of `initObject` before its class runs) and
    // createEmptyMovieClip; null when the depth or the name is wrong.
    virtual ClipObject *attach(ClipObject *parent, const std::string &exportName, const std::string &name,
                               double depth, Object *initObject) = 0;
    virtual ClipObject *createEmpty(ClipObject *parent, const std::string &name, double depth) = 0;
    // Movies loaded into clips and levels.
    virtual MovieLoader &loader() = 0;
    // "_level0" for the root, "_levelN" for the top of another level.
    virtual std::string levelName(const TimelineState *top) const = 0;
    // The script object of a text field placed in `parent` (null for
    // other objects), and createTextField's new field (`box` in twips).
    virtual Object *textField(TimelineState &parent, DisplayObject &object) = 0;
    virtual Object *createTextField(ClipObject *parent, const std::string &name, double depth, const Rect &box) = 0;
};

class ClipObject : public Object {
public:
    // `kind`: Clip, or Button for a button's object.
    ClipObject(Object *proto, ClipBinding &binding, TimelineState *state, Kind kind = Kind::Clip)
        : Object(proto, kind), binding_(binding), state_(state)
    {
        if (state_)
            originPath_ = targetPath();
    }

    TimelineState *state() const { return state_; }
    // The timeline is going: the object keeps the path it had.
    void detach();
    ClipBinding &binding() const { return binding_; }
    // A load gives the clip a new object; the old one still stands for it
    // while the clip is where the object was made.
    bool movedSinceMade() const { return targetPath() != originPath_; }
    // _lockroot belongs to the clip and passes to its new object.
    void takeClipFlags(const ClipObject &from) { lockRoot_ = from.lockRoot_; }

    void play();
    void stop();
    void gotoFrame(int frame, bool play);  // 0-based
    // A 1-based frame number or a label (SWF 4 and later allow both).
    void gotoValue(Machine &machine, const Value &frame, bool play);
    // The goto action's own reading: the value as text, where a whole
    // number names a frame (counted modulo 2^32) and any other text a label.
    void gotoFrameText(Machine &machine, const Value &frame, bool play, int bias);
    void nextFrame();
    void prevFrame();
    int currentFrame() const;  // 0-based
    int totalFrames() const;

    ClipObject *parentClip() const;
    ClipObject *rootClip() const;
    // What scripts reach under an instance name placed in this clip.
    Object *namedChild(Machine &machine, const std::string &name);
    DisplayObject *displayObject() const;
    int depth() const;  // as scripts number depths
    std::string name() const;
    // "_level0.a.b" and "/a/b".
    std::string targetPath() const;
    std::string slashPath() const;
    // The path the clip had when scripts first met it: a removed clip's
    // references reach whatever clip is at that path now.
    const std::string &originPath() const { return originPath_; }

    // GetProperty/SetProperty by their index (0 = _x ... 21 = _ymouse).
    Value property(Machine &machine, int index);
    void setProperty(Machine &machine, int index, const Value &value);

    Value getSpecial(Machine &machine, const std::string &name, bool &found) override;
    bool setSpecial(Machine &machine, const std::string &name, const Value &value) override;

    // Its own _focusrect; unset, it follows the movie's.
    std::optional<bool> focusRect;

private:
    ClipBinding &binding_;
    TimelineState *state_;
    std::string lastPath_;
    std::string originPath_;
    // _lockroot: _root inside the clip is the clip itself.
    bool lockRoot_ = false;
};

// Scripts number depths from the file's lowest one (-16384) up to the
// highest a script may use; display lists count from 0.
constexpr int kScriptDepthOffset = 16384;
constexpr double kHighestScriptDepth = 2130690044;
// A script depth as a display list depth; false when out of range.
bool ScriptDepthToList(double depth, Depth &out);

// A frame given as text: a whole number, with its sign, wrapped to 32 bits
// as the player counts frames; nothing for any other text (a label).
std::optional<int32_t> FrameNumberText(const std::string &text);

// Sets the enumerable properties of `from` (an attachMovie or
// duplicateMovieClip init object) on the new clip `to`, oldest first.
void CopyInitProperties(Machine &machine, Object *from, Object *to);
struct MovieFacts;
// The address _url gives for a movie ("" for one read from memory).
std::string MovieUrl(const MovieFacts &facts);

// The index of a display property name ("_x" -> 0), -1 for others.
int DisplayPropertyIndex(const std::string &name);

// The clip `object` (or `value`) is, while it is on the stage; null for
// anything else, a removed clip included.
inline ClipObject *LiveClip(Object *object)
{
    auto *clip = dynamic_cast<ClipObject *>(object);
    return clip && clip->state() ? clip : nullptr;
}
inline ClipObject *LiveClip(const Value &value) { return LiveClip(value.object()); }

}  // namespace swf::avm1
