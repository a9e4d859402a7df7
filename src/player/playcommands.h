#pragma once
// The seven play commands of the players (start, back, pause, stop, play,
// forward, end) as actions with their execute and enabling rules, shared
// by the preview in the main window and the full-screen player.
//
// The commands act on the player control set with setPlayer(); with none
// (or after it was destroyed) they do nothing and keep their enabled
// state; all start enabled. Back and forward step by TotalFrames div 16
// frames. The owner calls UpdateActions() whenever the movie may have
// moved (its display timer); executing a command updates them too.
// TPlayCommands owns its actions; the player stays the caller's.
// Interface thread only.

#include <QObject>
#include <QPointer>
#include <array>

class QAction;
class TShockwaveFlash;

enum class TPlayCommand { Start, Back, Pause, Stop, Play, Forword, End };

class TPlayCommands : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = 7;

    explicit TPlayCommands(QObject *parent = nullptr);

    void setPlayer(TShockwaveFlash *player);
    TShockwaveFlash *player() const { return player_; }

    // The action of a command, named acPlayStart ... acPlayEnd.
    QAction *action(TPlayCommand command) const { return actions_[int(command)]; }
    // All seven, in the order of the players' buttons.
    QList<QAction *> actions() const;

    void Execute(TPlayCommand command);
    void UpdateActions();

    // Frames skipped by back and forward.
    static int Step(int totalFrames) { return totalFrames / 16; }
    static void Execute(TPlayCommand command, TShockwaveFlash &player);
    static bool Enabled(TPlayCommand command, const TShockwaveFlash &player);
    // Moves to `frame` as a dragged track bar does: a playing movie goes on
    // playing from there, a paused one stays paused there.
    static void Seek(TShockwaveFlash &player, int frame);

private:
    std::array<QAction *, kCount> actions_{};
    QPointer<TShockwaveFlash> player_;
};
