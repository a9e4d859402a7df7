#include "player/playcommands.h"

#include <QAction>

#include "player/shockwaveflash.h"
#include "ui/drawnicons.h"

namespace {

struct CommandEntry {
    TPlayCommand command;
    const char *objectName;
    const char *text;
    TPlayImage image;
};

const CommandEntry kCommands[TPlayCommands::kCount] = {
    {TPlayCommand::Start, "acPlayStart", "Start", TPlayImage::Start},
    {TPlayCommand::Back, "acPlayBack", "Back", TPlayImage::Back},
    {TPlayCommand::Pause, "acPlayPause", "Pause", TPlayImage::Pause},
    {TPlayCommand::Stop, "acPlayStop", "Stop", TPlayImage::Stop},
    {TPlayCommand::Play, "acPlayPlay", "Play", TPlayImage::Play},
    {TPlayCommand::Forword, "acPlayForword", "Forward", TPlayImage::Forward},
    {TPlayCommand::End, "acPlayEnd", "End", TPlayImage::End},
};

// Goes one step forward (direction 1) or back (-1) and leaves the movie
// running or paused as it was.
void StepBy(TShockwaveFlash &player, int direction)
{
    const bool wasPlaying = player.Playing();
    const int step = TPlayCommands::Step(player.TotalFrames());
    player.GotoFrame(player.CurrentFrame() + direction * step);
    if (wasPlaying)
        player.Play();
    else
        player.Stop();
}

}  // namespace

TPlayCommands::TPlayCommands(QObject *parent) : QObject(parent)
{
    for (const CommandEntry &entry : kCommands) {
        auto *action = new QAction(PlaybackIcon(entry.image), QString::fromLatin1(entry.text), this);
        action->setObjectName(QString::fromLatin1(entry.objectName));
        const TPlayCommand command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { Execute(command); });
        actions_[int(command)] = action;
    }
}

void TPlayCommands::setPlayer(TShockwaveFlash *player) { player_ = player; }

QList<QAction *> TPlayCommands::actions() const { return QList<QAction *>(actions_.begin(), actions_.end()); }

void TPlayCommands::Execute(TPlayCommand command)
{
    if (!player_)
        return;
    Execute(command, *player_);
    UpdateActions();
}

void TPlayCommands::UpdateActions()
{
    if (!player_)
        return;
    for (const CommandEntry &entry : kCommands)
        action(entry.command)->setEnabled(Enabled(entry.command, *player_));
}

void TPlayCommands::Execute(TPlayCommand command, TShockwaveFlash &player)
{
    switch (command) {
    case TPlayCommand::Start:
        player.GotoFrame(1);
        player.Stop();
        break;
    case TPlayCommand::Back:
        StepBy(player, -1);
        break;
    case TPlayCommand::Pause:
        player.Stop();
        break;
    case TPlayCommand::Stop:
        player.GotoFrame(0);
        player.Stop();
        break;
    case TPlayCommand::Play:
        player.Play();
        break;
    case TPlayCommand::Forword:
        StepBy(player, 1);
        break;
    case TPlayCommand::End:
        player.GotoFrame(player.TotalFrames());
        player.Stop();
        break;
    }
}

void TPlayCommands::Seek(TShockwaveFlash &player, int frame)
{
    const bool wasPlaying = player.Playing();
    player.Stop();
    player.GotoFrame(frame);
    if (wasPlaying)
        player.Play();
}

bool TPlayCommands::Enabled(TPlayCommand command, const TShockwaveFlash &player)
{
    switch (command) {
    case TPlayCommand::Start:
    case TPlayCommand::Back:
        return player.CurrentFrame() > 1;
    case TPlayCommand::Pause:
    case TPlayCommand::Stop:
        return player.Playing();
    case TPlayCommand::Play:
        return !player.Playing();
    case TPlayCommand::Forword:
    case TPlayCommand::End:
        return player.CurrentFrame() < player.TotalFrames();
    }
    return false;
}
