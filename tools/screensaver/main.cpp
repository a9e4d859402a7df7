// The screen saver program, copied as the front part of every screen saver
// file that MakeScreenSaver writes: it plays the movie at the end of its
// own file (the movie, then its length as 4 bytes little-endian) over
// every screen, the whole stage shown, and ends on a key press, a click or
// a mouse move of more than a few pixels.
//
// As an xscreensaver hack it draws into the window xscreensaver gives it
// ("-window-id ID", or $XSCREENSAVER_WINDOW with "-root") and runs until
// xscreensaver ends it; "-root" alone plays over every screen without
// ending on input. Without a movie it shows an empty stage.

#include <QApplication>
#include <QScreen>
#include <QWindow>
#include <cstdio>
#include <memory>
#include <vector>

#include "helperprograms/embeddedmovie.h"
#include "helperprograms/inputwatcher.h"
#include "player/shockwaveflash.h"
#include "swf/movie.h"

namespace {

using PlayerList = std::vector<std::unique_ptr<TShockwaveFlash>>;

std::unique_ptr<TShockwaveFlash> NewPlayer(const std::shared_ptr<const swf::MovieDefinition> &movie)
{
    auto player = std::make_unique<TShockwaveFlash>();
    player->setMouseTracking(true);
    player->setCursor(Qt::BlankCursor);
    if (movie) {
        player->setMovieShared(QCoreApplication::applicationFilePath(), movie);
        player->setLoop(true);
        player->Play();
    }
    return player;
}

// The window id xscreensaver hands over, 0 when none.
WId HackWindow(const QStringList &arguments)
{
    const qsizetype option = arguments.indexOf(QStringLiteral("-window-id"));
    if (option >= 0 && option + 1 < arguments.size())
        return WId(arguments.at(option + 1).toULongLong(nullptr, 0));
    if (arguments.contains(QStringLiteral("-root")))
        return WId(qEnvironmentVariable("XSCREENSAVER_WINDOW").toULongLong(nullptr, 0));
    return 0;
}

void PlayInForeignWindow(TShockwaveFlash *player, WId id)
{
    QWindow *host = QWindow::fromWinId(id);
    player->setAttribute(Qt::WA_NativeWindow);
    player->winId();
    player->windowHandle()->setParent(host);
    player->setGeometry(QRect(QPoint(0, 0), host->geometry().size()));
    player->show();
}

PlayerList PlayOnEveryScreen(const std::shared_ptr<const swf::MovieDefinition> &movie)
{
    PlayerList players;
    for (QScreen *screen : QGuiApplication::screens()) {
        players.push_back(NewPlayer(movie));
        // One screen plays the sound; more would only echo it.
        players.back()->setSoundOn(players.size() == 1);
        players.back()->setGeometry(screen->geometry());
        players.back()->showFullScreen();
    }
    return players;
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QString error;
    const auto movie = LoadEmbeddedMovie(QCoreApplication::applicationFilePath(), EmbeddedLayout::ScreenSaver, &error);
    if (!movie)
        std::fprintf(stderr, "%s\n", qPrintable(error));

    if (const WId host = HackWindow(arguments)) {
        const std::unique_ptr<TShockwaveFlash> player = NewPlayer(movie);
        PlayInForeignWindow(player.get(), host);
        return app.exec();
    }
    const PlayerList players = PlayOnEveryScreen(movie);
    TInputWatcher watcher([] { QApplication::quit(); });
    if (!arguments.contains(QStringLiteral("-root")))
        app.installEventFilter(&watcher);
    const QString snapshot = SnapshotPath(arguments);
    if (!snapshot.isEmpty() && !players.empty())
        TakeSnapshotSoon(players.front().get(), players.front()->framePeriod(), snapshot);
    return app.exec();
}
