#pragma once
// A loaded movie and the players that run it.
//
// MovieDefinition is what loading makes of a file: header facts, the
// dictionary of characters and the parsed timeline. It is immutable after
// loading and shared (shared_ptr) by every player of the same movie, so a
// control that is re-created keeps the parsed movie. Loading may run on any
// thread; one definition may be read from several threads at once.
//
// MoviePlayer is the state of one running copy: the current frame, the
// display list of the root and of every sprite in it, the movie's scripts
// and their objects, the buttons as the mouse and the keys leave them. One
// player belongs to one thread. The host drives time (advance at the
// movie's rate); each tick moves the scripts' clock on by one frame
// interval, so a run is the same every time; the engine owns no timer.
// The host passes the mouse and the keys on as they come; buttons change
// their pictures and fire their actions at once, so the host redraws after
// each.

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>

#include "swf/characters/character.h"
#include "swf/characters/fieldediting.h"
#include "swf/format/types.h"
#include "swf/timeline/keycodes.h"

class QPainter;

namespace swf {

struct MovieHeader {
    char signature[3] = {0, 0, 0};  // "FWS", "CWS" or "ZWS"
    uint8_t version = 0;
    uint32_t fileLength = 0;         // as recorded
    Rect frame;                      // stage rectangle in twips
    double frameRate = 0;            // frames per second, fraction included
    uint16_t frameCount = 0;         // as recorded
};

class MovieDefinition;
class ButtonTracker;
class SoundMixer;

enum class MouseCursor { Arrow, Hand };

// Loads a movie; never throws. On a file that cannot be read at all the
// result is null and *error says why. A truncated or corrupt movie loads
// what is sound (error stays empty, partial content).
std::shared_ptr<const MovieDefinition> LoadMovie(const QString &path, QString *error = nullptr);
std::shared_ptr<const MovieDefinition> LoadMovieFromBytes(const QByteArray &bytes, QString *error = nullptr);

// What scripts' Date calls now: a wall clock's reading in ms since 1970
// (UTC) and the local distance from UTC. The default starts every run at
// the same moment, so that the tools' logs repeat.
struct DateClock {
    double nowMs = 0;
    int utcOffsetMinutes = 0;
};

class MoviePlayer {
public:
    // `trace` receives every trace() line of the movie's scripts, from the
    // first frame on (which runs here, at `clock`'s moment). The movie's
    // shared objects are kept in `sharedObjectFolder`; without one, in
    // memory for this run.
    explicit MoviePlayer(std::shared_ptr<const MovieDefinition> movie,
                         std::function<void(const QString &line)> trace = {},
                         const QString &sharedObjectFolder = {}, const DateClock &clock = {});
    ~MoviePlayer();
    MoviePlayer(const MoviePlayer &) = delete;
    MoviePlayer &operator=(const MoviePlayer &) = delete;

    const MovieDefinition &definition() const { return *movie_; }
    std::shared_ptr<const MovieDefinition> sharedDefinition() const { return movie_; }
    const MovieHeader &header() const;
    Rgba backgroundColor() const;

    // Frames are numbered from 0. frameCount() is at least 1.
    int frameCount() const;
    int currentFrame() const;
    // Clamped to 0..frameCount()-1; going back rebuilds the display list
    // from the start. Frame actions of the target frame run.
    void gotoFrame(int frame);
    // One tick of the movie: advances the root (when playing) and every
    // sprite, runs the frame actions entered. At the last frame the root
    // wraps to frame 0 when `loop`, else it stops.
    void advance(bool loop = true);
    // Play/stop as the host or frame actions set it.
    bool isPlaying() const;
    void setPlaying(bool playing);

    // Sound is off until the host asks for it, so thumbnails and tools stay
    // silent. While on, frames shown by playing start their sounds in the
    // mixer. Turning it off pauses every sound where it is; turning it on
    // again goes on with them, and starts the current frame's sounds when
    // the player stands on another frame than when it paused (a stream
    // resumes where that frame is). The first frame's sounds wait, paused,
    // from the start. Host gotos never play the sounds of the frames they
    // skip.
    void setSoundEnabled(bool enabled);
    bool isSoundEnabled() const;
    // Where the sounds are mixed; an output pulls samples from it on a
    // thread of its own. It outlives the player safely (silent).
    std::shared_ptr<SoundMixer> soundMixer() const;
    // While sound is on and the root's stream sound plays, sets `behind` to how many
    // frames the picture is behind the sound (negative: ahead) and returns
    // true; false without one.
    bool framesBehindSound(int &behind) const;
    // The movie asked to end (fscommand "quit").
    bool quitRequested() const;
    // Where web addresses a movie's button asks for while clicked go (the
    // desktop's browser); without one they are dropped.
    void setUrlHandler(std::function<void(const QString &)> open);
    // Date's now is `clock`'s from here on, moving with the ticks until set
    // again (a host that shows a wall clock sets it before each tick).
    void setDateClock(const DateClock &clock);

    // Draws the current frame into `target` of the painter's device with
    // the whole stage shown, centred, aspect kept, the margin in the stage
    // colour (scale mode 0).
    void render(QPainter &painter, const QRect &target, Quality quality) const;
    QImage renderImage(const QSize &size, Quality quality) const;

    // The mouse, in pixels of the stage: (0, 0) is the top left corner of
    // the stage rectangle, one unit one stage pixel at 100%.
    void mouseMove(const QPointF &stagePoint);
    void mouseDown(const QPointF &stagePoint);
    void mouseUp(const QPointF &stagePoint);
    // The pointer left the movie's area.
    void mouseLeave();
    // Where a point of a render's `target` (the same rectangle as passed
    // to render()) lies on the stage, in the units above.
    QPointF stagePointAt(const QRect &target, const QPointF &point) const;
    // Flash key codes (swf/timeline/keycodes.h) and the character typed.
    // A key no script or button takes moves the movie's keyboard focus
    // (Tab, Shift+Tab) or clicks the focused button (Space, Enter).
    void keyDown(int keyCode, char32_t character = 0);
    void keyUp(int keyCode, char32_t character = 0);
    // The host's window lost the keyboard: nothing in the movie keeps the
    // focus.
    void keyboardLost();
    // Text typed and editing commands for the focused text field. The
    // character of a key that a button's key record took goes nowhere.
    void textInput(const QString &typed);
    void textControl(TextControl control);
    // What the movie's fields copy and paste.
    void setClipboardText(const QString &text);
    QString clipboardText() const;
    // The hand over a button that takes the mouse, the arrow elsewhere.
    MouseCursor cursor() const;
    // The buttons' side of the mouse and the keys, for a script engine to
    // listen to and to ask which button has the focus.
    ButtonTracker &buttons();

private:
    class State;
    std::shared_ptr<const MovieDefinition> movie_;
    std::unique_ptr<State> state_;
};

}  // namespace swf
