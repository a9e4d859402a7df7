#pragma once
// The program's one long-lived window: folder tree and preview on the left,
// the catalogue of the selected folder on the right, the menu bar and the
// command tool bar above, the status bar below. It owns every menu command
// and routes the ones whose work lives elsewhere (commandroutes.h).
// The window owns all its widgets, menus and actions. Interface thread only.

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "player/shockwaveflash.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QSplitter;
class QToolBar;
class QToolButton;
class QTimer;
class QWindow;
class TBoundedSplitter;
class TMainFlash;
class TPlayCommands;
class TShellTreeView;
class TTrackBar95;
class TZenteqThumb;

// Which context-menu items a selection enables.
struct TSelectionEnabling {
    bool anySelected;  // Copy To, Move To, Delete
    bool oneSelected;  // Swf To Exe, Make Screen Saver, Set As WallPaper, Property
};
TSelectionEnabling SelectionEnabling(int selectedCount);

class TFrmMain : public QMainWindow {
    Q_OBJECT
public:
    // `commandLineMovie` is the program's first argument as given (may be
    // empty); each activation of the window opens the tree on its folder.
    explicit TFrmMain(const QString &commandLineMovie = QString(), QWidget *parent = nullptr);
    ~TFrmMain() override;

    TZenteqThumb *flashView() const { return FlashView; }
    TShellTreeView *folderTree() const { return tree; }
    // The status bar's panels, 0 to 3 from the left.
    QLabel *statusPanel(int index) const;
    QProgressBar *statusProgress() const { return StatusProgress; }

    // The preview: its movie control (null while nothing is previewed),
    // its play commands, track bar, frame counter and refresh timer.
    TMainFlash *previewPlayer() const { return Player; }
    TPlayCommands *playCommands() const { return PlayCommands; }
    TTrackBar95 *trackBar() const { return TrackBar; }
    QLabel *frameCounter() const { return panText; }
    QTimer *previewTimer() const { return Timer1; }

    // What a click or a double click on catalogue item `row` (-1 for
    // empty space) does.
    void FlashViewClick(int row);
    void FlashViewDblClick(int row);
    // Plays the previewed movie full screen; nothing without a preview.
    void tbFullScreenClick();
    // One tick of the preview's timer: track bar, counter and commands
    // follow the movie.
    void Timer1Timer();

    // Whether the left part may be `newWidth` pixels wide.
    static bool Splitter1CanResize(int newWidth);
    // Whether a drag that started at `source` may be dropped on the tree.
    bool treeDragOver(const QObject *source) const;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Handler = void (TFrmMain::*)();

    // Construction, in the order the constructor runs it.
    void CreatePanes();
    void CreatePreviewArea();
    void CreateStatusBar();
    void CreateMainMenu();
    void CreateCataloguePopup();
    void CreateViewMenu();
    void CreateToolBars();
    void CreateCommandButtons();
    QAction *AddMenuItem(QMenu *menu, const char *name, const QString &designText, Handler handler,
                         const QKeySequence &key = QKeySequence());
    QToolButton *AddCommandButton(const char *name, const QString &hint, int image, Handler handler);
    void ConnectCatalogue();

    // Life cycle.
    void FormCreate();
    void LoadPlugins();
    void RebuildMenuBar();
    void RestorePlacement();
    void FormActivate();
    void ReturnFromOwnWindow();
    void FormClose();
    void NoteFocusWindow(QWindow *window);

    // Folder tree.
    void treeChange();
    void treeDragDrop();

    // View menu.
    void nToolbarClick();
    void nStatusBarClick();
    void nPreviewClick();
    void ClearViewChecks();
    void SelectViewStyle(QAction *popupItem, QAction *menuItem, int style);
    void nThumb1Click();
    void nSmallIcon1Click();
    void nList1Click();
    void nDetails1Click();

    // Catalogue.
    void PopupZenteqFlashPopup();
    void ShowCataloguePopup(const QPoint &globalPos);
    void nSelectAllClick();

    // Commands that open another subsystem's dialog.
    void nSaveAsClick();
    void nPropertyClick();
    void nCopyToClick();
    void nMoveToClick();
    void nDeleteClick();
    void nSearch1Click();
    void nExe2SwfClick();
    void nSwf2ExeClick();
    void nFlash2ScreenSaverClick();
    void nBatchConvertClick();
    void nSetAsDesktopClick();

    // Help, contact, about, options, exit.
    void nHelpClick();
    void nHomepageClick();
    void nEmailUsClick();
    void nAboutClick();
    void nOptionsClick();
    void nExitClick();
    void acSearchExecute();
    void acHelpExecute();

    // Preview player.
    // Makes the preview control on `path` at `frame`, playing or paused.
    // With `running` the control goes on with a movie another control was
    // running (its player may be null for one that could not be read)
    // instead of reading the file again.
    void CreatePreview(const QString &path, int frame, bool play, TShockwaveFlash::TRunningMovie *running = nullptr);
    void ClearPreview();
    void ShowPreviewFacts(const QString &path);
    void PanFlashResize();
    void TrackBarChange(int position);
    void AttachTrackBar();
    void DetachTrackBar();
    quint64 CatalogueItemId(int row) const;

    const QString m_commandLineMovie;

    QWidget *CoolBar1 = nullptr;
    QMenuBar *toolbarMenu = nullptr;
    QToolBar *ToolBar2 = nullptr;
    TBoundedSplitter *Splitter1 = nullptr;
    QWidget *Panel1 = nullptr;
    QSplitter *Splitter2 = nullptr;
    TShellTreeView *tree = nullptr;
    QWidget *Panel2 = nullptr;
    QWidget *PanFlash = nullptr;
    TTrackBar95 *TrackBar = nullptr;
    QToolBar *ToolBar3 = nullptr;
    QLabel *panText = nullptr;
    QWidget *Panel3 = nullptr;
    TZenteqThumb *FlashView = nullptr;
    QLabel *StatusPanels[4] = {};
    QProgressBar *StatusProgress = nullptr;

    QMenu *MenuFile = nullptr;
    QMenu *MenuEdit = nullptr;
    QMenu *MenuView1 = nullptr;
    QMenu *MenuTools = nullptr;
    QMenu *MenuHelp = nullptr;
    QMenu *MenuView = nullptr;
    QMenu *PopupZenteqFlash = nullptr;

    QAction *nToolbar = nullptr;
    QAction *nStatusBar = nullptr;
    QAction *nPreview = nullptr;
    QAction *nThumb1 = nullptr;
    QAction *nSmallIcon1 = nullptr;
    QAction *nList1 = nullptr;
    QAction *nDetails1 = nullptr;
    QAction *nThumb = nullptr;
    QAction *nSmallicon = nullptr;
    QAction *nList = nullptr;
    QAction *nDetail = nullptr;
    QAction *nCopyTo = nullptr;
    QAction *nMoveTo = nullptr;
    QAction *nDelete = nullptr;
    QAction *nSwfToExe = nullptr;
    QAction *nMakeScreenSaver = nullptr;
    QAction *nSetAsDesktop = nullptr;
    QAction *nSelectAll = nullptr;
    QAction *nPopProperty = nullptr;

    // The preview's movie control and the catalogue item it was loaded
    // from (the item's id, 0 for none); a folder change drops both.
    TMainFlash *Player = nullptr;
    quint64 CurrentItem = 0;
    TPlayCommands *PlayCommands = nullptr;
    QTimer *Timer1 = nullptr;
    QMetaObject::Connection m_trackBarChange;

    // Activation bookkeeping: the tree is moved to the start folder on the
    // first activation, and checked on every return from one of the
    // program's own windows.
    bool m_activatedBefore = false;
    bool m_returningFromOwnWindow = false;
    bool m_closing = false;
    bool m_exiting = false;
};
