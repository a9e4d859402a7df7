#pragma once
// The script side of one player: it owns the Machine, gives every clip its
// script object, and keeps the queue of actions that timelines report.
//
// Ordering rules, as the player follows them:
// - Each tick every clip moves on, the newest first and the root last;
//   their actions are queued as they go and run once all have moved.
// - Within a frame, action blocks and placements take turns in tag order:
//   a clip placed by the frame shows its first frame (queueing its
//   actions) where its tag comes, a clip removed by it queues its unload
//   handler there.
// - DoInitAction blocks of a frame run once, before that frame's other
//   actions.
// - Each tick, enterFrame handlers (onClipEvent(enterFrame), onEnterFrame)
//   of the clips that were already there run before the frame actions of
//   the same clip.
// - A placed clip's initialize handler runs before any other action due;
//   its load handler after its first frame's actions; the unload handler
//   of a removed clip where its removal falls in the queue, with the clip
//   already gone from the display list.
// - A goto from a script moves the display list at once; the actions of
//   the frame it lands on run after the current action list.
// - A frame's actions that run past the action budget, or recurse too
//   deep, are cut off; the rest of the queue is dropped and the movie goes
//   on with the next tick.
// One player's thread.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "swf/avm1/clipobject.h"
#include "swf/avm1/code.h"
#include "swf/avm1/machine.h"
#include "swf/timeline/actionblock.h"
#include "swf/timeline/buttontracker.h"
#include "swf/timeline/scripthost.h"
#include "swf/timeline/timeline.h"

namespace swf {
class Dictionary;
class TimelineState;
}  // namespace swf

namespace swf::avm1 {

struct MovieFacts {
    int version = 0;
    double frameRate = 12;
    double stageWidth = 0, stageHeight = 0;  // pixels
    const Dictionary *dictionary = nullptr;
    // ExportAssets: linkage name -> character.
    const std::unordered_map<std::string, uint16_t> *exports = nullptr;
};

class ScriptEngine : public ScriptHost, public ClipBinding, public ButtonActionListener {
public:
    explicit ScriptEngine(const MovieFacts &facts);
    ~ScriptEngine() override;

    void setRoot(TimelineState *root) { root_ = root; }
    void setTraceSink(std::function<void(const std::string &)> sink) { machine_.traceSink = std::move(sink); }
    bool quitRequested() const { return quit_; }

    // Before a tick: the clock moves on by one frame, the budget refills.
    void beginTick();
    // Runs what the timelines queued, then the timers that are due.
    void runQueue();

    // ScriptHost
    void enterFrame(TimelineState &timeline) override;
    void frameEntered(TimelineState &timeline, int frame) override;
    void actionsDue(TimelineState &timeline, const ActionBlock &actions) override;
    void clipCreated(TimelineState &timeline) override;
    void clipPlaced(TimelineState &timeline) override;
    void clipRemoved(TimelineState &timeline) override;

    // ButtonActionListener: the record's actions run at once, in the clip
    // that holds the button, with a budget of their own (the person's
    // click is not the frame's work).
    void buttonActionFired(TimelineState &timeline, DisplayObject &button, const ButtonActionRecord &record) override;
    // Clips with button handlers (onPress, onClipEvent(press)...) take the
    // mouse as buttons do; `enabled` and `useHandCursor` say how.
    bool clipTakesMouse(TimelineState &clip) override;
    bool clipShowsHand(TimelineState &clip) override;
    void clipMouseEvent(TimelineState &clip, uint16_t transition) override;

    // The mouse as clip events (mouseMove, mouseDown, mouseUp) and Mouse
    // listeners hear it, before the buttons do.
    enum class MouseInput { Move, Down, Up };
    void mouseInput(MouseInput input);

    // ClipBinding
    ClipObject *objectFor(TimelineState *state) override;
    ClipObject *level(int number) override;
    double stageWidth() const override { return facts_.stageWidth; }
    double stageHeight() const override { return facts_.stageHeight; }
    void fsCommand(const std::string &command, const std::string &args) override;
    void callFrame(ClipObject *clip, Machine &machine, const Value &frame) override;
    ClipObject *duplicate(ClipObject *source, Machine &machine, const std::string &name, double depth) override;
    void remove(ClipObject *clip) override;
    ClipObject *attach(ClipObject *parent, const std::string &exportName, const std::string &name,
                       double depth) override;
    ClipObject *createEmpty(ClipObject *parent, const std::string &name, double depth) override;

    Machine &machine() { return machine_; }

private:
    struct Queued {
        ClipObject *clip;
        std::shared_ptr<const Code> code;
        // A method to call instead (onEnterFrame, onLoad).
        std::string method;
        // Runs on a clip that is gone (unload handlers).
        bool evenIfRemoved = false;
    };

    std::shared_ptr<const Code> codeFor(const ActionBlock &block);
    void queueClipEvents(TimelineState &timeline, uint32_t event, std::deque<Queued> &queue);
    void queueMouseEvents(TimelineState &timeline, uint32_t event);
    void broadcastToMouseListeners(const char *method);
    void queueInitActions(const Frame &frame);
    template <class F> void guarded(F &&queueing);
    void runOne(const Queued &entry);
    bool takeNext(Queued &entry);
    // Between action lists nothing but the engine's own references and the
    // machine's roots hold objects, so the collector may run.
    void collectIfWorthIt();
    bool handlerMethods() const;
    ClipObject *placeScripted(ClipObject *parent, uint16_t characterId, const Timeline *timeline,
                              const std::string &name, double depth);

    MovieFacts facts_;
    Machine machine_;
    TimelineState *root_ = nullptr;
    std::unordered_map<TimelineState *, ClipObject *> objects_;
    std::unordered_map<const uint8_t *, std::shared_ptr<const Code>> codes_;
    std::unordered_set<const uint8_t *> initDone_;
    // DoInitAction and initialize handlers run before anything else due.
    std::deque<Queued> initQueue_;
    std::deque<Queued> queue_;
    Timeline emptyTimeline_;
    bool quit_ = false;
    bool running_ = false;
};

}  // namespace swf::avm1
