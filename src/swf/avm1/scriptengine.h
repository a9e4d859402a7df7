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
// - DoInitAction blocks of a movie's main timeline run once, before the
//   frame's other actions; with the initialize handlers of the clips the
//   frame places they take turns in tag order.
// - Each tick, enterFrame handlers (onClipEvent(enterFrame), onEnterFrame)
//   of the clips that were already there run before the frame actions of
//   the same clip.
// - Three queues, each emptied before the next is looked at: DoInitAction
//   blocks and initialize handlers; construct handlers and the classes
//   registered for placed clips' symbols; everything else.
// - A clip made by its timeline queues, as it is made and before the
//   clips of its first frame, its initialize and construct handlers, its
//   class and its load handlers (onClipEvent(load), then onLoad), so that
//   loads run parents first. A clip attached by a script runs its class at
//   once, after the init object's properties, oldest first, are set; a
//   duplicated clip runs its construct handlers at once.
// - The actions queued for a clip that is removed before they run are
//   dropped, but for its unload handlers.
// - A removed clip's unload handlers (onClipEvent(unload), onUnload) and
//   those of the clips inside it, the inner ones first and siblings by
//   depth, are queued where its removal falls. While they wait the clip
//   stays whole and answers scripts, moved from depth d to -32769 - d so
//   that its depth is free; it leaves the display list after the last of
//   them. A clip without such handlers goes at once. Clips waiting so
//   cannot be removed again, nor can the clips inside them.
// - Up to SWF 5 a placement at a taken depth drops what was there without
//   its unload; later ones leave the depth as it is (from SWF 8 the log
//   says so when the character differs). A move on an empty depth does
//   nothing, nor does the timeline move what scripts made. Buttons take no
//   clip events; a clip hears only the events its placement lists for all
//   its handlers together.
// - Going back rebuilds the timeline's depths: clips the frame holds at
//   the same depth and ratio stay (swapped ones too), the rest of those
//   depths go with their unload handlers, script depths stay.
// - A name exported by a frame the main timeline has not reached cannot
//   be attached yet.
// - A key goes first to the clips' key events (inner clips first, the
//   highest depth first), then to the focused object's onKeyDown or
//   onKeyUp, then to Key's listeners, then to the first button (lowest
//   depth first) with a key record for it; only a key no record took
//   moves the focus (Tab) or clicks the focused button (Space, Enter).
// - A goto from a script moves the display list at once; the actions of
//   the frame it lands on run after the current action list.
// - Timers that fell due while a frame was shown run at the start of the
//   next tick, after that frame's loads arrived, before any clip moves.
// - A frame's actions that run past the action budget, or recurse too
//   deep, are cut off; the rest of the queue is dropped and the movie goes
//   on with the next tick.
// One player's thread.

#include <QRectF>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "swf/avm1/clipbitmaps.h"
#include "swf/avm1/clipdrag.h"
#include "swf/avm1/clipobject.h"
#include "swf/avm1/code.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/soundobject.h"
#include "swf/avm1/moviefacts.h"
#include "swf/avm1/sharedobjects.h"
#include "swf/avm1/movieloader.h"
#include "swf/avm1/textfieldregistry.h"
#include "swf/characters/fieldediting.h"
#include "swf/timeline/actionblock.h"
#include "swf/timeline/buttontracker.h"
#include "swf/timeline/scripthost.h"
#include "swf/timeline/timeline.h"

namespace swf {
class Dictionary;
class TimelineState;
struct PlayerContext;
}  // namespace swf

namespace swf::avm1 {

class KeyObject;

class ScriptEngine : public ScriptHost,
                     public ClipBinding,
                     public ButtonActionListener,
                     public ClipDragHost,
                     private LoadHost {
public:
    explicit ScriptEngine(const MovieFacts &facts);
    ~ScriptEngine() override;

    void setRoot(TimelineState *root) { root_ = root; }
    // The root showed its first frame: its onLoad, which that frame's
    // actions may define, runs after them.
    void rootStarted();
    // Where script sounds play (its mixer may come and go).
    void setPlayerContext(PlayerContext *player) { sounds_.setPlayer(player); }
    // Where loaded movies play (levels share the root's context) and how
    // their files are read; without a reader every load fails.
    void setLoading(PlayerContext *context, MovieReader movies, TextReader texts);
    MovieLoader &loader() override { return loader_; }
    // Where shared objects stay between runs; in memory until set.
    void setSharedObjectStore(std::shared_ptr<SharedObjectStore> store) { sharedObjects_.setStore(std::move(store)); }
    void setTraceSink(std::function<void(const std::string &)> sink) { machine_.traceSink = std::move(sink); }
    bool quitRequested() const { return quit_; }

    // A key went down or up (Flash key codes): the clips' key events, the
    // focused object's handler (onKeyDown, onKeyUp), then Key's listeners.
    void keyChanged(int keyCode, char32_t character, bool pressed);
    // Tab that no button's key record took: the focus moves on (back with
    // Shift).
    void tabPressed();
    // The player's window lost the keyboard: nothing keeps the focus.
    void keyboardLost();
    // The button, or clip that acts as one, with the focus; null for none.
    TimelineState *focusedButton();
    // A person's typing to the focused text field (scripttextinput.cpp):
    // the characters, the editing commands, and the clipboard they copy to
    // and paste from.
    void textInput(const QString &typed);
    void textControl(TextControl control);
    void setClipboardText(const QString &text) { clipboard_ = text; }
    const QString &clipboardText() const { return clipboard_; }
    // Around the focused object while it is highlighted, in stage twips.
    std::optional<QRectF> focusRectangle();

    // Before a tick: the budget refills, the timers due by now run, and the
    // clock moves on by one frame.
    void beginTick();
    // Runs what the timelines queued, then the loads that are due.
    void runQueue();

    // ScriptHost
    void enterFrame(TimelineState &timeline) override;
    void initActionsDue(TimelineState &timeline, const InitActionBlock &init) override;
    void actionsDue(TimelineState &timeline, const ActionBlock &actions) override;
    void clipCreated(TimelineState &timeline) override;
    bool clipUnloading(TimelineState &timeline) override;
    void clipRemoved(TimelineState &timeline) override;
    void placementRefused(int depth) override;

    // ButtonActionListener: the record's actions run at once, in the clip
    // that holds the button, with a budget of their own (the person's
    // click is not the frame's work).
    void buttonActionFired(TimelineState &timeline, DisplayObject &button, const ButtonActionRecord &record) override;
    // Clips with button handlers (onPress, onClipEvent(press)...) take the
    // mouse as buttons do; `enabled` and `useHandCursor` say how.
    bool clipTakesMouse(TimelineState &clip) override;
    bool clipShowsHand(TimelineState &clip) override;
    TimelineState *clipHitArea(TimelineState &clip) override;
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
    void navigate(const std::string &url, const std::string &target) override;
    // Where web addresses from getURL go; only addresses a button's
    // handler asks for while the person clicks it get there.
    void setUrlHandler(std::function<void(const std::string &)> open) { openUrl_ = std::move(open); }
    void callFrame(ClipObject *clip, Machine &machine, const Value &frame) override;
    ClipObject *duplicate(ClipObject *source, Machine &machine, const std::string &name, double depth,
                          Object *initObject = nullptr) override;
    void remove(ClipObject *clip) override;
    ClipObject *attach(ClipObject *parent, const std::string &exportName, const std::string &name,
                       double depth, Object *initObject) override;
    ClipObject *createEmpty(ClipObject *parent, const std::string &name, double depth) override;
    std::string levelName(const TimelineState *top) const override;
    Object *textField(TimelineState &parent, DisplayObject &object) override;
    Object *createTextField(ClipObject *parent, const std::string &name, double depth, const Rect &box) override;
    // ClipDragHost
    void startDrag(ClipObject *clip, bool lockCenter, const std::optional<QRectF> &bounds) override;
    void stopDrag() override;
    std::string dropTargetOf(const ClipObject *clip) const override { return drag_.dropTargetOf(clip); }

    Machine &machine() { return machine_; }
    // How BitmapData.draw paints a clip.
    void setClipPainter(ClipPainter painter) { bitmaps_.setPainter(std::move(painter)); }
    void setFilterPainter(FilterPainter painter) { bitmaps_.setFilterPainter(std::move(painter)); }

private:
    struct Queued {
        enum class Kind {
            Code,
            // A handler method (onEnterFrame, onLoad...), when the clip has one.
            Method,
            // The class registered for the clip's symbol makes it its own.
            Construct,
            // Takes the clip, whose unload handlers have run, off its list.
            FinishUnload,
        };
        Kind kind = Kind::Code;
        ClipObject *clip = nullptr;
        std::shared_ptr<const Code> code = {};
        std::string method = {};
        // Runs on a clip that is gone (unload handlers).
        bool evenIfRemoved = false;
    };

    std::shared_ptr<const Code> codeFor(const ActionBlock &block);
    // The keyboard focus reached (`over`) or left the clip or button.
    void focusRolled(TimelineState &clip, bool over);
    // A click gives the field under the pointer the focus and the caret.
    void clickTextField();
    TextFieldObject *focusedField();
    template <class Edit> void editFocusedField(Edit &&edit);
    void queueClipEvents(TimelineState &timeline, uint32_t event, std::deque<Queued> &queue);
    void queueMouseEvents(TimelineState &timeline, uint32_t event);
    void broadcastToMouseListeners(const char *method);
    // The root and the levels above it, the highest first.
    std::vector<TimelineState *> levelsTopFirst() const;
    // The unload handlers of `timeline` and of the clips in it, the inner
    // ones first; false when there are none.
    bool queueUnloadHandlers(TimelineState &timeline);
    void finishUnload(ClipObject *clip);
    // The class registered (Object.registerClass) for the symbol the clip
    // was made from; null when none.
    Object *registeredClass(const TimelineState &timeline);
    // Gives `clip` the class's prototype and runs the class on it.
    void constructAs(ClipObject *clip, Object *constructor);
    // A clip made by a script: the init object's properties, then its class.
    void makeInstance(ClipObject *made, Object *initObject);
    // Queues what a new clip runs: initialize, construct and load.
    void queueCreation(TimelineState &timeline);
    // A limit cut the queue short: what remains is dropped, except that
    // removed clips still leave their lists.
    void dropQueued();
    template <class F> void guarded(F &&queueing);
    // Runs the queue, then `then`, then what that queued; a limit ends
    // the lot.
    template <class F> void runScripts(F &&then);
    void runOne(const Queued &entry);
    bool takeNext(Queued &entry);
    // Between action lists nothing but the engine's own references and the
    // machine's roots hold objects, so the collector may run.
    void collectIfWorthIt();
    bool handlerMethods() const;
    void drain();
    // LoadHost
    void renewObject(TimelineState &state) override;
    void startLoaded(TimelineState &state) override;
    void runPending() override { drain(); }
    bool hasQuit() const override { return quit_; }
    void dataArrived(TimelineState &state) override;
    // A name exported by a frame the main timeline has not reached is not
    // there yet.
    bool exportReached(const std::string &name) const;
    ClipObject *placeScripted(ClipObject *parent, uint16_t characterId, const Timeline *timeline,
                              const std::string &name, double depth);

    MovieFacts facts_;
    ScriptSounds sounds_;
    Machine machine_;
    ClipBitmaps bitmaps_{facts_.dictionary, facts_.exports};
    // After the machine: written back while the machine is still whole.
    SharedObjects sharedObjects_{machine_, facts_.path};
    TimelineState *root_ = nullptr;
    KeyObject *keys_ = nullptr;
    ClipDrag drag_;
    // Keeps the focus; scripts may take it off the global object.
    Object *selection_ = nullptr;
    std::unordered_map<TimelineState *, ClipObject *> objects_;
    std::unordered_map<const uint8_t *, std::shared_ptr<const Code>> codes_;
    std::unordered_set<const uint8_t *> initDone_;
    // DoInitAction and initialize handlers run before anything else due,
    // then construct handlers and class constructors, then the rest.
    std::deque<Queued> initQueue_;
    std::deque<Queued> constructQueue_;
    std::deque<Queued> queue_;
    Timeline emptyTimeline_;
    bool quit_ = false;
    bool clickRunning_ = false;
    std::function<void(const std::string &)> openUrl_;
    bool running_ = false;
    // Declared last: its levels go first, while the rest is still there.
    MovieLoader loader_;
    TextFieldRegistry textFields_{machine_, *this};
    QString clipboard_;
};

}  // namespace swf::avm1
