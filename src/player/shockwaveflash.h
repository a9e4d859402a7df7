#pragma once
// The movie player control: loads one movie, plays it on a timer at the
// movie's own frame rate, steps through it and paints its current frame.
// Every thumbnail, preview, full-screen picture and frame capture of the
// program goes through it.
//
// Frames are numbered from 0: GotoFrame(0) shows the first frame and
// CurrentFrame() of the first frame is 0. Any frame number, negative or
// past the end, is clamped and never fails. A freshly loaded movie stands
// at its first frame and waits for Play(). A movie that cannot be read
// leaves the control showing the empty stage with 0 frames; Movie() still
// returns the path that was set.
//
// Sound is off unless the host turns it on (setSoundOn): thumbnails and
// frame captures stay silent. With it on, a running movie plays its sound
// through a TSoundOutput of its own; stopping, stepping and unloading
// silence it, and while the movie's stream sound plays the clock follows
// the sound, dropping frames rather than sound when drawing falls behind.
//
// The mouse over the control and the keys it gets while it has the focus go
// on to the movie, the mouse mapped onto the stage as it is drawn; the
// pointer becomes a hand over a button that takes it. Only the left button
// presses the movie's buttons; the control takes every mouse event.
//
// The control owns its swf::MoviePlayer; the parsed movie itself is shared
// (sharedMovie()) so that another control on the same file need not read
// it again. A control re-created on a resize takes the running movie over
// whole (takeRunningMovie), so that a game's scripts, its sprites and its
// sound go on where they were rather than starting over. Interface thread
// only.

#include <QString>
#include <QWidget>
#include <memory>

#include "swf/characters/character.h"

class QPainter;
class QTimer;
class TSoundOutput;

namespace swf {
class MovieDefinition;
class MoviePlayer;
}  // namespace swf

class TShockwaveFlash : public QWidget {
    Q_OBJECT
public:
    // A movie as it runs, handed from one control to the one replacing it.
    struct TRunningMovie {
        QString path;
        std::shared_ptr<const swf::MovieDefinition> movie;
        std::unique_ptr<swf::MoviePlayer> player;
        std::unique_ptr<TSoundOutput> sound;
        bool running = false;

        // Defined where the player and the sound output are complete types.
        TRunningMovie();
        TRunningMovie(TRunningMovie &&) noexcept;
        TRunningMovie &operator=(TRunningMovie &&) noexcept;
        ~TRunningMovie();
    };

    // Values of Quality().
    enum { QualityLow = 0, QualityHigh = 1, QualityMiddling = 2 };
    // The only scale mode: the whole stage, centred, aspect kept.
    enum { ScaleShowAll = 0 };

    explicit TShockwaveFlash(QWidget *parent = nullptr);
    ~TShockwaveFlash() override;

    int ScaleMode() const { return scaleMode_; }
    // Raises std::runtime_error for a mode other than ScaleShowAll.
    void setScaleMode(int mode);

    QString Movie() const { return moviePath_; }
    // Reads and loads the movie at `path`; the control stops and shows its
    // first frame. An unreadable file is not an error (see above).
    void setMovie(const QString &path);
    // Takes a movie another control has already loaded; `movie` may be null
    // for a movie that could not be read.
    void setMovieShared(const QString &path, std::shared_ptr<const swf::MovieDefinition> movie);
    std::shared_ptr<const swf::MovieDefinition> sharedMovie() const { return movie_; }
    // Hands the movie over as it runs, leaving this control empty and
    // still; adoptRunningMovie() goes on with it in another control.
    TRunningMovie takeRunningMovie();
    void adoptRunningMovie(TRunningMovie running);

    // True while the movie runs: started with Play() and not stopped by the
    // host, by the movie's own frame actions or by reaching the end.
    bool Playing() const;
    int TotalFrames() const;
    int CurrentFrame() const;
    // Shows `frame`, clamped to the movie. A stopped movie stays stopped.
    void GotoFrame(int frame);

    void Play();
    void Stop();
    // One frame back or forward, then stop.
    void Back();
    void Forward();
    // To the first frame; the run state is kept.
    void Rewind();

    int Quality() const { return quality_; }
    // 1 high, 2 middling, 0 low; raises std::runtime_error for other values.
    void setQuality(int quality);

    bool Loop() const { return loop_; }
    void setLoop(bool loop);

    bool soundOn() const { return soundOn_; }
    void setSoundOn(bool on);

    // Draws the current frame at the control's size with its top left
    // corner at (x, y) of the painter's device. Raises std::runtime_error
    // when the painter is not active.
    void PaintTo(QPainter &painter, int x = 0, int y = 0) const;

    // One tick of the movie's clock; the control's timer calls it at the
    // movie's frame rate. Public so that a host (and a test) can drive the
    // movie without waiting.
    void tick();

    // Milliseconds between two ticks at the loaded movie's frame rate.
    double framePeriod() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    // The control takes its mouse events, as a native control window does,
    // so that they never reach the window under it.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    // A control made anew under a resting pointer learns where it is.
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    // Keys go to the movie and then on to the window, as if unhandled.
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    // While a movie plays, Tab moves the focus among its buttons and clips
    // rather than out of the control.
    bool focusNextPrevChild(bool next) override;
    // The control lost the keyboard: so does the movie.
    void focusOutEvent(QFocusEvent *event) override;

private:
    QPointF stagePoint(const QPointF &controlPoint) const;
    // Shows what a mouse or key event changed: the buttons' pictures at
    // once, and the pointer they ask for.
    void showInputResult();
    void typeIntoField(const QKeyEvent &event);
    void unload();
    void updateClock();
    void updateSound();
    // Frames the next tick moves: one, or as many as the playing stream
    // sound is ahead of the picture (none while it is behind).
    int framesDueNow() const;
    swf::Quality engineQuality() const;

    QString moviePath_;
    std::shared_ptr<const swf::MovieDefinition> movie_;
    std::unique_ptr<swf::MoviePlayer> player_;
    std::unique_ptr<TSoundOutput> sound_;
    QTimer *clock_;
    // Play() was called and Stop() has not been since: the clock runs, so
    // that sprites go on moving even when the root timeline stopped itself.
    bool running_ = false;
    double clockPhase_ = 0;  // fraction of a millisecond the clock owes
    int scaleMode_ = ScaleShowAll;
    int quality_ = QualityHigh;
    bool loop_ = true;
    bool soundOn_ = false;
};
