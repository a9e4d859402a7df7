// The projector program: the movie appended to this very file (by swf2exe
// of the converter library) plays in a window of the movie's stage size,
// looping. F11 or Ctrl+F toggles full screen; Esc leaves full screen, or
// closes the window when it is not full screen. Without a movie at its end
// the program says so in a message box and ends with status 1.

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

#include "../common/embeddedmovie.h"
#include "player/shockwaveflash.h"
#include "swf/movie.h"

namespace {

class TProjectorWindow : public QWidget {
public:
    TProjectorWindow(const QString &title, const std::shared_ptr<const swf::MovieDefinition> &movie)
    {
        setWindowTitle(title);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        player_ = new TShockwaveFlash(this);
        player_->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(player_);
        player_->setMovieShared(title, movie);
        player_->setLoop(true);
        player_->Play();
        resize(StageSize(movie));
    }

    TShockwaveFlash *player() const { return player_; }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool toggle = event->key() == Qt::Key_F11 ||
                            (event->key() == Qt::Key_F && event->modifiers() == Qt::ControlModifier);
        if (toggle)
            setWindowState(windowState() ^ Qt::WindowFullScreen);
        else if (event->key() == Qt::Key_Escape && isFullScreen())
            showNormal();
        else if (event->key() == Qt::Key_Escape)
            close();
        else
            QWidget::keyPressEvent(event);
    }

private:
    TShockwaveFlash *player_;
};

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString programPath = QCoreApplication::applicationFilePath();
    const QString title = QFileInfo(programPath).fileName();
    QString error;
    const auto movie = LoadEmbeddedMovie(programPath, EmbeddedLayout::Projector, &error);
    const QString snapshot = SnapshotPath(QCoreApplication::arguments());
    if (!movie) {
        // A snapshot run has nobody to close the box.
        std::fprintf(stderr, "%s\n", qPrintable(error));
        if (snapshot.isEmpty())
            QMessageBox::information(nullptr, title, error);
        return 1;
    }
    TProjectorWindow window(title, movie);
    window.show();
    if (!snapshot.isEmpty())
        TakeSnapshotSoon(&window, window.player()->framePeriod(), snapshot);
    return app.exec();
}
