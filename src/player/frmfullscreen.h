#pragma once
// The full-screen player: one movie over the whole screen in a modal,
// borderless window. A thin strip at the top (track bar and the
// play buttons) can be shown or hidden with F2 and is remembered in the
// settings; everything else is on the popup menu of a right click on the
// movie: quality, loop, play, single-frame steps, capturing the current
// frame to a bitmap file or as the wallpaper, the movie as the wallpaper,
// and close. While the window is shown, Enter (play/pause), Esc (close)
// and F2 (strip) act wherever the keyboard focus is within it (never in a
// dialog opened over it); every way of closing ends with the result
// Accepted.
//
// The player library does not reach the program's settings store,
// interface texts or wallpaper commands; the opener hands them in as
// TFullScreenServices (a missing service is skipped). The window owns its
// player control, which is made anew on every size change, keeping frame
// and run state (quality and loop fall back to the control's defaults).
// Interface thread only.

#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "player/myflash.h"

class QAction;
class QActionGroup;
class QFrame;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;
class TPlayCommands;
class TTrackBar95;
namespace swf {
class MovieDefinition;
}

struct TFullScreenServices {
    // Sets the form's interface texts (the menu items' captions).
    std::function<void(QWidget *form)> applyFormTexts;
    // The settings store, by section and key.
    std::function<int(const QString &section, const QString &key, int defaultValue)> readIniInteger;
    std::function<void(const QString &section, const QString &key, int value)> writeIniInteger;
    // The data folder (with a trailing "/") where a captured wallpaper goes.
    std::function<QString()> windowsDirectory;
    std::function<void(const QString &picturePath)> setWallpaper;
    std::function<void(const QString &moviePath)> setFlashWallpaper;
};

class TFrmFullScreen : public QDialog {
    Q_OBJECT
public:
    explicit TFrmFullScreen(QWidget *owner = nullptr, TFullScreenServices services = {});
    ~TFrmFullScreen() override;

    // Full path of the movie; set by the opener before the window is shown.
    QString MoviePath;

    TMyFlash *player() const { return Player; }
    TPlayCommands *playCommands() const { return playCommands_; }
    QMenu *popupMenu() const { return PopupMenu; }
    bool stripShown() const;

    // Every way of closing the window ends here with the result Accepted.
    void done(int result) override;

    // The popup menu's commands. Errors (a frame that cannot be saved)
    // are thrown to the caller.
    void nView_HideClick();
    void NLoopClick();
    void nPlayClick();
    void nBackClick();
    void nforwordClick();
    void nReturnClick();
    void nSetAsDesktopClick();
    void nSetOneAsDesktopClick();
    void nGetAFrameClick();
    void nCloseClick();

protected:
    // Asks where to save a captured frame; empty when the user cancels.
    // Tests replace it to answer without a dialog.
    virtual QString AskCaptureFileName();

    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void CoverScreen(const QWidget *owner);
    void BuildStrip();
    void BuildPopupMenu();
    QAction *AddMenuItem(QMenu *menu, const char *name, void (TFrmFullScreen::*handler)());
    void ShowStrip(bool shown);
    void LayoutWindow();
    void FormResize();
    // `loaded` is the movie an earlier player of the window already read.
    void CreatePlayer(int frame, bool play, std::shared_ptr<const swf::MovieDefinition> loaded = nullptr);
    void FormClose();

    void AppKeyDown(int key);
    void QualityClick(QAction *item);
    void Timer1Timer();
    void TrackBarChange(int position);

    // The player's current frame at the player's size; saved as a Windows
    // bitmap file, replacing `path`. Throws std::runtime_error when the file
    // cannot be written.
    void SaveCapturedFrame(const QString &path) const;

    TFullScreenServices services_;
    QPointer<TMyFlash> Player;
    TPlayCommands *playCommands_ = nullptr;
    bool closed_ = false;
    bool trackBarAttached_ = false;

    QWidget *PanTop = nullptr;
    QFrame *Shape1 = nullptr;
    QWidget *PanBtnOwner = nullptr;
    TTrackBar95 *TrackBar = nullptr;
    QToolBar *ToolBar3 = nullptr;
    QWidget *Panel1 = nullptr;
    QToolButton *panClose = nullptr;
    QTimer *Timer1 = nullptr;

    QMenu *PopupMenu = nullptr;
    QAction *nView_Hide = nullptr;
    QMenu *nQuality = nullptr;
    QActionGroup *qualityGroup_ = nullptr;
    QAction *MenuHigh = nullptr;
    QAction *MenuM = nullptr;
    QAction *MenuLow = nullptr;
    QAction *checkedQuality_ = nullptr;
    QAction *nPlay = nullptr;
    QAction *NLoop = nullptr;
};

// Opens the full-screen player on `moviePath` over `owner` (may be null
// before the main window exists), modally, and frees it when it closes.
// Returns the window's result, always QDialog::Accepted.
int ShowFullScreenPlayer(QWidget *owner, const QString &moviePath, const TFullScreenServices &services);
