#include "projectorwindow.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include "embeddedmovie.h"
#include "player/shockwaveflash.h"

TProjectorWindow::TProjectorWindow(const QString &title, const std::shared_ptr<const swf::MovieDefinition> &movie)
{
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    player_ = new TShockwaveFlash(this);
    player_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(player_);
    player_->setSoundOn(true);
    player_->setMovieShared(title, movie);
    player_->setLoop(true);
    player_->Play();
    resize(StageSize(movie));
}

void TProjectorWindow::keyPressEvent(QKeyEvent *event)
{
    const bool toggle =
        event->key() == Qt::Key_F11 || (event->key() == Qt::Key_F && event->modifiers() == Qt::ControlModifier);
    if (toggle)
        setWindowState(windowState() ^ Qt::WindowFullScreen);
    else if (event->key() == Qt::Key_Escape && isFullScreen())
        showNormal();
    else if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}
