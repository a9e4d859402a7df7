#include "player/frmfullscreen.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QSaveFile>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <stdexcept>

#include "player/myflash.h"
#include "player/playcommands.h"
#include "ui/trackbar95.h"

namespace {

constexpr int kStripHeight = 25;
constexpr int kTimerMs = 200;
const QSize kButtonOwnerSize(529, 26);
const QRect kTrackBarRect(16, 4, 265, 18);
const QRect kToolBarRect(291, 0, 179, 26);
constexpr int kCloseAreaWidth = 80;
const QRect kCloseButtonRect(50, 2, 22, 21);
constexpr int kThumbLength = 16;

// The setting is read under one spelling of the section and written under
// another; the store matches section names without regard to case.
const QString kReadSection = QStringLiteral("FullScreen");
const QString kWriteSection = QStringLiteral("fullScreen");
const QString kViewStyleKey = QStringLiteral("ViewStyle");

const QString kHideStripCaption = QStringLiteral("&Hide Toolbar");
const QString kViewStripCaption = QStringLiteral("&View Toolbar");

// The hourglass while a frame is painted and saved, also when saving fails.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

}  // namespace

TFrmFullScreen::TFrmFullScreen(QWidget *owner, TFullScreenServices services)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      services_(std::move(services)),
      playCommands_(new TPlayCommands(this)),
      Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("FrmFullScreen"));
    setModal(true);
    CoverScreen(owner);
    BuildStrip();
    BuildPopupMenu();
    if (services_.applyFormTexts)
        services_.applyFormTexts(this);
    const int viewStyle = services_.readIniInteger ? services_.readIniInteger(kReadSection, kViewStyleKey, 0) : 0;
    ShowStrip(viewStyle == 1);

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerMs);
    connect(Timer1, &QTimer::timeout, this, &TFrmFullScreen::Timer1Timer);
    Timer1->start();
}

TFrmFullScreen::~TFrmFullScreen() { qApp->removeEventFilter(this); }

// The whole screen the opener is on, panels included: the full-screen
// state asks a window manager to put the window above its panels, and the
// geometry covers the screen where no window manager runs.
void TFrmFullScreen::CoverScreen(const QWidget *owner)
{
    QScreen *screen = owner ? owner->screen() : QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
}

void TFrmFullScreen::BuildStrip()
{
    PanTop = new QWidget(this);
    PanTop->setObjectName(QStringLiteral("PanTop"));
    Shape1 = new QFrame(PanTop);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameStyle(QFrame::HLine | QFrame::Plain);

    PanBtnOwner = new QWidget(PanTop);
    PanBtnOwner->setObjectName(QStringLiteral("PanBtnOwner"));
    TrackBar = new TTrackBar95(PanBtnOwner);
    TrackBar->setObjectName(QStringLiteral("TrackBar"));
    TrackBar->setOrientation(Qt::Horizontal);
    TrackBar->setGeometry(kTrackBarRect);
    TrackBar->setTickPosition(QSlider::NoTicks);
    TrackBar->setFixedLength(true);
    TrackBar->setThumbSize(kThumbLength);
    TrackBar->setSelEnabled(false);
    TrackBar->setMaximum(0);
    connect(TrackBar, &QSlider::valueChanged, this, &TFrmFullScreen::TrackBarChange);
    ToolBar3 = new QToolBar(PanBtnOwner);
    ToolBar3->setObjectName(QStringLiteral("ToolBar3"));
    ToolBar3->setIconSize(QSize(16, 16));
    ToolBar3->addActions(playCommands_->actions());
    // Wide enough for all seven buttons in any style, so that none hides
    // behind the tool bar's overflow arrow; the centred owner grows along.
    QRect toolBarRect = kToolBarRect;
    toolBarRect.setWidth(std::max(kToolBarRect.width(), ToolBar3->sizeHint().width()));
    ToolBar3->setGeometry(toolBarRect);
    PanBtnOwner->resize(std::max(kButtonOwnerSize.width(), toolBarRect.right() + 1), kButtonOwnerSize.height());

    Panel1 = new QWidget(PanTop);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    panClose = new QToolButton(Panel1);
    panClose->setObjectName(QStringLiteral("panClose"));
    panClose->setText(QStringLiteral("X"));
    panClose->setToolTip(QStringLiteral("close"));
    panClose->setAutoRaise(true);
    panClose->setGeometry(kCloseButtonRect);
    connect(panClose, &QToolButton::clicked, this, &TFrmFullScreen::nCloseClick);
}

QAction *TFrmFullScreen::AddMenuItem(QMenu *menu, const char *name, void (TFrmFullScreen::*handler)())
{
    auto *item = menu->addAction(QString::fromLatin1(name));
    item->setObjectName(QString::fromLatin1(name));
    connect(item, &QAction::triggered, this, handler);
    return item;
}

void TFrmFullScreen::BuildPopupMenu()
{
    // The shortcuts are only shown on the menu: the keys act through the
    // application-wide key filter while the window is open.
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    nView_Hide = AddMenuItem(PopupMenu, "nView_Hide", &TFrmFullScreen::nView_HideClick);
    nView_Hide->setShortcut(QKeySequence(Qt::Key_F2));
    PopupMenu->addSeparator();

    nQuality = PopupMenu->addMenu(QStringLiteral("Quality"));
    nQuality->setObjectName(QStringLiteral("nQuality"));
    qualityGroup_ = new QActionGroup(this);
    for (QAction **item : {&MenuHigh, &MenuM, &MenuLow}) {
        *item = nQuality->addAction(QString());
        (*item)->setCheckable(true);
        qualityGroup_->addAction(*item);
    }
    MenuHigh->setObjectName(QStringLiteral("MenuHigh"));
    MenuM->setObjectName(QStringLiteral("MenuM"));
    MenuLow->setObjectName(QStringLiteral("MenuLow"));
    MenuHigh->setChecked(true);
    checkedQuality_ = MenuHigh;
    connect(qualityGroup_, &QActionGroup::triggered, this, &TFrmFullScreen::QualityClick);
    PopupMenu->addSeparator();

    nPlay = AddMenuItem(PopupMenu, "nPlay", &TFrmFullScreen::nPlayClick);
    nPlay->setShortcut(QKeySequence(Qt::Key_Enter));
    NLoop = AddMenuItem(PopupMenu, "NLoop", &TFrmFullScreen::NLoopClick);
    for (QAction *item : {nPlay, NLoop}) {
        item->setCheckable(true);
        item->setChecked(true);
    }
    PopupMenu->addSeparator();

    AddMenuItem(PopupMenu, "nBack", &TFrmFullScreen::nBackClick);
    AddMenuItem(PopupMenu, "nforword", &TFrmFullScreen::nforwordClick);
    AddMenuItem(PopupMenu, "nReturn", &TFrmFullScreen::nReturnClick);
    PopupMenu->addSeparator();

    AddMenuItem(PopupMenu, "nSetAsDesktop", &TFrmFullScreen::nSetAsDesktopClick);
    AddMenuItem(PopupMenu, "nSetOneAsDesktop", &TFrmFullScreen::nSetOneAsDesktopClick);
    AddMenuItem(PopupMenu, "nGetAFrame", &TFrmFullScreen::nGetAFrameClick);
    PopupMenu->addSeparator();

    AddMenuItem(PopupMenu, "nClose", &TFrmFullScreen::nCloseClick)->setShortcut(QKeySequence(Qt::Key_Escape));
}

bool TFrmFullScreen::stripShown() const { return !PanTop->isHidden(); }

void TFrmFullScreen::ShowStrip(bool shown)
{
    PanTop->setVisible(shown);
    nView_Hide->setText(shown ? kHideStripCaption : kViewStripCaption);
}

void TFrmFullScreen::LayoutWindow()
{
    PanTop->setGeometry(0, 0, width(), kStripHeight);
    Shape1->setGeometry(0, kStripHeight - 1, width(), 1);
    PanBtnOwner->move(width() / 2 - PanBtnOwner->width() / 2, 0);
    Panel1->setGeometry(width() - kCloseAreaWidth, 0, kCloseAreaWidth, kStripHeight);
}

void TFrmFullScreen::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TFrmFullScreen::FormResize()
{
    LayoutWindow();
    if (!Player) {
        CreatePlayer(0, true);
        return;
    }
    const bool playing = Player->Playing();
    const int frame = Player->CurrentFrame();
    // The movie stays parsed between controls: only the first player of the
    // window reads the file.
    std::shared_ptr<const swf::MovieDefinition> loaded = Player->sharedMovie();
    delete Player;
    CreatePlayer(frame, playing, std::move(loaded));
}

void TFrmFullScreen::CreatePlayer(int frame, bool play, std::shared_ptr<const swf::MovieDefinition> loaded)
{
    auto *player = new TMyFlash(this);
    Player = player;
    const int top = stripShown() ? kStripHeight : 0;
    player->setGeometry(0, top, width(), std::max(0, height() - top));
    player->setScaleMode(TShockwaveFlash::ScaleShowAll);
    player->setPopupMenu(PopupMenu);
    player->setSoundOn(true);
    if (loaded)
        player->setMovieShared(MoviePath, std::move(loaded));
    else
        player->setMovie(MoviePath);
    player->GotoFrame(frame);
    if (play)
        player->Play();
    else
        player->Stop();
    player->show();
    player->setFocus();
    playCommands_->setPlayer(player);
}

void TFrmFullScreen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    closed_ = false;
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
}

bool TFrmFullScreen::eventFilter(QObject *watched, QEvent *event)
{
    // A key press reaches its window before it is passed on to the focus
    // widget, whichever child has the focus. Keys typed into another window
    // (the capture's save dialog, an open menu, a message box) are that
    // window's own.
    if (event->type() == QEvent::KeyPress && watched == windowHandle())
        AppKeyDown(static_cast<QKeyEvent *>(event)->key());
    return false;
}

void TFrmFullScreen::AppKeyDown(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!Player)
            return;
        if (Player->Playing())
            Player->Stop();
        else
            Player->Play();
        return;
    case Qt::Key_Escape:
        accept();
        return;
    case Qt::Key_F2:
        nView_HideClick();
        return;
    default:
        return;
    }
}

void TFrmFullScreen::done(int)
{
    if (closed_)
        return;
    closed_ = true;
    FormClose();
    QDialog::done(Accepted);
}

void TFrmFullScreen::FormClose()
{
    qApp->removeEventFilter(this);
    if (services_.writeIniInteger)
        services_.writeIniInteger(kWriteSection, kViewStyleKey, stripShown() ? 1 : 0);
}

void TFrmFullScreen::mouseDoubleClickEvent(QMouseEvent *) { accept(); }

void TFrmFullScreen::nView_HideClick()
{
    ShowStrip(!stripShown());
    FormResize();
}

void TFrmFullScreen::QualityClick(QAction *item)
{
    if (item == checkedQuality_)
        return;
    checkedQuality_ = item;
    if (Player)
        Player->setQuality(item == MenuHigh ? TShockwaveFlash::QualityHigh
                           : item == MenuM  ? TShockwaveFlash::QualityMiddling
                                            : TShockwaveFlash::QualityLow);
}

void TFrmFullScreen::NLoopClick()
{
    if (Player)
        Player->setLoop(NLoop->isChecked());
}

void TFrmFullScreen::nPlayClick()
{
    if (!Player)
        return;
    if (nPlay->isChecked())
        Player->Play();
    else
        Player->Stop();
}

void TFrmFullScreen::nBackClick()
{
    if (Player)
        Player->Back();
}

void TFrmFullScreen::nforwordClick()
{
    if (Player)
        Player->Forward();
}

void TFrmFullScreen::nReturnClick()
{
    if (Player)
        Player->Rewind();
}

void TFrmFullScreen::nCloseClick() { accept(); }

void TFrmFullScreen::nSetAsDesktopClick()
{
    if (services_.setFlashWallpaper)
        services_.setFlashWallpaper(MoviePath);
}

QString TFrmFullScreen::AskCaptureFileName()
{
    QFileDialog saveDlg(this);
    saveDlg.setObjectName(QStringLiteral("SaveDlg"));
    saveDlg.setAcceptMode(QFileDialog::AcceptSave);
    saveDlg.setOption(QFileDialog::DontConfirmOverwrite);
    saveDlg.setDefaultSuffix(QStringLiteral("bmp"));
    saveDlg.setNameFilter(QStringLiteral("Bitmap files (*.bmp)"));
    if (saveDlg.exec() != QDialog::Accepted || saveDlg.selectedFiles().isEmpty())
        return {};
    return saveDlg.selectedFiles().first();
}

void TFrmFullScreen::SaveCapturedFrame(const QString &path) const
{
    QImage frame(Player->size(), QImage::Format_RGB32);
    QPainter painter(&frame);
    Player->PaintTo(painter, 0, 0);
    painter.end();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !frame.save(&file, "BMP") || !file.commit())
        throw std::runtime_error(
            QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()).toStdString());
}

void TFrmFullScreen::nGetAFrameClick()
{
    if (!Player)
        return;
    Player->Stop();
    const QString path = AskCaptureFileName();
    if (!path.isEmpty() && Player) {
        WaitCursor wait;
        SaveCapturedFrame(path);
    }
    if (Player)
        Player->Play();
}

void TFrmFullScreen::nSetOneAsDesktopClick()
{
    if (!Player || !services_.windowsDirectory || !services_.setWallpaper)
        return;
    WaitCursor wait;
    Player->Stop();
    const QString path = services_.windowsDirectory() + QStringLiteral("pavoko.bmp");
    SaveCapturedFrame(path);
    services_.setWallpaper(path);
    Player->Play();
}

void TFrmFullScreen::Timer1Timer()
{
    if (!Player) {
        Timer1->stop();
        return;
    }
    trackBarAttached_ = false;
    TrackBar->setMaximum(Player->TotalFrames());
    TrackBar->setValue(Player->CurrentFrame());
    trackBarAttached_ = true;
    playCommands_->UpdateActions();
}

void TFrmFullScreen::TrackBarChange(int position)
{
    if (trackBarAttached_ && Player)
        TPlayCommands::Seek(*Player, position);
}

int ShowFullScreenPlayer(QWidget *owner, const QString &moviePath, const TFullScreenServices &services)
{
    TFrmFullScreen form(owner, services);
    form.MoviePath = moviePath;
    return form.exec();
}
