// The main window's preview player: the movie of the last clicked
// catalogue item, its track bar, frame counter and play commands, and the
// ways from the catalogue and the preview into the full-screen player.
#include "app/frmmain.h"

#include "app/errorreport.h"
#include "app/fullscreenlauncher.h"
#include "app/previewstatus.h"
#include "catalogue/cataloguemodel.h"
#include "catalogue/swfheader.h"
#include "catalogue/zenteqthumb.h"
#include "player/mainflash.h"
#include "player/playcommands.h"
#include "ui/trackbar95.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include <exception>

// The preview remembers its item by the catalogue's id, which no other
// item ever gets, so a list changed under it never makes another item
// look like the previewed one.
quint64 TFrmMain::CatalogueItemId(int row) const
{
    const auto *model = qobject_cast<const TCatalogueModel *>(FlashView->currentView()->model());
    if (!model || row < 0 || row >= model->rowCount())
        return 0;
    return model->item(row).id;
}

void TFrmMain::CreatePreview(const QString &path, int frame, bool play, TShockwaveFlash::TRunningMovie *running)
{
    auto *player = new TMainFlash(PanFlash);
    Player = player;
    player->setScaleMode(TShockwaveFlash::ScaleShowAll);
    player->setGeometry(PanFlash->rect());
    player->show();
    player->setSoundOn(true);
    PlayCommands->setPlayer(player);
    if (!path.isEmpty()) {
        if (running)
            player->adoptRunningMovie(std::move(*running));
        else
            player->setMovie(path);
        player->GotoFrame(frame);
        if (play)
            player->Play();
    }
    // The keyboard stays with the catalogue. The control needs no made-up
    // click to wake up, and one would end the double click a person is
    // making on the catalogue.
    FlashView->setFocus();
}

// A click on empty space empties the preview and everything that shows
// its movie, except the timer, which stops itself on its next tick.
void TFrmMain::ClearPreview()
{
    const QList<QWidget *> children = PanFlash->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    qDeleteAll(children);
    Player = nullptr;
    StatusPanels[1]->clear();
    StatusPanels[2]->clear();
    CurrentItem = 0;
    TrackBar->setMaximum(0);
    TrackBar->setValue(0);
    panText->clear();
}

void TFrmMain::ShowPreviewFacts(const QString &path)
{
    TSwfHeader header;
    ReadSwfHeader(path, header);
    StatusPanels[1]->setText(QFileInfo(path).fileName());
    StatusPanels[2]->setText(PreviewHeaderText(header));
}

void TFrmMain::FlashViewClick(int row)
{
    const quint64 item = CatalogueItemId(row);
    if (item == 0) {
        ClearPreview();
        return;
    }
    if (item == CurrentItem)
        return;
    CurrentItem = item;
    delete Player;
    Player = nullptr;
    const QString path = FlashView->itemPath(row);
    CreatePreview(path, 1, true);
    try {
        ShowPreviewFacts(path);
    } catch (const std::exception &error) {
        ShowErrorReport(QString::fromUtf8(error.what()));
        return;
    }
    Timer1->start();
}

void TFrmMain::FlashViewDblClick(int row)
{
    if (CatalogueItemId(row) == 0)
        return;
    if (Player)
        Player->Stop();
    PlayMovieFullScreen(this, FlashView->itemPath(row));
}

void TFrmMain::tbFullScreenClick()
{
    if (!Player)
        return;
    Player->Stop();
    PlayMovieFullScreen(this, Player->Movie());
}

// The control is made anew at every size change, at the same frame and
// run state. The running movie passes from the old control to the new one,
// so dragging a splitter never reads the file again, and a game's state and
// its sound carry on through it.
void TFrmMain::PanFlashResize()
{
    if (!Player)
        return;
    const int frame = Player->CurrentFrame();
    const bool playing = Player->Playing();
    const QString movie = Player->Movie();
    TShockwaveFlash::TRunningMovie running = Player->takeRunningMovie();
    delete Player;
    Player = nullptr;
    CreatePreview(movie, frame, playing, &running);
}

void TFrmMain::AttachTrackBar()
{
    m_trackBarChange = connect(TrackBar, &QSlider::valueChanged, this, &TFrmMain::TrackBarChange);
}

void TFrmMain::DetachTrackBar()
{
    disconnect(m_trackBarChange);
}

// The track bar's change handler is detached while the tick moves the
// thumb, so a tick never seeks; a tick that fails stops the timer and
// leaves it detached.
void TFrmMain::Timer1Timer()
{
    if (!Player) {
        Timer1->stop();
        return;
    }
    try {
        DetachTrackBar();
        TrackBar->setMaximum(Player->TotalFrames());
        TrackBar->setValue(Player->CurrentFrame());
        panText->setText(FrameCounterText(TrackBar->value(), TrackBar->maximum()));
        AttachTrackBar();
        PlayCommands->UpdateActions();
    } catch (const std::exception &) {
        Timer1->stop();
    }
}

void TFrmMain::TrackBarChange(int position)
{
    if (Player)
        TPlayCommands::Seek(*Player, position);
}
